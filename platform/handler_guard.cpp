#include "platform/handler_guard.h"

#include "platform/message_box.h"

void ShowHandlerError(const std::exception &error)
{
    ShowErrorBox(QString::fromUtf8(error.what()));
}
