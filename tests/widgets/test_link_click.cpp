// A click on a link label reaches the desktop's opener: Qt hands links to
// xdg-open only on a real display, so this program runs under a virtual one,
// with a stand-in xdg-open that records what it is given.
#include "widgets/url_label.h"

#include "support/standin_emulator.h"
#include "support/temporary_desktop.h"

#include <QTest>
#include <QUrl>

TEST(URLLabel, AClickHandsTheTargetToTheDesktopAsOneArgument)
{
    // Qt without a desktop environment opens links with xdg-open from PATH.
    TemporaryDesktop desktop;
    desktop.chooseLinkPrograms(true, false);
    QTemporaryDir bin;
    WriteStandIn(bin.filePath(QStringLiteral("xdg-open")));
    desktop.set("PATH", bin.path() + QStringLiteral(":/usr/bin:/bin"));
    const QString record = bin.filePath(QStringLiteral("record"));
    SetStandInOutput(record);

    QWidget window;
    window.resize(300, 100);
    auto *label = new TURLLabel(&window);
    label->setGeometry(0, 0, 300, 20);
    int clicks = 0;
    QObject::connect(label, &TURLLabel::clicked, [&] { ++clicks; });
    window.show();
    const auto click = [&] { QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(5, 5)); };

    // A passive label only runs its click event; then a link opens.
    label->setLabelType(TLabelType::Passive);
    click();
    EXPECT_EQ(clicks, 1);
    label->setLabelType(TLabelType::Link);
    label->setShowPrefix(true);
    label->setURL(QStringLiteral("www.host.org/a b'\"$(touch x);`id`|&"));
    click();
    QStringList lines = WaitForStandInRecord(record);
    ASSERT_EQ(lines.size(), 3); // working folder, $0, one argument
    const QUrl web = QUrl::fromEncoded(lines[2].toUtf8());
    EXPECT_EQ(web.scheme() + u'|' + web.host() + u'|' + web.path(QUrl::FullyDecoded),
              QStringLiteral("http|www.host.org|/a b'\"$(touch x);`id`|&"));

    // An Auto label decides at the click: mail is not available here, so
    // nothing opens although the look is still the link's; then the mail
    // address reaches the desktop whole once the label is a Link.
    label->setLabelType(TLabelType::Auto);
    label->setLinkType(TLinkType::mailto);
    label->setURL(QStringLiteral("o'brien \"q\" x;rm -rf ~@example.com"));
    click();
    label->setLabelType(TLabelType::Link);
    click();
    lines = WaitForStandInRecord(record);
    ASSERT_EQ(lines.size(), 3);
    const QUrl mail = QUrl::fromEncoded(lines[2].toUtf8());
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mail.path(QUrl::FullyDecoded), QStringLiteral("o'brien \"q\" x;rm -rf ~@example.com"));
    EXPECT_EQ(clicks, 4);
}
