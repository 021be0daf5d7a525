#include "platform/desktop_handlers.h"

#include "support/temporary_desktop.h"

namespace {

const QString kHtml = QStringLiteral("text/html");

QByteArray Defaults(const QByteArray &lines)
{
    return "[Added Associations]\ntext/html=added.desktop\n\n[Default Applications]\n" + lines;
}

} // namespace

TEST(DesktopHandlers, DefaultsComeFromTheListsInTheirOrderAndOnlyInstalledEntriesCount)
{
    TemporaryDesktop desktop;
    const QString userApps = desktop.dataHome + QStringLiteral("/applications");
    const QString systemApps = desktop.dataDir + QStringLiteral("/applications");
    EXPECT_EQ(DefaultDesktopEntry(kHtml), QString());
    EXPECT_FALSE(DesktopOpensWebPages());
    EXPECT_FALSE(DesktopOpensMailLinks());

    // Listed but nowhere installed; an Added Association is no default.
    TemporaryDesktop::install(userApps, QStringLiteral("added.desktop"));
    TemporaryDesktop::write(desktop.configHome + QStringLiteral("/mimeapps.list"),
                            Defaults("text/html = missing.desktop;\n"));
    EXPECT_EQ(DefaultDesktopEntry(kHtml), QString());

    // A later list names an installed one; the first installed of a list wins.
    TemporaryDesktop::install(systemApps, QStringLiteral("web.desktop"));
    TemporaryDesktop::install(systemApps, QStringLiteral("other.desktop"));
    TemporaryDesktop::write(systemApps + QStringLiteral("/mimeapps.list"),
                            Defaults("text/html=missing.desktop;web.desktop;other.desktop;\n"));
    EXPECT_EQ(DefaultDesktopEntry(kHtml), QStringLiteral("web.desktop"));
    EXPECT_TRUE(DesktopOpensWebPages());

    // The user's configuration comes before the data folders; an entry ID may
    // name a file in a subfolder ("vendor-browser" is vendor/browser).
    TemporaryDesktop::install(userApps, QStringLiteral("vendor/browser.desktop"));
    TemporaryDesktop::write(desktop.configHome + QStringLiteral("/mimeapps.list"),
                            Defaults("text/html=vendor-browser.desktop\n"));
    EXPECT_EQ(DefaultDesktopEntry(kHtml), QStringLiteral("vendor-browser.desktop"));

    // The current desktop's own list comes before the generic one of a folder.
    TemporaryDesktop::write(desktop.configHome + QStringLiteral("/retro-mimeapps.list"),
                            Defaults("text/html=other.desktop\n"));
    desktop.set("XDG_CURRENT_DESKTOP", QStringLiteral("Plain:Retro"));
    EXPECT_EQ(DefaultDesktopEntry(kHtml), QStringLiteral("other.desktop"));

    // IDs that are paths lead nowhere.
    TemporaryDesktop::write(desktop.configHome + QStringLiteral("/retro-mimeapps.list"),
                            Defaults("x-scheme-handler/mailto=../applications/web.desktop\n"));
    EXPECT_FALSE(DesktopOpensMailLinks());
}

TEST(DesktopHandlers, WithoutAChosenDefaultTheDeclaringProgramsCount)
{
    TemporaryDesktop desktop;
    const QString systemApps = desktop.dataDir + QStringLiteral("/applications");
    TemporaryDesktop::install(systemApps, QStringLiteral("mailer.desktop"));
    TemporaryDesktop::write(
        systemApps + QStringLiteral("/mimeinfo.cache"),
        "[MIME Cache]\ntext/plain=mailer.desktop;\nx-scheme-handler/mailto=gone.desktop;mailer.desktop;\n");
    EXPECT_EQ(DefaultDesktopEntry(QStringLiteral("x-scheme-handler/mailto")), QStringLiteral("mailer.desktop"));
    EXPECT_TRUE(DesktopOpensMailLinks());
    EXPECT_FALSE(DesktopOpensWebPages());

    // A relative folder in a variable is ignored: HOME/.config is used instead.
    desktop.set("XDG_CONFIG_HOME", QStringLiteral("relative/config"));
    TemporaryDesktop::write(desktop.home + QStringLiteral("/.config/mimeapps.list"),
                            Defaults("text/html=mailer.desktop\n"));
    EXPECT_TRUE(DesktopOpensWebPages());
}
