#include "platform/Messages.h"

#include "platform/LastError.h"

#include <cerrno>
#include <charconv>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The address of a window's socket in the abstract namespace (first byte NUL).
socklen_t WindowAddress(HWND window, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    std::string name = WindowSocketName(window);
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
}

void PutLittleEndian(std::uint8_t* out, std::uint64_t value)
{
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint64_t GetLittleEndian(const std::uint8_t* in)
{
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

std::array<std::uint8_t, kPostedMessageSize> EncodePostedMessage(const PostedMessage& message)
{
    std::array<std::uint8_t, kPostedMessageSize> bytes{};
    PutLittleEndian(bytes.data(), message.message);
    PutLittleEndian(bytes.data() + 8, message.wParam);
    PutLittleEndian(bytes.data() + 16, static_cast<std::uint64_t>(message.lParam));
    return bytes;
}

std::optional<PostedMessage> DecodePostedMessage(const void* bytes, std::size_t size)
{
    if (!bytes || size != kPostedMessageSize)
        return std::nullopt;
    const auto* in = static_cast<const std::uint8_t*>(bytes);
    PostedMessage message;
    // The number travels zero-extended; a sender that put more there is not one of ours.
    std::uint64_t number = GetLittleEndian(in);
    if (number > 0xFFFFFFFFu)
        return std::nullopt;
    message.message = static_cast<UINT>(number);
    message.wParam = GetLittleEndian(in + 8);
    message.lParam = static_cast<LPARAM>(GetLittleEndian(in + 16));
    return message;
}

std::string WindowSocketName(HWND window)
{
    return "varnook.window." + std::to_string(window);
}

std::optional<HWND> WindowHandleFromText(std::string_view text)
{
    HWND handle = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), handle);
    if (error != std::errc() || end != text.data() + text.size() || handle == 0)
        return std::nullopt;
    return handle;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == 0) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    sockaddr_un address;
    socklen_t length = WindowAddress(window, address);
    auto bytes = EncodePostedMessage({message, wParam, lParam});
    ssize_t sent = sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                          reinterpret_cast<const sockaddr*>(&address), length);
    int error = errno;
    close(fd);
    if (sent == static_cast<ssize_t>(bytes.size()))
        return TRUE;
    SetLastError(error == EAGAIN || error == EWOULDBLOCK || error == ENOBUFS ? ERROR_NOT_ENOUGH_QUOTA
                                                                               : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
}

MessageWindow::MessageWindow()
{
    // Process ids stay below 2^22 on Linux; further candidates step above that range so
    // they never meet another process's first choice.
    constexpr HWND kStep = HWND(1) << 22;
    HWND candidate = static_cast<HWND>(getpid());
    for (int attempt = 0; attempt < 256 && !Bind(candidate); ++attempt)
        candidate += kStep;
}

MessageWindow::MessageWindow(HWND handle)
{
    if (handle != 0)
        Bind(handle);
}

MessageWindow::~MessageWindow() { Close(); }

MessageWindow::MessageWindow(MessageWindow&& other) noexcept : handle_(other.handle_), fd_(other.fd_)
{
    other.handle_ = 0;
    other.fd_ = -1;
}

MessageWindow& MessageWindow::operator=(MessageWindow&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = other.handle_;
        fd_ = other.fd_;
        other.handle_ = 0;
        other.fd_ = -1;
    }
    return *this;
}

bool MessageWindow::Bind(HWND handle)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un address;
    socklen_t length = WindowAddress(handle, address);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), length) != 0) {
        close(fd);
        return false;
    }
    Close();
    fd_ = fd;
    handle_ = handle;
    return true;
}

void MessageWindow::Close()
{
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    handle_ = 0;
}

std::optional<PostedMessage> MessageWindow::Receive()
{
    if (fd_ < 0)
        return std::nullopt;
    for (;;) {
        std::uint8_t buffer[kPostedMessageSize];
        // MSG_TRUNC gives the datagram's real length, so a longer one is seen and dropped.
        ssize_t size = recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (size < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (std::optional<PostedMessage> message = DecodePostedMessage(buffer, static_cast<std::size_t>(size)))
            return message;
    }
}
