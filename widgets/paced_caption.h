#pragma once
#include <QObject>
#include <QString>
#include <QTimer>

class QWidget;

// A window's caption that may change faster than a screen can show it (a scan
// counts in it after every directory entry). Its text is current at every
// change; the window system gets it at most once per pause, as a paced
// repaint, and at once on flush(). Each push costs round trips to the display
// server and a redraw of the title bar by the window manager.
class PacedCaption : public QObject
{
public:
    PacedCaption(QWidget *window, int pauseMs);

    const QString &text() const { return text_; }
    void setText(const QString &text);
    // The window system gets the current text now.
    void flush();

private:
    void push();

    QWidget *window_;
    QString text_;
    QTimer pause_;
};
