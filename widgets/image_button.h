#pragma once
#include <QAbstractButton>
#include <QColor>
#include <QImage>

// A flat button whose face the program paints: lettering, or a small glyph.
// Its hint is shown as a tooltip, and names a button without lettering to
// screen readers. Like a speed button it takes no focus.
class ImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    enum class Glyph { Lettering, Reload, Info, Close };

    ImageButton(const QString &lettering, const QString &hint, QWidget *parent = nullptr,
                Glyph glyph = Glyph::Lettering);

    void setLetteringColor(const QColor &color)
    {
        letteringColor_ = color;
        update();
    }
    // A picture on a transparent ground, drawn centred instead of the
    // lettering or glyph while it is not null; one drawn for the screen's
    // pixel ratio goes one to one onto the screen's pixels.
    void setFace(const QImage &face)
    {
        face_ = face;
        update();
    }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void paintGlyph(class QPainter &painter, const QRectF &area) const;

    Glyph glyph_;
    QColor letteringColor_;
    QImage face_;
    bool hovered_ = false;
};
