// Feeds arbitrary bytes to the platform's readers of outside input. The first byte picks
// the reader; the rest is its input. Every reader must answer or refuse, never crash.

#include "platform/Codepage.h"
#include "platform/FindFile.h"
#include "platform/Messages.h"
#include "platform/Prefix.h"
#include "platform/WinPath.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::filesystem::path scratchFolder;

void RemoveScratch()
{
    std::error_code error;
    std::filesystem::remove_all(scratchFolder, error);
}

// One prefix for the whole run, in a fresh temporary folder, never the user's own. Its
// drive Z: (the host's root) is taken away and the run works inside drive C:, so that
// inputs reach no host folder outside the scratch folder.
void UseScratchPrefix()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    std::string folder = (std::filesystem::temp_directory_path() / "vn-platform-fuzz-XXXXXX").string();
    if (!mkdtemp(folder.data()))
        std::abort();
    scratchFolder = folder;
    std::atexit(RemoveScratch);
    setenv("VARNOOK_PREFIX", (scratchFolder / "prefix").c_str(), 1);
    ResetPrefixCache();
    if (!EnsurePrefix() || !RemoveDriveLink('z'))
        std::abort();
    std::filesystem::current_path(DriveTarget('c'));
}

void Codepage(std::string_view bytes)
{
    bool ok = false;
    QString text = Cp932ToUnicode(bytes, &ok);
    std::string back = UnicodeToCp932(text);
    if (ok && back.empty() != bytes.empty())
        std::abort();
    for (std::size_t pos = 0; pos < bytes.size();) {
        std::size_t next = Cp932NextChar(bytes, pos);
        if (next <= pos || next > bytes.size())
            std::abort();
        pos = next;
    }
    std::size_t last = Cp932FindLastSeparator(bytes, "\\/");
    if (last != std::string_view::npos && Cp932CharLength(bytes, last) != 1)
        std::abort();
}

void Paths(std::string_view bytes)
{
    std::string full = FullWindowsPath(bytes);
    std::filesystem::path host = HostPathFromWindows(bytes);
    if (!host.empty()) {
        // A mapped path stays inside a drive: its Windows form must map back to it.
        std::string windows = WindowsPathFromHost(host);
        if (windows.empty())
            std::abort();
    }
    std::string pattern(bytes);
    if (pattern.find('\0') == std::string::npos) {
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern.c_str(), &data);
        if (search != INVALID_HANDLE_VALUE) {
            while (FindNextFileA(search, &data)) {
            }
            FindClose(search);
        }
    }
    (void)full;
}

void Message(std::string_view bytes)
{
    if (std::optional<PostedMessage> message = DecodePostedMessage(bytes.data(), bytes.size())) {
        auto wire = EncodePostedMessage(*message);
        if (bytes.size() != wire.size() || !std::equal(wire.begin(), wire.end(), reinterpret_cast<const std::uint8_t*>(bytes.data())))
            std::abort();
    }
    WindowHandleFromText(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    UseScratchPrefix();
    std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0: Codepage(input); break;
    case 1: Paths(input); break;
    default: Message(input); break;
    }
    return 0;
}
