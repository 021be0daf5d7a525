#include "widgets/url_label.h"

#include "support/temporary_desktop.h"

namespace {

bool ShowsFont(const TURLLabel &label, const LabelFont &font)
{
    return label.font() == font.face && label.palette().color(QPalette::WindowText) == font.color;
}

} // namespace

TEST(URLLabel, CreationAndTheAddressSetters)
{
    TemporaryDesktop desktop;
    desktop.chooseLinkPrograms(true, false);
    QWidget window;
    window.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    auto *label = new TURLLabel(&window);

    EXPECT_EQ(label->LabelType(), TLabelType::Auto);
    EXPECT_EQ(label->LinkType(), TLinkType::http);
    EXPECT_FALSE(label->ShowPrefix());
    EXPECT_TRUE(label->URLAsHint());
    EXPECT_FALSE(label->CaptionSet());
    EXPECT_EQ(label->URL(), TURLLabel::WebPlaceholder);
    EXPECT_EQ(label->Caption(), TURLLabel::WebPlaceholder);
    EXPECT_EQ(label->toolTip(), TURLLabel::WebPlaceholder);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_EQ(label->LinkFont().color, QColor(0, 0, 255));
    EXPECT_TRUE(label->LinkFont().face.underline());
    EXPECT_EQ(label->LinkFont().face.family(), window.font().family());
    EXPECT_EQ(label->PassiveFont().face, window.font());
    EXPECT_TRUE(label->LinkAvailable());
    EXPECT_TRUE(ShowsFont(*label, label->LinkFont()));
    EXPECT_EQ(label->cursor().shape(), Qt::BitmapCursor);

    // The prefix is taken off, in any case; the kind follows "@" and "/".
    label->setURL(QStringLiteral("HTTP://www.host.org"));
    EXPECT_EQ(label->URL(), QStringLiteral("www.host.org"));
    EXPECT_EQ(label->Caption(), QStringLiteral("www.host.org"));
    label->setShowPrefix(true);
    EXPECT_EQ(label->Caption(), QStringLiteral("http://www.host.org"));
    EXPECT_EQ(label->toolTip(), QStringLiteral("http://www.host.org"));
    label->setURL(QStringLiteral("mailto:me@host.org"));
    EXPECT_EQ(label->LinkType(), TLinkType::mailto);
    EXPECT_EQ(label->DisplayText(), QStringLiteral("mailto:me@host.org"));
    EXPECT_TRUE(label->LinkAvailable()); // a kind from the address runs no check
    label->setURL(QStringLiteral("me@host.org/~me"));
    EXPECT_EQ(label->LinkType(), TLinkType::http);
    label->setURLAsHint(false);
    EXPECT_EQ(label->toolTip(), QString());

    // Setting the stored address again changes nothing, not even the kind.
    label->setURL(QStringLiteral("a@b"));
    label->setLinkType(TLinkType::http);
    label->setURL(QStringLiteral("a@b"));
    EXPECT_EQ(label->LinkType(), TLinkType::http);

    // Once set, the caption stays; "&" shows as itself.
    label->setCaption(QStringLiteral("Mail & more"));
    label->setURL(QStringLiteral("x@y"));
    EXPECT_TRUE(label->CaptionSet());
    EXPECT_EQ(label->Caption(), QStringLiteral("Mail & more"));
    EXPECT_EQ(label->DisplayText(), QStringLiteral("mailto:x@y"));
}

TEST(URLLabel, LinkKindPlaceholdersAvailabilityAndLook)
{
    TemporaryDesktop desktop;
    desktop.chooseLinkPrograms(false, true);
    TURLLabel label;
    EXPECT_FALSE(label.LinkAvailable());
    EXPECT_TRUE(ShowsFont(label, label.PassiveFont()));
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);

    // The kind's setter checks the desktop and swaps one placeholder for the other.
    label.setLinkType(TLinkType::mailto);
    EXPECT_TRUE(label.LinkAvailable());
    EXPECT_EQ(label.URL(), TURLLabel::MailPlaceholder);
    EXPECT_EQ(label.Caption(), TURLLabel::MailPlaceholder);
    EXPECT_TRUE(ShowsFont(label, label.PassiveFont())); // the look changes with LabelType only
    label.setLinkType(TLinkType::http);
    EXPECT_EQ(label.URL(), TURLLabel::WebPlaceholder);
    label.setURL(QStringLiteral("own.host"));
    label.setLinkType(TLinkType::mailto);
    EXPECT_EQ(label.URL(), QStringLiteral("own.host"));

    // New fonts show at the next look update.
    LabelFont linkFont{QFont(QStringLiteral("DejaVu Sans"), 13, QFont::Bold), QColor(255, 255, 0)};
    label.setLinkFont(linkFont);
    EXPECT_FALSE(ShowsFont(label, linkFont));
    label.setLabelType(TLabelType::Link);
    EXPECT_TRUE(ShowsFont(label, linkFont));
    EXPECT_EQ(label.cursor().shape(), Qt::BitmapCursor);
    label.setLabelType(TLabelType::Passive);
    EXPECT_TRUE(ShowsFont(label, label.PassiveFont()));
    label.setLabelType(TLabelType::Auto);
    EXPECT_TRUE(ShowsFont(label, linkFont));
}
