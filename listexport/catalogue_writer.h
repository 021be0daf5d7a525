#pragma once
#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

// One row of the ROM table as the catalogue takes it: file name, English
// name, Japanese name.
using CatalogueRow = std::array<QString, 3>;

// The catalogue's text: "Genesis ROMs", an empty line, the table line of
// rows[0] (the header), an empty line, then one table line per further row;
// every line ends in CR LF. A table line is 114 characters: column 0 cut or
// padded to 12, " | ", column 1 to 48, " | ", column 2 to 48. Columns 1 and 2
// hold header titles and are written one byte per character as Windows-1252,
// so that a title's own bytes come back unchanged; column 0 holds file names,
// which are UTF-8 on this platform, and is written as UTF-8.
QByteArray CatalogueText(const std::vector<CatalogueRow> &rows);

// Creates or replaces the file at path and writes the text. Raises
// RomdeckError "Cannot create file <path>" when the file cannot be created
// (nothing is written then) and "Stream write error" when writing fails.
void WriteCatalogue(const QString &path, const QByteArray &text);

// Where the catalogue goes: the program's folder, "/", the name as typed.
QString CataloguePath(const QString &programFolder, const QString &fileName);
