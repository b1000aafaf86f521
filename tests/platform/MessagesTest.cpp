#include "platform/Messages.h"

#include "platform/LastError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// A receiving socket written here from the wire description alone, so that the test
// checks the bytes on the wire rather than our own decoder.
class RawReceiver {
public:
    explicit RawReceiver(HWND handle)
    {
        fd_ = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        std::string name = "varnook.window." + std::to_string(handle);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        bound_ = bind(fd_, reinterpret_cast<sockaddr*>(&address),
                      static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0;
    }
    ~RawReceiver() { close(fd_); }
    bool Bound() const { return bound_; }

    // The next datagram's bytes and its real length; length -1 when none is queued.
    std::pair<std::vector<std::uint8_t>, ssize_t> Next()
    {
        std::vector<std::uint8_t> bytes(64);
        ssize_t length = recv(fd_, bytes.data(), bytes.size(), MSG_TRUNC);
        bytes.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
        return {bytes, length};
    }

private:
    int fd_ = -1;
    bool bound_ = false;
};

// A handle nobody in this test run uses: above the process-id range, unique per process.
HWND UnusedHandle(int salt)
{
    return (HWND(1) << 40) + HWND(getpid()) * 16 + HWND(salt);
}

TEST(Messages, OneDatagramOfTwentyFourLittleEndianBytes)
{
    HWND handle = UnusedHandle(1);
    RawReceiver receiver(handle);
    ASSERT_TRUE(receiver.Bound());
    EXPECT_TRUE(PostMessageA(handle, 1430, 0x0102030405060708ULL, -2));

    auto [bytes, length] = receiver.Next();
    ASSERT_EQ(length, 24);
    const std::vector<std::uint8_t> expected{
        0x96, 0x05, 0, 0, 0, 0, 0, 0,                          // 1430, zero-extended
        0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01,        // wParam
        0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};       // lParam -2
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(receiver.Next().second, -1);  // exactly one datagram
}

TEST(Messages, AMissingReceiverIsNoErrorAndNeverBlocks)
{
    SetLastError(0);
    EXPECT_FALSE(PostMessageA(UnusedHandle(2), 1429, 0, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_FALSE(PostMessageA(0, 1429, 0, 0));
}

TEST(Messages, AFullQueueRefusesInsteadOfWaiting)
{
    // A receiver that never reads: posting must give up at once when its queue is full
    // (a blocking send would hang this test until ctest's time-out).
    MessageWindow window(UnusedHandle(3));
    ASSERT_TRUE(window.IsOpen());
    int posted = 0;
    while (posted < 100000 && PostMessageA(window.Handle(), 1, 0, 0))
        ++posted;
    EXPECT_LT(posted, 100000);
    EXPECT_EQ(GetLastError(), ERROR_NOT_ENOUGH_QUOTA);
    EXPECT_GT(posted, 0);
}

TEST(Messages, WindowReceivesOnlyWellFormedMessages)
{
    MessageWindow window;
    ASSERT_TRUE(window.IsOpen());
    EXPECT_GT(window.Fd(), 2);
    EXPECT_FALSE(window.Receive().has_value());

    // Datagrams of other lengths are dropped.
    int sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    std::string name = WindowSocketName(window.Handle());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());
    auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    std::uint8_t junk[25] = {1};
    for (std::size_t size : {0, 23, 25})
        ASSERT_EQ(sendto(sender, junk, size, 0, reinterpret_cast<sockaddr*>(&address), length), ssize_t(size));
    close(sender);
    ASSERT_TRUE(PostMessageA(window.Handle(), 1427, 7, -7));

    std::optional<PostedMessage> message = window.Receive();
    ASSERT_TRUE(message.has_value());
    EXPECT_EQ(*message, (PostedMessage{1427, 7, -7}));
    EXPECT_FALSE(window.Receive().has_value());
}

TEST(Messages, HandlesAreUniqueAndMovable)
{
    MessageWindow first;
    MessageWindow second;
    ASSERT_TRUE(first.IsOpen());
    ASSERT_TRUE(second.IsOpen());
    EXPECT_NE(first.Handle(), second.Handle());
    MessageWindow taken(first.Handle());
    EXPECT_FALSE(taken.IsOpen());

    HWND handle = first.Handle();
    MessageWindow moved(std::move(first));
    EXPECT_EQ(moved.Handle(), handle);
    EXPECT_FALSE(first.IsOpen());
    ASSERT_TRUE(PostMessageA(handle, 5, 0, 0));
    EXPECT_TRUE(moved.Receive().has_value());
}

TEST(Messages, WireFormAndHandleText)
{
    PostedMessage message{0xFFFFFFFFu, ~0ULL, INT64_MIN};
    auto bytes = EncodePostedMessage(message);
    EXPECT_EQ(DecodePostedMessage(bytes.data(), bytes.size()), message);
    EXPECT_FALSE(DecodePostedMessage(bytes.data(), 23).has_value());
    bytes[4] = 1;  // a message number wider than 32 bits is not one of ours
    EXPECT_FALSE(DecodePostedMessage(bytes.data(), bytes.size()).has_value());

    EXPECT_EQ(WindowSocketName(65538), "varnook.window.65538");
    EXPECT_EQ(WindowHandleFromText("65538"), HWND(65538));
    for (const char* bad : {"", "0", "-1", "+5", " 5", "5 ", "5x", "0x10", "99999999999999999999999"})
        EXPECT_FALSE(WindowHandleFromText(bad).has_value()) << bad;
}

}  // namespace
