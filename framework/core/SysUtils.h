#pragma once
// Error objects of the framework. Every error carries a message in UTF-8; the
// application's error report shows it (see TApplication::ShowException).

#include <stdexcept>
#include <string>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// The silent abort: leaves a handler without any report.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
};
[[noreturn]] void Abort();

#define VN_DECLARE_ERROR(Name, Base)                                   \
    class Name : public Base {                                         \
    public:                                                            \
        using Base::Base;                                              \
    };

VN_DECLARE_ERROR(EStreamError, Exception)
VN_DECLARE_ERROR(EReadError, EStreamError)
VN_DECLARE_ERROR(EWriteError, EStreamError)
VN_DECLARE_ERROR(EFilerError, EStreamError)
VN_DECLARE_ERROR(EClassNotFound, EFilerError)
VN_DECLARE_ERROR(EFCreateError, EStreamError)
VN_DECLARE_ERROR(EFOpenError, EStreamError)
VN_DECLARE_ERROR(EInvalidOperation, Exception)
VN_DECLARE_ERROR(EInvalidGraphic, Exception)
VN_DECLARE_ERROR(EInvalidGraphicOperation, Exception)
VN_DECLARE_ERROR(EOutOfResources, Exception)
VN_DECLARE_ERROR(EConvertError, Exception)
VN_DECLARE_ERROR(EOutOfMemory, Exception)

// Standard message texts, as the framework words them.
namespace SysMsg {
inline constexpr const char* ReadError = "Stream read error";
inline constexpr const char* WriteError = "Stream write error";
}

// Decimal text to integer, as the framework's StrToInt: optional sign, digits,
// surrounding blanks not allowed. Throws EConvertError "'x' is not a valid integer value".
int StrToInt(const std::string& text);
