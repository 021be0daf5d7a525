#include "logos.h"

#include "stroke_lettering.h"

#include <QLinearGradient>
#include <QPainter>

#include <cmath>

namespace {

// Nothing drawn may come out pure black, or it would turn transparent.
const QColor kOutline(18, 10, 58);

struct LogoLayout
{
    QSize size;
    LetteringStyle title; // "ROMDECK"
    QPointF titleAt;
    int depth;         // extrusion in pixels, down and right
    double stripesTop; // speed stripes under the title
    double stripeHeight;
    LetteringStyle subtitle; // pen 0: none
    QString subtitleText;
};

QLinearGradient TitleFill(double top, double bottom)
{
    QLinearGradient fill(0, top, 0, bottom);
    fill.setColorAt(0.0, QColor(255, 255, 190));
    fill.setColorAt(0.42, QColor(255, 232, 40));
    fill.setColorAt(0.5, QColor(255, 200, 0));
    fill.setColorAt(1.0, QColor(255, 128, 8));
    return fill;
}

void PaintTitle(QPainter &painter, const LogoLayout &layout)
{
    const QString title = QStringLiteral("ROMDECK");
    const QPainterPath face = LetteringPath(title, layout.title, layout.titleAt);
    const double top = layout.titleAt.y();
    const double bottom = top + LetteringSize(title, layout.title).height();

    // Extrusion: the face repeated towards the lower right, darkening away.
    for (int step = layout.depth; step >= 1; --step) {
        const double t = double(step) / layout.depth;
        const QColor side = QColor::fromRgbF(float(0.30 - 0.16 * t), float(0.18 - 0.10 * t), float(0.75 - 0.35 * t));
        painter.fillPath(face.translated(step, step), side);
    }
    painter.strokePath(face, QPen(kOutline, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.fillPath(face, TitleFill(top, bottom));

    // A glint across the upper half of each letter.
    painter.save();
    painter.setClipPath(face);
    QLinearGradient glint(0, top, 0, top + (bottom - top) * 0.45);
    glint.setColorAt(0, QColor(255, 255, 255, 150));
    glint.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(QRectF(0, top, layout.size.width(), (bottom - top) * 0.45), glint);
    painter.restore();
}

void PaintStripes(QPainter &painter, const LogoLayout &layout)
{
    // Three bars that thin out and shorten to the left, as if moving right.
    const double right = layout.size.width() - 6;
    const double h = layout.stripeHeight;
    const double lengths[] = {0.92, 0.74, 0.56};
    const double heights[] = {h, h * 0.66, h * 0.4};
    double y = layout.stripesTop;
    for (int i = 0; i < 3; ++i) {
        const double left = right - (right - 4) * lengths[i];
        QLinearGradient bar(left, 0, right, 0);
        bar.setColorAt(0, QColor(120, 40, 150));
        bar.setColorAt(0.5, QColor(255, 120, 20));
        bar.setColorAt(1, QColor(255, 230, 60));
        painter.fillRect(QRectF(left, y, right - left, heights[i]), bar);
        y += heights[i] + std::max(1.0, h * 0.5);
    }
}

void PaintSubtitle(QPainter &painter, const LogoLayout &layout)
{
    if (layout.subtitleText.isEmpty())
        return;
    const QSizeF size = LetteringSize(layout.subtitleText, layout.subtitle);
    const QPointF at(layout.size.width() - 8 - size.width(), layout.size.height() - 3 - size.height());
    const QPainterPath text = LetteringPath(layout.subtitleText, layout.subtitle, at);
    painter.strokePath(text, QPen(kOutline, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.fillPath(text, QColor(150, 196, 255));
}

QImage PaintLogo(const LogoLayout &layout, double scale)
{
    // The layout is in the window's pixels; the picture has the screen's.
    QImage logo(int(std::ceil(layout.size.width() * scale)), int(std::ceil(layout.size.height() * scale)),
                QImage::Format_RGB888);
    logo.fill(Qt::black);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    PaintStripes(painter, layout);
    PaintTitle(painter, layout);
    PaintSubtitle(painter, layout);
    return logo;
}

} // namespace

QImage MakeSmallLogo(double scale)
{
    LogoLayout layout;
    layout.size = QSize(150, 57);
    layout.title = {4.2, 5.2, 4.4, 2.6, 0.16};
    layout.titleAt = {4, 3};
    layout.depth = 3;
    layout.stripesTop = 43;
    layout.stripeHeight = 4;
    return PaintLogo(layout, scale);
}

QImage MakeLargeLogo(double scale)
{
    LogoLayout layout;
    layout.size = QSize(280, 106);
    layout.title = {7.4, 9.4, 8.2, 5, 0.16};
    layout.titleAt = {8, 4};
    layout.depth = 5;
    layout.stripesTop = 72;
    layout.stripeHeight = 5;
    layout.subtitle = {2, 2, 2, 2, 0.16};
    layout.subtitleText = QStringLiteral("GENESIS FRONT-END");
    return PaintLogo(layout, scale);
}
