#pragma once
// Every handler runs through here, so no error ever unwinds through Qt's frames: an
// escaped error is shown in the error box, the rest of the handler is skipped and the
// program goes on.

#include "ErrorBox.h"

#include <QObject>
#include <exception>
#include <stdexcept>
#include <utility>

template <typename Fn> void GuardedCall(Fn &&handler) noexcept
{
    try {
        std::forward<Fn>(handler)();
    } catch (const std::exception &error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
}

// Connects `signal` of `sender` to a form handler taking the sender, as a designer
// event property would.
template <typename Sender, typename Signal, typename Form>
QMetaObject::Connection ConnectHandler(Sender *sender, Signal signal, Form *form,
                                       void (Form::*handler)(QObject *))
{
    return QObject::connect(sender, signal, form, [sender, form, handler] {
        GuardedCall([&] { (form->*handler)(sender); });
    });
}
