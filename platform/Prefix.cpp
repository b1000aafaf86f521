#include "platform/Prefix.h"

#include "platform/Codepage.h"
#include "platform/Executable.h"
#include "platform/HostLookup.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

// UTF-8 spellings of the Japanese folder names; the Windows paths are made from them.
constexpr const char* kStartMenuName = "スタート メニュー";
constexpr const char* kProgramsName = "プログラム";
constexpr const char* kDesktopName = "デスクトップ";

std::mutex prefixMutex;
bool rootKnown = false;
fs::path rootPath;
bool prefixReady = false;

fs::path HomeFolder()
{
    const char* home = std::getenv("HOME");
    if (home && *home == '/')
        return home;
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir == '/')
        return found->pw_dir;
    return {};
}

fs::path RootFromEnvironment()
{
    const char* prefix = std::getenv("VARNOOK_PREFIX");
    if (prefix && *prefix) {
        std::error_code error;
        fs::path absolute = fs::absolute(prefix, error);
        return error ? fs::path() : absolute.lexically_normal();
    }
    // XDG: a relative value is invalid and must be ignored.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome == '/')
        return fs::path(dataHome) / "varnook";
    fs::path home = HomeFolder();
    if (home.empty())
        return {};
    return home / ".local" / "share" / "varnook";
}

fs::path RootLocked()
{
    if (!rootKnown) {
        rootPath = RootFromEnvironment();
        rootKnown = true;
    }
    return rootPath;
}

std::string TemporaryName(const std::string& base)
{
    static std::atomic<unsigned> counter{0};
    return "." + base + ".tmp." + std::to_string(getpid()) + "." + std::to_string(counter++);
}

std::string LinkName(char letter)
{
    return std::string(1, AsciiToLower(letter)) + ":";
}

// The existing link entry of a drive: the lower-case spelling first, as Wine writes it.
fs::path DriveLinkEntry(const fs::path& dosdevices, char letter)
{
    if (!IsAsciiLetter(letter))
        return {};
    for (char spelling : {AsciiToLower(letter), AsciiToUpper(letter)}) {
        fs::path entry = dosdevices / (std::string(1, spelling) + ":");
        struct stat info;
        if (lstat(entry.c_str(), &info) == 0)
            return entry;
    }
    return {};
}

fs::path ResolveDrive(const fs::path& dosdevices, char letter)
{
    fs::path entry = DriveLinkEntry(dosdevices, letter);
    if (entry.empty())
        return {};
    std::error_code error;
    fs::path target = fs::canonical(entry, error);
    if (error || !fs::is_directory(target, error))
        return {};
    return target;
}

// Makes a drive link unless one is there already: a user's own choice of target stays.
bool EnsureLink(const fs::path& dosdevices, char letter, const fs::path& target)
{
    if (!DriveLinkEntry(dosdevices, letter).empty())
        return true;
    fs::path link = dosdevices / LinkName(letter);
    return symlink(target.c_str(), link.c_str()) == 0 || errno == EEXIST;
}

// Walks `components` (UTF-8 names) down from `base`, matching each case-insensitively and
// creating those that are missing. Returns the host folder reached, or empty on failure.
fs::path EnsureFolderNoCase(fs::path base, std::initializer_list<std::string_view> components)
{
    for (std::string_view component : components) {
        std::optional<std::string> existing = FindEntryNoCase(base, component);
        if (!existing) {
            fs::path created = base / std::string(component);
            if (mkdir(created.c_str(), 0777) != 0 && errno != EEXIST)
                return {};
            existing = FindEntryNoCase(base, component);
            if (!existing)
                return {};
        }
        base /= *existing;
    }
    std::error_code error;
    return fs::is_directory(base, error) ? base : fs::path();
}

fs::path SystemFolderLocked(const fs::path& dosdevices)
{
    fs::path driveC = ResolveDrive(dosdevices, 'c');
    if (driveC.empty())
        return {};
    return EnsureFolderNoCase(driveC, {"WINDOWS", "SYSTEM"});
}

bool SameContents(const fs::path& a, const fs::path& b)
{
    std::error_code error;
    auto sizeA = fs::file_size(a, error);
    if (error)
        return false;
    auto sizeB = fs::file_size(b, error);
    if (error || sizeA != sizeB)
        return false;
    std::ifstream streamA(a, std::ios::binary);
    std::ifstream streamB(b, std::ios::binary);
    if (!streamA || !streamB)
        return false;
    std::vector<char> bufferA(1 << 16), bufferB(1 << 16);
    while (streamA && streamB) {
        streamA.read(bufferA.data(), static_cast<std::streamsize>(bufferA.size()));
        streamB.read(bufferB.data(), static_cast<std::streamsize>(bufferB.size()));
        if (streamA.gcount() != streamB.gcount() ||
            !std::equal(bufferA.begin(), bufferA.begin() + streamA.gcount(), bufferB.begin()))
            return false;
    }
    return streamA.eof() && streamB.eof();
}

