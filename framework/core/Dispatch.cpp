#include "framework/core/Dispatch.h"

#include <cstdio>

namespace {
ErrorReport& Report()
{
    static ErrorReport report;
    return report;
}

void WriteToStandardError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "error: unknown error\n");
    }
}
}

ErrorReport SetErrorReport(ErrorReport report)
{
    ErrorReport previous = std::move(Report());
    Report() = std::move(report);
    return previous;
}

void ReportError(std::exception_ptr error) noexcept
{
    try {
        if (Report())
            Report()(error);
        else
            WriteToStandardError(error);
    } catch (...) {
        // The report itself failed; nothing more can be done for this error.
    }
}
