#include "dialogs/about_window.h"

#include "platform/handler_guard.h"
#include "settings/build_facts.h"
#include "widgets/artwork.h"
#include "widgets/image_button.h"
#include "widgets/logo_bitmap.h"
#include "widgets/program_font.h"
#include "widgets/url_label.h"
#include "widgets/window_decoration.h"
#include "widgets/yellow_label.h"

namespace {

// Windows' classic active-border grey; the logo never shows it, as its
// black is left out rather than replaced.
const QColor kActiveBorder(212, 208, 200);

TURLLabel *AboutLink(const QString &address, TLinkType kind, const QRect &place, const LabelFont &passive,
                     QWidget *parent)
{
    auto *link = new TURLLabel(parent);
    link->setGeometry(place);
    QFont linkFace = ProgramFont(13, true);
    linkFace.setUnderline(true);
    link->setLinkFont({linkFace, Qt::yellow});
    link->setPassiveFont(passive);
    // The caption first, so that it stays as given when the address follows.
    link->setCaption(address);
    link->setURL(address);
    link->setURLAsHint(true);
    link->setShowPrefix(false);
    link->setLinkType(kind);
    link->setLabelType(TLabelType::Link);
    return link;
}

} // namespace

TForm2::TForm2(QWidget *parent) : BorderlessDialog(QStringLiteral("About Romdeck"), 421, 193, parent)
{
    setFont(ProgramFont(11));
    Background1 = AddTiledBackground(this, DialogTile(devicePixelRatioF()));
    LogoBitmap1 = AddTransparentLogo(this, QRect(12, 4, 293, 109), AboutLogo(devicePixelRatioF()), kActiveBorder);
    labversion = MakeYellowLabel(QStringLiteral("Version " ROMDECK_VERSION), QRect(312, 84, 91, 20), 16, this);
    labauthor = MakeYellowLabel(QStringLiteral("By the Romdeck developers"), QRect(16, 116, 98, 16), 13, this);
    URLLabel2 = AboutLink(QStringLiteral("romdeck@example.org"), TLinkType::mailto, QRect(16, 132, 194, 16),
                          {ProgramFont(16), Qt::yellow}, this);
    lablatest = MakeYellowLabel(QStringLiteral("Latest version at"), QRect(16, 152, 99, 16), 13, this);
    URLLabel1 = AboutLink(QStringLiteral("romdeck.example.org"), TLinkType::http, QRect(16, 168, 178, 16),
                          {ProgramFont(13, true), Qt::yellow}, this);
    butclose = new ImageButton(QString(), QStringLiteral("Leave this place"), this, ImageButton::Glyph::Close);
    butclose->setGeometry(376, 156, 37, 33);
    butclose->setFace(ButtonGlyphImage(ButtonGlyph::Close, devicePixelRatioF()));

    ConnectHandler(butclose, &ImageButton::clicked, this, &TForm2::butcloseClick);
}

void TForm2::butcloseClick()
{
    reject();
}
