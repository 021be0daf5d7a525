#include "widgets/url_label.h"

#include "platform/desktop_handlers.h"
#include "platform/handler_guard.h"
#include "widgets/artwork.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>

namespace {

QString Prefix(TLinkType type)
{
    return type == TLinkType::mailto ? QStringLiteral("mailto:") : QStringLiteral("http://");
}

QString Placeholder(TLinkType type)
{
    return type == TLinkType::mailto ? TURLLabel::MailPlaceholder : TURLLabel::WebPlaceholder;
}

} // namespace

TURLLabel::TURLLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    checkAvailability();
    linkFont_ = {font(), QColor(0, 0, 255)};
    linkFont_.face.setUnderline(true);
    passiveFont_ = {font(), palette().color(QPalette::WindowText)};
    setURL(WebPlaceholder);
    updateAppearance();
    setURLAsHint(true);
}

void TURLLabel::setCaption(const QString &caption)
{
    captionSet_ = true;
    setText(caption);
}

void TURLLabel::setURL(const QString &url)
{
    if (url == url_)
        return;
    if (url.contains(u'@'))
        linkType_ = TLinkType::mailto;
    if (url.contains(u'/'))
        linkType_ = TLinkType::http;
    const QString start = url.left(7).toLower();
    url_ = start == QStringLiteral("mailto:") || start == QStringLiteral("http://") ? url.mid(7) : url;
    updateDisplayText();
}

void TURLLabel::setURLAsHint(bool urlAsHint)
{
    if (urlAsHint == urlAsHint_)
        return;
    urlAsHint_ = urlAsHint;
    updateHint();
}

void TURLLabel::setShowPrefix(bool showPrefix)
{
    showPrefix_ = showPrefix;
    updateDisplayText();
}

void TURLLabel::setLabelType(TLabelType type)
{
    if (type == labelType_)
        return;
    labelType_ = type;
    updateAppearance();
}

void TURLLabel::setLinkType(TLinkType type)
{
    if (type == linkType_)
        return;
    linkType_ = type;
    checkAvailability();
    const TLinkType other = type == TLinkType::http ? TLinkType::mailto : TLinkType::http;
    if (url_ == Placeholder(other))
        url_ = Placeholder(type);
    updateDisplayText();
}

bool TURLLabel::HasLinkLook() const
{
    return labelType_ == TLabelType::Link || (labelType_ == TLabelType::Auto && linkAvailable_);
}

void TURLLabel::checkAvailability()
{
    linkAvailable_ = linkType_ == TLinkType::mailto ? DesktopOpensMailLinks() : DesktopOpensWebPages();
}

void TURLLabel::updateDisplayText()
{
    displayText_ = showPrefix_ ? Prefix(linkType_) + url_ : url_;
    if (!captionSet_)
        setText(displayText_);
    updateHint();
}

void TURLLabel::updateHint()
{
    setToolTip(urlAsHint_ ? displayText_ : QString());
}

void TURLLabel::updateAppearance()
{
    const LabelFont &look = HasLinkLook() ? linkFont_ : passiveFont_;
    setFont(look.face);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, look.color);
    setPalette(colours);
    if (HasLinkLook())
        setCursor(LinkCursor());
    else
        setCursor(Qt::ArrowCursor);
}

void TURLLabel::openLink() const
{
    // Handed to the desktop as a URL, never to a shell; a failure shows nothing.
    QDesktopServices::openUrl(QUrl(Prefix(linkType_) + url_, QUrl::TolerantMode));
}

void TURLLabel::mousePressEvent(QMouseEvent *event)
{
    RunHandler([&] {
        clicks_.press(event);
        QLabel::mousePressEvent(event);
    });
}

void TURLLabel::mouseReleaseEvent(QMouseEvent *event)
{
    RunHandler([&] {
        const bool click = clicks_.release(event, rect());
        QLabel::mouseReleaseEvent(event);
        if (click)
            this->click();
    });
}

void TURLLabel::click()
{
    emit clicked();
    if (HasLinkLook())
        openLink();
}

void TURLLabel::mouseDoubleClickEvent(QMouseEvent *event)
{
    RunHandler([&] {
        clicks_.doublePress();
        QLabel::mouseDoubleClickEvent(event);
        emit doubleClicked();
    });
}
