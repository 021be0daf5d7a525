#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// ROM header titles are single-byte Windows-1252 text. The five byte values that
// Windows-1252 leaves undefined map to the C1 controls of the same number, so
// every byte survives a decode and encode unchanged.
QString DecodeWindows1252(QByteArrayView bytes);

// The reverse of DecodeWindows1252; characters outside the code page become '?'.
QByteArray EncodeWindows1252(QStringView text);
