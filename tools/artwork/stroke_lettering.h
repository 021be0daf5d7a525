#pragma once
#include <QPainterPath>
#include <QString>

// Our own block lettering: each character is a few straight strokes on a grid
// 3 units wide (M: 4) and 6 high, with chamfered corners. The strokes are
// widened by a square pen, so a character covers its grid plus half a pen on
// every side. Knows the characters the program's artwork spells, and the blank.
struct LetteringStyle
{
    double unitX = 2; // pixels per grid unit across
    double unitY = 2; // pixels per grid unit down
    double pen = 2;   // stroke width in pixels
    double gap = 2;   // pixels between the inked extents of two characters
    double slant = 0; // x shift per pixel of height above the baseline (italic)
};

// The filled outline of text with its inked top-left corner at origin.
// Characters without a shape are skipped.
QPainterPath LetteringPath(const QString &text, const LetteringStyle &style, QPointF origin = {});

// Width and height in pixels of the inked extent of text, slant not counted.
QSizeF LetteringSize(const QString &text, const LetteringStyle &style);