bool InstallOne(const fs::path& source, const fs::path& systemDir)
{
    std::string name = source.filename().string();
    // Update a file that is there under another letter case rather than add a twin.
    std::optional<std::string> existing = FindEntryNoCase(systemDir, name);
    fs::path destination = systemDir / (existing ? *existing : name);
    if (existing && SameContents(source, destination))
        return true;
    fs::path temporary = systemDir / TemporaryName(name);
    std::error_code error;
    fs::copy_file(source, temporary, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::rename(temporary, destination, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return false;
    }
    return true;
}

bool InstallInto(const fs::path& systemDir, const fs::path& sourceDir)
{
    std::error_code error;
    fs::directory_iterator entries(sourceDir, error);
    if (error)
        return false;
    bool allInPlace = true;
    for (const fs::directory_entry& entry : entries) {
        std::error_code typeError;
        if (!entry.is_regular_file(typeError))
            continue;
        if (!InstallOne(entry.path(), systemDir))
            allInPlace = false;
    }
    return allInPlace;
}

bool CreatePrefixLocked()
{
    fs::path root = RootLocked();
    if (root.empty())
        return false;
    std::error_code error;
    fs::create_directories(root / "drive_c", error);
    if (error)
        return false;
    fs::path dosdevices = root / "dosdevices";
    fs::create_directories(dosdevices, error);
    if (error)
        return false;
    if (!EnsureLink(dosdevices, 'c', "../drive_c") || !EnsureLink(dosdevices, 'z', "/"))
        return false;

    fs::path driveC = ResolveDrive(dosdevices, 'c');
    if (driveC.empty())
        return false;
    bool ok = !EnsureFolderNoCase(driveC, {"WINDOWS", "SYSTEM"}).empty();
    ok = !EnsureFolderNoCase(driveC, {"WINDOWS", "TEMP"}).empty() && ok;
    ok = !EnsureFolderNoCase(driveC, {"WINDOWS", kStartMenuName, kProgramsName}).empty() && ok;
    ok = !EnsureFolderNoCase(driveC, {"WINDOWS", kDesktopName}).empty() && ok;
    if (!ok)
        return false;

    // A missing or partly installed set of system files leaves the prefix usable; the
    // program that needs a file reports its absence the way it always did.
    fs::path discSystem = DiscSystemFolder();
    if (!discSystem.empty())
        InstallInto(SystemFolderLocked(dosdevices), discSystem);
    return true;
}

}  // namespace

std::string StartMenuFolderPath()
{
    return std::string(kWindowsDirectoryPath) + "\\" + Utf8ToCp932(kStartMenuName);
}

std::string ProgramsFolderPath()
{
    return StartMenuFolderPath() + "\\" + Utf8ToCp932(kProgramsName);
}

std::string DesktopFolderPath()
{
    return std::string(kWindowsDirectoryPath) + "\\" + Utf8ToCp932(kDesktopName);
}

fs::path PrefixRoot()
{
    std::lock_guard lock(prefixMutex);
    return RootLocked();
}

void ResetPrefixCache()
{
    std::lock_guard lock(prefixMutex);
    rootKnown = false;
    rootPath.clear();
    prefixReady = false;
}

bool EnsurePrefix()
{
    std::lock_guard lock(prefixMutex);
    if (!prefixReady)
        prefixReady = CreatePrefixLocked();
    return prefixReady;
}

fs::path DosDevicesDir()
{
    fs::path root = PrefixRoot();
    return root.empty() ? fs::path() : root / "dosdevices";
}

bool SetDriveLink(char letter, const fs::path& hostTarget)
{
    if (!IsAsciiLetter(letter) || hostTarget.empty() || !EnsurePrefix())
        return false;
    fs::path dosdevices = DosDevicesDir();
    // Remove an upper-case twin so that the new link is the one every look-up finds.
    fs::path upper = dosdevices / (std::string(1, AsciiToUpper(letter)) + ":");
    unlink(upper.c_str());
    std::string name = LinkName(letter);
    fs::path temporary = dosdevices / TemporaryName(name);
    if (symlink(hostTarget.c_str(), temporary.c_str()) != 0)
        return false;
    if (rename(temporary.c_str(), (dosdevices / name).c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool RemoveDriveLink(char letter)
{
    if (!IsAsciiLetter(letter) || !EnsurePrefix())
        return false;
    fs::path dosdevices = DosDevicesDir();
    bool gone = true;
    for (char spelling : {AsciiToLower(letter), AsciiToUpper(letter)}) {
        fs::path entry = dosdevices / (std::string(1, spelling) + ":");
        if (unlink(entry.c_str()) != 0 && errno != ENOENT)
            gone = false;
    }
    return gone;
}

fs::path DriveTarget(char letter)
{
    if (!EnsurePrefix())
        return {};
    return ResolveDrive(DosDevicesDir(), letter);
}

fs::path DiscSystemFolder()
{
    fs::path exeDir = HostExecutableDir();
    if (exeDir.empty())
        return {};
    for (const fs::path& base : {exeDir, exeDir.parent_path()}) {
        std::optional<std::string> name = FindEntryNoCase(base, "SYSTEM");
        std::error_code error;
        if (name && fs::is_directory(base / *name, error))
            return base / *name;
    }
    return {};
}

bool InstallSystemFiles(const fs::path& sourceDir)
{
    if (!EnsurePrefix())
        return false;
    fs::path systemDir;
    {
        std::lock_guard lock(prefixMutex);
        systemDir = SystemFolderLocked(RootLocked() / "dosdevices");
    }
    return !systemDir.empty() && InstallInto(systemDir, sourceDir);
}
