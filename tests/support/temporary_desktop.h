#pragma once
// A desktop database of the test's own: while it lives, HOME, the XDG
// configuration and data folders and the current desktop point into a
// temporary folder (no system folder is read), and the desktop variables
// that would make Qt pick a desktop's own opener are unset.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <optional>

class TemporaryDesktop
{
public:
    TemporaryDesktop()
    {
        const QString root = dir_.path();
        home = root + QStringLiteral("/home");
        configHome = home + QStringLiteral("/.config");
        dataHome = home + QStringLiteral("/.local/share");
        configDir = root + QStringLiteral("/etc/xdg");
        dataDir = root + QStringLiteral("/usr/share");
        for (const QString &folder : {configHome, dataHome + QStringLiteral("/applications"), configDir,
                                      dataDir + QStringLiteral("/applications")})
            QDir().mkpath(folder);
        set("HOME", home);
        set("XDG_CONFIG_HOME", configHome);
        set("XDG_DATA_HOME", dataHome);
        set("XDG_CONFIG_DIRS", configDir);
        set("XDG_DATA_DIRS", dataDir);
        for (const char *name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
                                 "GNOME_DESKTOP_SESSION_ID", "BROWSER", "DEFAULT_BROWSER"})
            set(name, std::nullopt);
    }

    ~TemporaryDesktop()
    {
        for (const auto &[name, value] : saved_) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }

    // Sets (or, with nullopt, unsets) a variable until the object dies.
    void set(const char *name, const std::optional<QString> &value)
    {
        if (!saved_.count(name))
            saved_[name] = qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
        if (value)
            qputenv(name, value->toUtf8());
        else
            qunsetenv(name);
    }

    // Installs a web browser and a mail program and makes the chosen ones the
    // defaults for web pages and mailto: links.
    void chooseLinkPrograms(bool web, bool mail)
    {
        const QString apps = dataDir + QStringLiteral("/applications");
        install(apps, QStringLiteral("browser.desktop"));
        install(apps, QStringLiteral("mailer.desktop"));
        QByteArray defaults = "[Default Applications]\n";
        if (web)
            defaults += "text/html=browser.desktop\n";
        if (mail)
            defaults += "x-scheme-handler/mailto=mailer.desktop\n";
        write(configHome + QStringLiteral("/mimeapps.list"), defaults);
    }

    // Writes a desktop entry file at applicationsFolder/relativePath.
    static void install(const QString &applicationsFolder, const QString &relativePath)
    {
        write(applicationsFolder + u'/' + relativePath,
              "[Desktop Entry]\nType=Application\nName=Stand-in\nExec=true %u\n");
    }

    static void write(const QString &path, const QByteArray &content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }

    QString home, configHome, dataHome, configDir, dataDir;

private:
    QTemporaryDir dir_;
    std::map<QByteArray, std::optional<QByteArray>> saved_;
};
