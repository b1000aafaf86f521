#pragma once
// Window messages between processes.
//
// A window handle is a decimal number that names a Unix datagram socket in the abstract
// namespace, "varnook.window.<handle>". One message is one datagram of 24 bytes: the
// message number (zero-extended), wParam and lParam, each a little-endian 64-bit integer.

#include "platform/WinTypes.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

inline constexpr std::size_t kPostedMessageSize = 24;

struct PostedMessage {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;

    bool operator==(const PostedMessage&) const = default;
};

// The wire form of a message and back. A datagram of any other size is no message.
std::array<std::uint8_t, kPostedMessageSize> EncodePostedMessage(const PostedMessage& message);
std::optional<PostedMessage> DecodePostedMessage(const void* bytes, std::size_t size);

// The socket name of a window handle, without the abstract namespace's leading NUL.
std::string WindowSocketName(HWND window);

// A window handle written as decimal text (the programs' first argument): digits only,
// no sign or blanks, not zero, and no larger than a handle holds.
std::optional<HWND> WindowHandleFromText(std::string_view text);

// Stands for the Win32 call: posts one message to a window of any process and never
// waits. FALSE (with ERROR_INVALID_WINDOW_HANDLE) when no window has that handle, or
// with ERROR_NOT_ENOUGH_QUOTA when the receiver's queue is full; neither is an error
// the caller has to handle.
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The receiving side: a window handle and its message queue, for the launcher and for
// tests. Watch Fd() for readability (QSocketNotifier) and call Receive() until it gives
// nothing.
class MessageWindow {
public:
    // Binds a free handle, derived from the process id.
    MessageWindow();
    // Binds this handle; IsOpen() is false when it is taken or invalid.
    explicit MessageWindow(HWND handle);
    ~MessageWindow();
    MessageWindow(MessageWindow&& other) noexcept;
    MessageWindow& operator=(MessageWindow&& other) noexcept;
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    HWND Handle() const { return handle_; }
    int Fd() const { return fd_; }

    // The next queued message, without waiting. Datagrams that are not exactly 24 bytes
    // long are dropped.
    std::optional<PostedMessage> Receive();

private:
    bool Bind(HWND handle);
    void Close();

    HWND handle_ = 0;
    int fd_ = -1;
};
