#include "dialogs/placeholder_window.h"

#include <QLabel>
#include <QPushButton>

PlaceholderWindow::PlaceholderWindow(const QString &title, QWidget *parent) : BorderlessDialog(320, 120, parent)
{
    auto *caption = new QLabel(title, this);
    caption->setGeometry(10, 20, 300, 24);
    caption->setAlignment(Qt::AlignCenter);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setGeometry(125, 76, 70, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}
