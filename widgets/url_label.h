#pragma once
#include "widgets/click_detector.h"

#include <QColor>
#include <QFont>
#include <QLabel>

enum class TLabelType { Auto, Passive, Link };
enum class TLinkType { http, mailto };

// A font with the colour it is drawn in.
struct LabelFont
{
    QFont face;
    QColor color;
};

// A label that opens its address with the desktop's web browser or mail
// program when clicked. It has the link look (LinkFont, pointing hand) when
// LabelType is Link, or Auto while the desktop can open the link kind;
// otherwise the passive look (PassiveFont, arrow). A click runs clicked()
// first, then, with the link look, opens "http://" or "mailto:" and the URL.
// Nothing is ever shown when that fails. Text shows as typed ("&" too).
class TURLLabel : public QLabel
{
    Q_OBJECT
public:
    static inline const QString WebPlaceholder = QStringLiteral("www.example.com");
    static inline const QString MailPlaceholder = QStringLiteral("someone@example.com");

    explicit TURLLabel(QWidget *parent = nullptr);

    const LabelFont &LinkFont() const { return linkFont_; }
    // Takes effect at the next appearance update.
    void setLinkFont(const LabelFont &font) { linkFont_ = font; }
    const LabelFont &PassiveFont() const { return passiveFont_; }
    void setPassiveFont(const LabelFont &font) { passiveFont_ = font; }
    // Once set, the caption no longer follows the address.
    QString Caption() const { return text(); }
    void setCaption(const QString &caption);
    // The address without a "http://" or "mailto:" prefix. Setting it also
    // sets the link kind: mailto with an "@", http with a "/".
    QString URL() const { return url_; }
    void setURL(const QString &url);
    bool URLAsHint() const { return urlAsHint_; }
    void setURLAsHint(bool urlAsHint);
    bool ShowPrefix() const { return showPrefix_; }
    void setShowPrefix(bool showPrefix);
    TLabelType LabelType() const { return labelType_; }
    void setLabelType(TLabelType type);
    TLinkType LinkType() const { return linkType_; }
    void setLinkType(TLinkType type);

    // The address as shown: with the kind's prefix when ShowPrefix is on.
    QString DisplayText() const { return displayText_; }
    bool CaptionSet() const { return captionSet_; }
    // Whether the desktop could open the link kind at the last check
    // (at creation and at each change of LinkType).
    bool LinkAvailable() const { return linkAvailable_; }
    bool HasLinkLook() const;
    // What a click does: clicked(), then the link opens if it has the link look.
    void click();

signals:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void checkAvailability();
    void updateDisplayText();
    void updateHint();
    void updateAppearance();
    void openLink() const;

    LabelFont linkFont_;
    LabelFont passiveFont_;
    QString url_;
    bool urlAsHint_ = false;
    bool showPrefix_ = false;
    TLabelType labelType_ = TLabelType::Auto;
    TLinkType linkType_ = TLinkType::http;
    QString displayText_;
    bool captionSet_ = false;
    bool linkAvailable_ = false;
    ClickDetector clicks_;
};
