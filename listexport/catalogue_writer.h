#pragma once
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

// Writes the text catalogue of the ROM table, row by row as they come:
// "Genesis ROMs", an empty line, the table line of the first row added (the
// header), an empty line, then one table line per further row; every line
// ends in CR LF. A table line is 114 characters: column 0 cut or padded to
// 12, " | ", column 1 to 48, " | ", column 2 to 48. Columns 1 and 2 hold
// header titles and are written one byte per character as Windows-1252, so
// that a title's own bytes come back unchanged; column 0 holds file names,
// which are UTF-8 on this platform, and is written as UTF-8.
class CatalogueWriter
{
public:
    // Creates or replaces the file. Raises RomdeckError "Cannot create file
    // <path>" when it cannot be created; nothing is written then.
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
