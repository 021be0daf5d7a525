#include "platform/error_catching_application.h"

#include "platform/message_box.h"

#include <exception>

bool ErrorCatchingApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        ShowErrorBox(QString::fromUtf8(error.what()));
    }
    return false;
}
