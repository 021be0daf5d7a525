#include "dialogs/about_window.h"

#include "support/decoration_probes.h"
#include "support/modal_answerer.h"
#include "widgets/artwork.h"
#include "widgets/image_button.h"
#include "widgets/url_label.h"

#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(AboutWindow, ShowsItsTextsAndLinksWholeOverTheTileAndCloses)
{
    TForm2 about;
    EXPECT_EQ(about.size(), QSize(421, 193));
    EXPECT_EQ(about.labversion->text(), QStringLiteral("Version 0.31"));
    EXPECT_EQ(about.labauthor->text(), QStringLiteral("By the Romdeck developers"));
    EXPECT_EQ(about.lablatest->text(), QStringLiteral("Latest version at"));
    for (QLabel *label : about.findChildren<QLabel *>()) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), about.width()) << label->text().toStdString();
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::yellow)) << label->text().toStdString();
    }

    const struct
    {
        TURLLabel *label;
        const char *address;
        TLinkType kind;
    } links[] = {{about.URLLabel1, "romdeck.example.org", TLinkType::http},
                 {about.URLLabel2, "romdeck@example.org", TLinkType::mailto}};
    for (const auto &link : links) {
        const QString address = QString::fromLatin1(link.address);
        EXPECT_EQ(link.label->Caption(), address);
        EXPECT_EQ(link.label->URL(), address);
        EXPECT_EQ(link.label->toolTip(), address);
        EXPECT_EQ(link.label->LinkType(), link.kind);
        EXPECT_TRUE(link.label->HasLinkLook()) << "a link whatever the desktop offers";
        EXPECT_TRUE(link.label->font().bold());
        EXPECT_TRUE(link.label->font().underline());
        EXPECT_EQ(link.label->font().pixelSize(), 13);
        EXPECT_EQ(link.label->cursor().shape(), Qt::BitmapCursor);
    }
    EXPECT_EQ(about.butclose->toolTip(), QStringLiteral("Leave this place"));

    // The logo's black lets the tile show through; its other pixels are its own.
    const QImage shot = about.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(LogoOverTileMismatches(shot, AboutLogo(), QPoint(12, 4), DialogTile()), 0);
    EXPECT_EQ(shot.pixel(420, 0), DialogTile().pixel(420 % 63, 0));

    ModalAnswerer answerer;
    answerer.thenAnswer([&](QWidget *) { QTest::mouseClick(about.butclose, Qt::LeftButton); });
    about.exec();
    EXPECT_EQ(answerer.seen(), QStringList{QStringLiteral("TForm2")});
    EXPECT_FALSE(about.isVisible());
}

} // namespace
