#pragma once
#include <QObject>
#include <QString>

class QWidget;

// A window's caption that may change faster than a screen can show it (a scan
// counts in it after every directory entry). Its text is current at every
// change; the window system gets it only on flush(), which the owner calls in
// step with what the caption counts (the main window: whenever its list is
// painted), so that the two never show apart. Each push costs round trips to
// the display server and a redraw of the title bar by the window manager.
class PacedCaption : public QObject
{
public:
    explicit PacedCaption(QWidget *window);

    const QString &text() const { return text_; }
    void setText(const QString &text) { text_ = text; }
    // The window system gets the current text now, when it differs.
    void flush();

private:
    QWidget *window_;
    QString text_;
};
