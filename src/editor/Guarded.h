#pragma once
// Qt does not expect a slot to throw: a failure unwinding through a button's
// click or toggle code leaves the button half-updated. A handler connected
// through Guarded() catches its failure and raises it again from a queued
// call, where the application's error box receives it like any other.

#include <QMetaObject>
#include <QObject>

#include <exception>

namespace fabulor {

template <typename Handler> auto Guarded(QObject* context, Handler handler)
{
    return [context, handler] {
        try {
            handler();
        } catch (...) {
            QMetaObject::invokeMethod(
                context, [failure = std::current_exception()] { std::rethrow_exception(failure); },
                Qt::QueuedConnection);
        }
    };
}

} // namespace fabulor
