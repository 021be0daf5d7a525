#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

// Writes the text catalogue of the ROM table, row by row as they come:
// "Genesis ROMs", an empty line, the table line of the first row added (the
// header), an empty line, then one table line per further row; every line
// ends in CR LF. A table line is 114 bytes: column 0 cut or padded to 12
// characters, " | ", column 1 to 48, " | ", column 2 to 48. The whole file is
// Windows-1252, one byte per character, so that a title's own bytes come back
// unchanged; a character the code page lacks (a pair of UTF-16 surrogates is
// one character) and a control character, below 0x20 or 0x7F, which could
// break a line, are written as "?".
class CatalogueWriter
{
public:
    // Creates or replaces the file. Raises RomdeckError "Cannot create file
    // <path>" when it cannot be created, at once for a folder, FIFO or device
    // of that name, and IoError "Invalid filename" about the path for a name
    // its file system cannot hold (IsRefusedName); nothing is written then.
    explicit CatalogueWriter(const QString &path);
    CatalogueWriter(const CatalogueWriter &) = delete;
    CatalogueWriter &operator=(const CatalogueWriter &) = delete;

    void AddRow(QStringView fileName, QStringView englishName, QStringView japName);
    // Writes what is left and closes the file. This and AddRow raise
    // RomdeckError "Stream write error" when writing fails; what was written
    // stays in the file.
    void Close();

private:
    void Put(QByteArrayView bytes);
    void MakeRoom(qsizetype bytes);
    void Flush();

    QFile file_;
    QByteArray buffer_;
    qsizetype used_ = 0;
    bool headerNext_ = true;
};

// Where the catalogue goes: the program's folder, "/", the name as typed.
QString CataloguePath(const QString &programFolder, const QString &fileName);
