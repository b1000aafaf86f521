#pragma once
// The one door through which the framework calls into event handlers. An
// exception that leaves a handler never crosses the event loop: it is handed
// to the error report and the program goes on.
//
// The report is registered by whoever shows errors to the user (the
// application object does it when it starts), so that timers, threads and
// media callbacks report through the same door without knowing who listens.

#include <exception>
#include <functional>
#include <utility>

using ErrorReport = std::function<void(std::exception_ptr error)>;

// Installs the report and returns the one it replaces (an empty function
// removes it). Without a report, errors are written to the standard error.
ErrorReport SetErrorReport(ErrorReport report);

// Hands an error to the report. Never throws: a report that fails itself is
// given up on.
void ReportError(std::exception_ptr error) noexcept;

template <typename F> void Dispatch(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (...) {
        ReportError(std::current_exception());
    }
}
