#include "tests/unlha32/UnlhaTestSupport.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace unlhatest {

namespace {

std::string ReadWhole(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

ProgramResult RunProgram(const std::vector<std::string>& argv, const fs::path& workdir,
                         const std::vector<std::string>& env, std::uint64_t fileSizeLimit)
{
    std::string pattern = (fs::temp_directory_path() / "vn-unlha-run-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return {};
    const fs::path outputs = pattern;
    const fs::path outPath = outputs / "out", errPath = outputs / "err";

    pid_t child = fork();
    if (child == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int in = open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0)
            _exit(126);
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        if (!workdir.empty() && chdir(workdir.c_str()) != 0)
            _exit(126);
        for (const std::string& setting : env)
            putenv(const_cast<char*>(setting.c_str()));
        if (fileSizeLimit) {
            struct rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    ProgramResult result;
    int status = 0;
    if (child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = ReadWhole(outPath);
    result.err = ReadWhole(errPath);
    std::error_code ignored;
    fs::remove_all(outputs, ignored);
    return result;
}

std::map<std::string, std::string> TreeSnapshot(const fs::path& root)
{
    std::map<std::string, std::string> tree;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        const fs::path relative = fs::relative(it->path(), root);
        struct stat info;
        if (lstat(it->path().c_str(), &info) != 0)
            continue;
        std::string description;
        if (S_ISLNK(info.st_mode))
            description = "link -> " + fs::read_symlink(it->path()).string();
        else if (S_ISDIR(info.st_mode))
            description = "folder";
        else if (S_ISREG(info.st_mode))
            description = "file " + ReadWhole(it->path());
        else
            description = "other";
        tree[relative.string()] = description;
    }
    return tree;
}

std::map<std::string, Bytes> ReadTree(const fs::path& root)
{
    std::map<std::string, Bytes> tree;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = fs::relative(entry.path(), root).string();
        if (entry.is_symlink())
            tree[relative + " (link)"] = {};
        else if (entry.is_directory())
            tree[relative + "/"] = {};
        else
            tree[relative] = ReadBytes(entry.path());
    }
    return tree;
}

void WriteBytes(const fs::path& path, const Bytes& bytes)
{
    if (path.has_parent_path())
        fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadBytes(const fs::path& path)
{
    std::string text = ReadWhole(path);
    return Bytes(text.begin(), text.end());
}

Bytes TextLike(std::size_t size, std::uint32_t seed)
{
    static const char* const kWords[] = {"skin ", "player ", "bitmap ", "\x95\x5C\x8E\xA6 ", "main.bmp\r\n",
                                         "window ", "\x83\x5C\x83\x74\x83\x67 ", "0123 "};
    std::mt19937 random(seed);
    Bytes bytes;
    while (bytes.size() < size) {
        const char* word = kWords[random() % 8];
        for (const char* c = word; *c && bytes.size() < size; ++c)
            bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    return bytes;
}

Bytes Noise(std::size_t size, std::uint32_t seed)
{
    std::mt19937 random(seed);
    Bytes bytes(size);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return bytes;
}

disc::lzh::MemberRecord StoredMember(const std::string& directory, const std::string& fileName, const Bytes& data,
                                     int level)
{
    disc::lzh::MemberRecord member;
    member.method = "-lh0-";
    member.directory = directory;
    member.fileName = fileName;
    member.packed = data;
    member.originalSize = static_cast<std::uint32_t>(data.size());
    member.crc = disc::lzh::crc16(data.data(), data.size());
    member.unixTime = 921470400;
    member.level = level;
    return member;
}

Bytes ArchiveOf(const std::vector<disc::lzh::MemberRecord>& members)
{
    Bytes bytes;
    for (const disc::lzh::MemberRecord& member : members) {
        Bytes one = disc::lzh::serialize(member);
        bytes.insert(bytes.end(), one.begin(), one.end());
    }
    bytes.push_back(0);
    return bytes;
}

}  // namespace unlhatest
