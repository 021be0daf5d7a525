#pragma once
#include <QBrush>
#include <QColor>
#include <QFont>

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TVertAlignment { taTopJustify, taBottomJustify, taMiddle };
enum TCellBevelStyle { cbNone, cbRaised, cbLowered };

// How a cell is being drawn.
struct TGridDrawState
{
    bool Selected = false;
    bool Focused = false;
    bool Fixed = false;
};

// The look of one cell, prepared by the grid and open to OnGetCellFormat. Qt
// fonts carry no colour, so the text colour is a field of its own.
struct TFormatOptions
{
    QBrush CellBrush;
    QFont CellFont;
    QColor CellFontColor;
    TAlignment CellAlignHorz = taLeftJustify;
    TVertAlignment CellAlignVert = taTopJustify;
    TCellBevelStyle BevelKind = cbNone;
    QColor BevelTopLeftColor;
    QColor BevelBottomRightColor;
    bool HideText = false;
};

// Offsets of a cell's text from the cell's left and top edges.
int HorzTextOffset(TAlignment alignment, int cellWidth, int textWidth);
int VertTextOffset(TVertAlignment alignment, int cellHeight, int textHeight);

// The page size that makes a scroll bar's thumb as long as the visible part:
// the larger of 1 and (visible + fixed) / count x (rangeMax - rangeMin + 1),
// rounded to the nearest integer, halves to even.
int ProportionalPageSize(int visible, int fixed, int count, int rangeMin, int rangeMax);
