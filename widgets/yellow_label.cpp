#include "widgets/yellow_label.h"

#include "widgets/program_font.h"

#include <QLabel>

#include <algorithm>

QLabel *MakeYellowLabel(const QString &text, const QRect &place, int pixelSize, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(ProgramFont(pixelSize));
    label->setStyleSheet(QStringLiteral("color: #ffff00; background: transparent;"));
    label->setGeometry(place);
    label->resize(std::max(place.width(), label->sizeHint().width()), place.height());
    return label;
}
