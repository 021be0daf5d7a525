#pragma once
#include "platform/profile/profile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>

// A temporary folder holding one profile file, written and read as raw bytes.
class ProfileFile : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }

    std::string path(const char *name = "romdeck.ini") const
    {
        return QDir(folder.path()).filePath(name).toStdString();
    }

    void put(const std::string &bytes, const char *name = "romdeck.ini") const
    {
        QFile file(QString::fromStdString(path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes.data(), qint64(bytes.size())), qint64(bytes.size()));
    }

    std::string bytes(const char *name = "romdeck.ini") const
    {
        QFile file(QString::fromStdString(path(name)));
        if (!file.open(QIODevice::ReadOnly))
            return "<missing>";
        return file.readAll().toStdString();
    }

    // What the program reads for a key, "#" standing for "missing".
    std::string get(const char *section, const char *key, DWORD size = 1024) const
    {
        std::string buffer(size + 1, '\x7f');
        const DWORD n = GetPrivateProfileStringA(section, key, "#", buffer.data(), size, path().c_str());
        EXPECT_EQ(std::string(buffer.c_str()).size(), n) << "count must match the copied text";
        return buffer.substr(0, n);
    }

    BOOL set(const char *section, const char *key, const char *value) const
    {
        return WritePrivateProfileStringA(section, key, value, path().c_str());
    }

    QStringList entries() const
    {
        return QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    QTemporaryDir folder;
};
