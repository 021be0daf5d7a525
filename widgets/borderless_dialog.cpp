#include "widgets/borderless_dialog.h"

#include "platform/handler_guard.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>

BorderlessDialog::BorderlessDialog(const QString &name, int width, int height, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setWindowTitle(name);
    setFixedSize(width, height);
    setModal(true);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0, 0, 96));
    colours.setColor(QPalette::WindowText, Qt::yellow);
    setPalette(colours);
}

void BorderlessDialog::showEvent(QShowEvent *event)
{
    RunHandler([&] {
        if (screenPosition_)
            move(*screenPosition_);
        else if (QScreen *screen = QGuiApplication::primaryScreen())
            move(screen->geometry().center() - QPoint(width() / 2, height() / 2));
        QDialog::showEvent(event);
        // Without a window manager nothing hands the keyboard to a new window.
        activateWindow();
        activation_.Shown(*event);
    });
}

void BorderlessDialog::keyPressEvent(QKeyEvent *event)
{
    RunHandler([&] {
        if (event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QDialog::keyPressEvent(event);
    });
}
