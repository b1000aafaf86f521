#pragma once
// The one door through which the framework calls into event handlers. An
// exception that leaves a handler never crosses Qt's event loop: it is handed
// to the application's error report and the program goes on.

#include <exception>
#include <utility>

void HandleDispatchedException(std::exception_ptr error);

template <typename F> void Dispatch(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        HandleDispatchedException(std::current_exception());
    }
}
