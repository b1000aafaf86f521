#include "disc/FileOut.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace disc {

namespace {

std::string reasonFor(const std::filesystem::path& path, const char* what, int error)
{
    return std::string("cannot ") + what + " " + path.string() + ": " + std::strerror(error);
}

} // namespace

void writeFileReplacing(const std::filesystem::path& path, const std::vector<unsigned char>& bytes)
{
    std::error_code ec;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), ec);
        if (ec)
            throw OutputError("cannot create folder " + path.parent_path().string() + ": " + ec.message());
    }
    std::filesystem::path partial = path;
    partial += ".partial";
    std::FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        throw OutputError(reasonFor(partial, "create", errno));
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int closeError = errno;
    if (!written || !closed) {
        std::filesystem::remove(partial, ec);
        throw OutputError(reasonFor(path, "write", written ? closeError : writeError));
    }
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::filesystem::remove(partial, ec);
        throw OutputError("cannot replace " + path.string() + ": " + ec.message());
    }
}

} // namespace disc
