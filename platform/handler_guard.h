#pragma once
#include <QObject>

#include <concepts>
#include <exception>
#include <type_traits>
#include <utility>

// Qt does not let an exception pass through its own code (signal dispatch,
// event delivery, queued calls): the program's handlers catch their errors
// where Qt calls into them. An error ends the handler at that point, what the
// handler did before stays done, the general error box shows the error's text,
// and the program goes on.
//
// Every way in is guarded here: connections go through ConnectHandler, queued
// calls through QueueHandler, and an event function's body is one RunHandler.
// A test reads the sources and holds the program to this.

// Shows a caught error in the general error box.
void ShowHandlerError(const std::exception &error);

// Runs one handler of the program, showing any error it raises. Returns what
// the handler returns; after an error, the result's value-initialised value
// (false for an event function: the event counts as not handled).
template <typename Handler>
std::invoke_result_t<Handler> RunHandler(Handler &&handler)
{
    try {
        return std::forward<Handler>(handler)();
    } catch (const std::exception &error) {
        ShowHandlerError(error);
        if constexpr (!std::is_void_v<std::invoke_result_t<Handler>>)
            return {};
    }
}

// A callable run through RunHandler. Its call operator takes exactly the
// arguments the wrapped callable takes, so that Qt, which tries a signal's
// arguments from all of them down to none, hands it as many as it wants.
template <typename Callable>
struct GuardedHandler
{
    Callable callable;

    template <typename... Args>
    requires std::invocable<Callable &, Args...>
    void operator()(Args &&...args)
    {
        RunHandler([&] { callable(std::forward<Args>(args)...); });
    }
};

// QObject::connect for a handler: `handler` (a lambda or other callable) runs
// through RunHandler, in `context`'s thread and as long as `context` lives,
// with as many of the signal's arguments as it takes.
template <typename Sender, typename Signal, typename Callable>
QMetaObject::Connection ConnectHandler(const Sender *sender, Signal signal, const QObject *context, Callable handler)
{
    return QObject::connect(sender, signal, context, GuardedHandler<Callable>{std::move(handler)});
}

// The same for a member function (a slot or a signal) of `receiver`.
template <typename Sender, typename Signal, typename Receiver, typename Owner, typename... Args>
QMetaObject::Connection ConnectHandler(const Sender *sender, Signal signal, Receiver *receiver,
                                       void (Owner::*slot)(Args...))
{
    return ConnectHandler(sender, signal, receiver, [receiver, slot](Args... args) { (receiver->*slot)(args...); });
}

// Runs `handler` through RunHandler once control is back in the event loop,
// unless `context` is gone by then.
template <typename Callable>
void QueueHandler(QObject *context, Callable handler)
{
    QMetaObject::invokeMethod(context, GuardedHandler<Callable>{std::move(handler)}, Qt::QueuedConnection);
}
