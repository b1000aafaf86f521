// Fuzz target: any bytes, taken for an archive, unpacked into a temporary folder. Beside
// the sanitizers' own checks, it asserts what the safe output promises: nothing outside
// the destination is created or changed, no link is made inside it, no partial file
// stays behind. Listing the same bytes must not fail either.

#include "outside/unlha32/Extract.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const char kKept[] = "kept";
constexpr rlim_t kMaxFileBytes = 1 << 20;

struct Playground {
    fs::path root;
    fs::path archive;
    fs::path destination;
    fs::path sibling;

    Playground()
    {
        std::string pattern = (fs::temp_directory_path() / "vn-unlha-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        root = pattern;
        archive = root / "input.lzh";
        destination = root / "dest";
        sibling = root / "sibling";
        fs::create_directories(sibling);
        std::ofstream(sibling / "keep.txt", std::ios::binary) << kKept;
        // A few bytes of input can stand for megabytes of output; past this limit writes
        // fail as on a full disk, which is a path worth exercising too.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit{kMaxFileBytes, kMaxFileBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~Playground()
    {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Playground& Ground()
{
    static Playground playground;
    return playground;
}

[[noreturn]] void Fail(const char* what, const fs::path& path)
{
    std::fprintf(stderr, "unlha fuzz: %s: %s\n", what, path.c_str());
    std::abort();
}

void CheckTree(const Playground& ground)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(ground.root)) {
        const fs::path& path = entry.path();
        if (path != ground.archive && path != ground.destination && path != ground.sibling)
            Fail("appeared outside the destination", path);
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(ground.sibling)) {
        if (entry.path() != ground.sibling / "keep.txt")
            Fail("appeared in the sibling folder", entry.path());
    }
    std::ifstream kept(ground.sibling / "keep.txt", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    if (text != kKept)
        Fail("changed outside the destination", ground.sibling / "keep.txt");
    if (!fs::exists(ground.destination))
        return;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(ground.destination)) {
        struct stat info;
        if (lstat(entry.path().c_str(), &info) != 0)
            Fail("cannot inspect", entry.path());
        if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
            Fail("neither file nor folder made", entry.path());
        if (entry.path().filename().string().find(".part") != std::string::npos)
            Fail("partial file left", entry.path());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Playground& ground = Ground();
    std::error_code ignored;
    fs::remove_all(ground.destination, ignored);
    {
        std::ofstream out(ground.archive, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    unlha::ExtractSummary summary = unlha::ExtractArchive(ground.archive, ground.destination, {"*.*"});
    if (summary.code != kUnlhaOk && summary.problems.empty())
        Fail("failure without a reported problem", ground.archive);
    unlha::ListArchive(ground.archive);
    CheckTree(ground);
    return 0;
}
