#include "widgets/image_button.h"

#include "platform/handler_guard.h"
#include "widgets/device_pixels.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

ImageButton::ImageButton(const QString &lettering, const QString &hint, QWidget *parent, Glyph glyph)
    : QAbstractButton(parent), glyph_(glyph), letteringColor_(Qt::yellow)
{
    setText(lettering);
    setToolTip(hint);
    // A glyph says nothing to a screen reader: the hint names the button.
    if (lettering.isEmpty())
        setAccessibleName(hint);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ImageButton::enterEvent(QEnterEvent *event)
{
    RunHandler([&] {
        hovered_ = true;
        update();
        QAbstractButton::enterEvent(event);
    });
}

void ImageButton::leaveEvent(QEvent *event)
{
    RunHandler([&] {
        hovered_ = false;
        update();
        QAbstractButton::leaveEvent(event);
    });
}

void ImageButton::paintEvent(QPaintEvent *)
{
    RunHandler([&] {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF area = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        const bool down = isDown() || isChecked();

        QLinearGradient face(area.topLeft(), area.bottomLeft());
        const QColor top = down ? QColor(0, 0, 90) : QColor(40, 60, 170);
        const QColor bottom = down ? QColor(20, 30, 120) : QColor(0, 0, 100);
        face.setColorAt(0, hovered_ && !down ? top.lighter(125) : top);
        face.setColorAt(1, bottom);
        const qreal radius = std::min<qreal>(6, area.height() / 3);
        painter.setPen(QPen(down ? QColor(255, 220, 0) : QColor(120, 140, 230), 1));
        painter.setBrush(face);
        painter.drawRoundedRect(area, radius, radius);

        const QRectF inner = area.adjusted(2, down ? 3 : 2, -2, down ? -1 : -2);
        if (!face_.isNull()) {
            // Whole pixels keep the face crisp; pressed, it sinks by one.
            const QSize face = LogicalSize(face_);
            const QPoint at((width() - face.width()) / 2, (height() - face.height()) / 2 + (down ? 1 : 0));
            painter.setOpacity(isEnabled() ? 1.0 : 0.4);
            painter.drawImage(OnDevicePixels(painter, at), face_);
        } else if (glyph_ == Glyph::Lettering) {
            QFont lettering = font();
            lettering.setBold(true);
            lettering.setPixelSize(std::max(8, std::min(16, int(inner.height() * 0.6))));
            painter.setFont(lettering);
            painter.setPen(QColor(0, 0, 0, 140));
            painter.drawText(inner.translated(1, 1), Qt::AlignCenter, text());
            painter.setPen(isEnabled() ? letteringColor_ : QColor(150, 150, 150));
            painter.drawText(inner, Qt::AlignCenter, text());
        } else {
            paintGlyph(painter, inner);
        }
    });
}

void ImageButton::paintGlyph(QPainter &painter, const QRectF &area) const
{
    const qreal side = std::min(area.width(), area.height()) * 0.7;
    const QRectF box(area.center() - QPointF(side / 2, side / 2), QSizeF(side, side));
    QPen pen(letteringColor_, std::max<qreal>(1.5, side / 7), Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    switch (glyph_) {
    case Glyph::Reload: {
        painter.drawArc(box, 60 * 16, 280 * 16);
        const QPointF tip(box.center().x() + side / 4, box.top());
        painter.drawLine(tip, tip + QPointF(-side / 4, -side / 8));
        painter.drawLine(tip, tip + QPointF(-side / 6, side / 5));
        break;
    }
    case Glyph::Info: {
        painter.drawEllipse(box);
        const qreal x = box.center().x();
        painter.drawPoint(QPointF(x, box.top() + side * 0.28));
        painter.drawLine(QPointF(x, box.top() + side * 0.45), QPointF(x, box.bottom() - side * 0.2));
        break;
    }
    case Glyph::Close:
        painter.drawLine(box.topLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomLeft());
        break;
    case Glyph::Lettering: break;
    }
}
