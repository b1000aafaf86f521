// The archive library's entry points (stand-in for the LZH archive DLL the installer
// loads from the system folder): a C interface over the extraction core. Everything
// runs on the calling thread, callbacks included, before Unlha returns.

#include "outside/unlha32/CommandLine.h"
#include "outside/unlha32/Extract.h"
#include "outside/unlha32/UnlhaApi.h"

#include "platform/Codepage.h"
#include "platform/WinPath.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <string>

namespace {

std::atomic<bool> running{false};
HWND ownerWindow = 0;
UnlhaProgressProc ownerCallback = nullptr;
BOOL backgroundMode = FALSE;  // kept for the caller's sake: nothing runs in the background here
BOOL cursorMode = FALSE;      // kept for the caller's sake: the library never changes the cursor

// Copies text into a buffer of `size` bytes with its NUL, cut at a character boundary.
void CopyText(char* buffer, std::size_t size, std::string_view text)
{
    if (!buffer || size == 0)
        return;
    std::size_t length = 0;
    while (length < text.size()) {
        std::size_t next = Cp932NextChar(text, length);
        if (next > size - 1)
            break;
        length = next;
    }
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// Hands the core's reports to the owner's callback as progress records.
class CallbackObserver : public unlha::ExtractObserver {
public:
    CallbackObserver(HWND window, UnlhaProgressProc callback, std::string destination)
        : window_(window), callback_(callback), destination_(std::move(destination))
    {
    }

    bool MemberStarted(const unlha::MemberInfo& member) override
    {
        record_ = {};
        record_.memberSize = Clamp(member.size);
        CopyText(record_.memberName, sizeof record_.memberName, member.archiveName);
        return Call(kUnlhaStateMemberStart);
    }

    bool BytesWritten(const unlha::MemberInfo& member, std::uint64_t written) override
    {
        record_.writtenBytes = Clamp(written);
        if (!record_.destinationName[0])
            CopyText(record_.destinationName, sizeof record_.destinationName, destination_ + member.archiveName);
        return Call(kUnlhaStateMemberBytes);
    }

    void Finish()
    {
        record_ = {};
        Call(kUnlhaStateFinished);
    }

private:
    static DWORD Clamp(std::uint64_t value) { return static_cast<DWORD>(std::min<std::uint64_t>(value, 0xFFFFFFFFu)); }

    bool Call(UINT state)
    {
        if (!callback_)
            return true;
        try {
            return callback_(window_, kUnlhaProgressMessage, state, &record_) != FALSE;
        } catch (...) {
            return false;  // a callback that fails stops the run like one that says stop
        }
    }

    HWND window_;
    UnlhaProgressProc callback_;
    std::string destination_;
    UnlhaProgressRecord record_;
};

// The result text: the member's name when a member is to blame, otherwise the reason.
std::string ResultText(const unlha::ExtractSummary& summary)
{
    if (summary.code == kUnlhaOk)
        return "OK";
    for (const unlha::Problem& problem : summary.problems) {
        if (problem.code != summary.code)
            continue;
        return UnlhaResultNamesMember(problem.code) ? problem.archiveName : problem.reason;
    }
    return "failed";
}

int Run(const char* commandLine, char* output, DWORD outputSize)
{
    std::string error;
    std::optional<unlha::ExtractCommand> command = unlha::ParseCommandLine(commandLine ? commandLine : "", &error);
    if (!command) {
        CopyText(output, outputSize, error);
        return kUnlhaBadCommandLine;
    }
    std::filesystem::path archive = HostPathFromWindows(command->archive);
    if (archive.empty()) {
        CopyText(output, outputSize, "the archive's path is not valid");
        return kUnlhaArchiveMissing;
    }
    std::filesystem::path destination =
        command->destination.empty() ? std::filesystem::current_path() : HostPathFromWindows(command->destination);
    if (destination.empty()) {
        CopyText(output, outputSize, "the destination's path is not valid");
        return kUnlhaWriteFailed;
    }

    CallbackObserver observer(ownerWindow, ownerCallback, command->destination);
    unlha::ExtractSummary summary = unlha::ExtractArchive(archive, destination, command->patterns, &observer);
    observer.Finish();
    CopyText(output, outputSize, ResultText(summary));
    return summary.code;
}

}  // namespace

extern "C" {

// Stands for the library's version query.
WORD UnlhaGetVersion()
{
    return kUnlhaVersion;
}

// Stands for the library's busy query: true while a call of Unlha runs.
BOOL UnlhaGetRunning()
{
    return running.load() ? TRUE : FALSE;
}

// Stands for the library's background-mode switch; accepted and remembered.
BOOL UnlhaSetBackGroundMode(BOOL mode)
{
    backgroundMode = mode;
    return TRUE;
}

// Stands for the library's cursor-mode switch; accepted and remembered.
BOOL UnlhaSetCursorMode(BOOL mode)
{
    cursorMode = mode;
    return TRUE;
}

// Stands for the library's call that names the window whose callback hears of each member.
BOOL UnlhaSetOwnerWindowEx(HWND window, UnlhaProgressProc callback)
{
    if (running.load())
        return FALSE;
    ownerWindow = window;
    ownerCallback = callback;
    return TRUE;
}

// Stands for the library's call that forgets the owner window and its callback.
BOOL UnlhaKillOwnerWindowEx(HWND window)
{
    if (running.load() || window != ownerWindow)
        return FALSE;
    ownerWindow = 0;
    ownerCallback = nullptr;
    return TRUE;
}

// Stands for the library's command entry point: unpacks as the command line says.
int Unlha(HWND /*window*/, LPCSTR commandLine, LPSTR output, DWORD outputSize)
{
    if (running.exchange(true)) {
        CopyText(output, outputSize, "busy with another call");
        return kUnlhaBusy;
    }
    int result = kUnlhaWriteFailed;
    try {
        result = Run(commandLine, output, outputSize);
    } catch (...) {
        CopyText(output, outputSize, "internal error");
    }
    running.store(false);
    return result;
}

}  // extern "C"
