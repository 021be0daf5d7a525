#pragma once
#include <QApplication>

// The event loop's handler for errors: an error raised in any event handler
// ends that handler, is shown in the general error box, and the program goes on.
class ErrorCatchingApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override;
};
