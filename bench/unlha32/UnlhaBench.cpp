// Unpacking a 20 MB lh5 archive of a few hundred files: the archive library through its
// Unlha entry point (with a progress callback, temporary files and renames as always)
// beside lhasa x, each as a whole process, interleaved in the same run. Prints the
// median times and their ratio.
//
//   unlha32_bench [--runs N] [--keep DIR]
//
// The program runs itself with --through-library to be the library's caller process.

#include "disc/lzh/LzhArchive.h"
#include "outside/unlha32/UnlhaApi.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::uint64_t callbacks = 0;

BOOL CountProgress(HWND, UINT, UINT, void*)
{
    ++callbacks;
    return TRUE;
}

// The child: loads the library, hands it the installer's command line, unpacks.
int ThroughLibrary(const char* library, const std::string& archive, const std::string& folder)
{
    void* module = dlopen(library, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 3;
    }
    auto setOwner = reinterpret_cast<UnlhaSetOwnerWindowExProc>(dlsym(module, "UnlhaSetOwnerWindowEx"));
    auto unlha = reinterpret_cast<UnlhaProc>(dlsym(module, "Unlha"));
    if (!setOwner || !unlha)
        return 3;
    setOwner(1, &CountProgress);
    const std::string line = "e -+ -a1 -m1c0 -n -gm -x1 -y1 -jf0 -- \"" + archive + "\" \"" + folder + "\\\" *.*";
    char output[226];
    int result = unlha(1, line.c_str(), output, sizeof output);
    if (result != kUnlhaOk || callbacks == 0) {
        std::fprintf(stderr, "Unlha: %d %s\n", result, output);
        return 1;
    }
    return 0;
}

// Z: is the host's root in every prefix.
std::string WindowsPath(const fs::path& host)
{
    std::string path = "Z:" + host.string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

double RunSeconds(const std::vector<std::string>& argv, const fs::path& workdir)
{
    auto start = std::chrono::steady_clock::now();
    pid_t child = fork();
    if (child == 0) {
        if (chdir(workdir.c_str()) != 0)
            _exit(126);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", argv[0].c_str());
        std::exit(1);
    }
    return seconds;
}

// A few hundred files of 20 MB in all, in nested folders: text-like files that compress
// well, pictures that compress a little, and some noise.
std::vector<std::uint8_t> MakeArchive(std::uint64_t& unpacked, int& files)
{
    std::mt19937 random(20);
    disc::lzh::ArchiveWriter writer(disc::lzh::Method::Lh5, 2);
    const char* const words[] = {"skin ", "player ", "bitmap ", "\x95\x5C\x8E\xA6 ", "main.bmp\r\n", "window ",
                                 "volume ", "0123 "};
    unpacked = 0;
    files = 0;
    while (unpacked < 20u * 1024 * 1024) {
        std::vector<std::uint8_t> data;
        std::size_t size = 20000 + random() % 120000;
        int kind = files % 5;
        while (data.size() < size) {
            if (kind < 3) {
                for (const char* c = words[random() % 8]; *c; ++c)
                    data.push_back(static_cast<std::uint8_t>(*c));
            } else if (kind == 3) {
                std::uint8_t base = static_cast<std::uint8_t>(random());
                for (int i = 0; i < 64; ++i)
                    data.push_back(static_cast<std::uint8_t>(base + (random() % 6)));
            } else {
                data.push_back(static_cast<std::uint8_t>(random()));
            }
        }
        data.resize(size);
        std::string path = "set" + std::to_string(files % 7) + "\\sub" + std::to_string(files % 3) + "\\file" +
                           std::to_string(files) + (kind == 3 ? ".bmp" : kind == 4 ? ".bin" : ".txt");
        writer.addFile(path, data, 921470400);
        unpacked += size;
        ++files;
    }
    return writer.finish();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--through-library")
        return ThroughLibrary(argv[2], argv[3], argv[4]);
    int runs = 7;
    fs::path keep;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else if (std::string(argv[i]) == "--keep" && i + 1 < argc)
            keep = argv[++i];
    }

    std::string pattern = (fs::temp_directory_path() / "vn-unlha-bench-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    const fs::path root = pattern;
    setenv("VARNOOK_PREFIX", (root / "prefix").c_str(), 1);
    std::uint64_t unpacked = 0;
    int files = 0;
    std::vector<std::uint8_t> bytes = MakeArchive(unpacked, files);
    const fs::path archive = root / "bench.lzh";
    std::ofstream(archive, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                   static_cast<std::streamsize>(bytes.size()));
    if (!keep.empty())
        fs::copy_file(archive, keep / "bench.lzh", fs::copy_options::overwrite_existing);
    std::printf("archive: %d files, %.1f MB unpacked, %.1f MB packed (lh5)\n", files, unpacked / 1048576.0,
                bytes.size() / 1048576.0);

    const std::string self = fs::canonical("/proc/self/exe").string();
    std::vector<double> ours, peer;
    for (int run = 0; run < runs + 1; ++run) {  // the first round warms the caches and is not counted
        const fs::path a = root / ("ours" + std::to_string(run));
        const fs::path b = root / ("peer" + std::to_string(run));
        fs::create_directories(a);
        fs::create_directories(b);
        double oursTime = RunSeconds({self, "--through-library", VN_UNLHA32_DLL, WindowsPath(archive), WindowsPath(a)}, root);
        double peerTime = RunSeconds({"lhasa", "xq", archive.string()}, b);
        if (run > 0) {
            ours.push_back(oursTime);
            peer.push_back(peerTime);
        }
        fs::remove_all(a);
        fs::remove_all(b);
    }
    const double oursMedian = Median(ours), peerMedian = Median(peer);
    std::printf("Unlha with callback: %.3f s   lhasa x: %.3f s   ratio %.3f (median of %d)\n", oursMedian, peerMedian,
                oursMedian / peerMedian, runs);
    fs::remove_all(root);
    return 0;
}
