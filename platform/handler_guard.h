#pragma once
#include <QObject>

#include <exception>
#include <utility>

// Qt does not let an exception pass through its own code (signal dispatch,
// event delivery, queued calls): the program's handlers catch their errors
// where Qt calls into them. An error ends the handler at that point, what the
// handler did before stays done, the general error box shows the error's text,
// and the program goes on.

// Shows a caught error in the general error box.
void ShowHandlerError(const std::exception &error);

// Runs one handler of the program, showing any error it raises.
template <typename Handler>
void RunHandler(Handler &&handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception &error) {
        ShowHandlerError(error);
    }
}

// QObject::connect for a handler: `slot` is called on `receiver` through
// RunHandler, with as many of the signal's arguments as it takes.
template <typename Sender, typename Signal, typename Receiver, typename Owner, typename... Args>
QMetaObject::Connection ConnectHandler(const Sender *sender, Signal signal, Receiver *receiver,
                                       void (Owner::*slot)(Args...))
{
    return QObject::connect(sender, signal, receiver,
                            [receiver, slot](Args... args) { RunHandler([&] { (receiver->*slot)(args...); }); });
}
