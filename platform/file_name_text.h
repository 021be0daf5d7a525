#pragma once
#include <QByteArray>
#include <QString>

// File names are bytes on this system, and not every name is valid UTF-8.
// These two carry any name through text without loss, for the places that
// hand a name on as text (a command line, a settings section): valid UTF-8
// reads as usual, and each byte outside it becomes the lone surrogate
// U+DC80 + (byte - 0x80), which no decoded text holds. Only names that are
// text may be shown as they are; show others through QFile::decodeName.

QString FileNameText(const QByteArray &bytes);

// The bytes back: lone surrogates U+DC80..U+DCFF become their bytes, the rest
// is written as UTF-8.
QByteArray FileNameBytes(const QString &text);
