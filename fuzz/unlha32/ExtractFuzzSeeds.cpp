// Writes seed archives for the extraction fuzzer: every method and header level of the
// disc's writer, folders, Shift-JIS names, and a few names that must be refused.

#include "disc/lzh/LzhArchive.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using disc::lzh::Method;

namespace {

std::vector<std::uint8_t> Text(std::size_t size, unsigned seed)
{
    std::vector<std::uint8_t> bytes;
    const char* const words[] = {"skin ", "\x95\x5C\x8E\xA6 ", "main.bmp\r\n", "0123 "};
    unsigned state = seed;
    while (bytes.size() < size) {
        state = state * 1103515245u + 12345u;
        for (const char* c = words[(state >> 16) % 4]; *c && bytes.size() < size; ++c)
            bytes.push_back(static_cast<std::uint8_t>(*c));
    }
    return bytes;
}

void Save(const fs::path& folder, const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(folder / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                         static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: unlha32_fuzz_seeds <folder>\n");
        return 2;
    }
    const fs::path folder = argv[1];
    fs::create_directories(folder);
    const Method methods[] = {Method::Stored, Method::Lh5, Method::Lh6, Method::Lh7};
    for (Method method : methods)
        for (int level = 0; level <= 2; ++level) {
            disc::lzh::ArchiveWriter writer(method, level);
            writer.addFolder("dir", 921470400);
            writer.addFile("dir\\\x83\x5C.txt", Text(700, level), 921470400);
            writer.addFile("a.txt", Text(40, 7), 921470400);
            writer.addFile("empty", {}, 921470400);
            Save(folder, std::string("seed-") + (disc::lzh::methodName(method) + 1) + std::to_string(level), writer.finish());
        }
    disc::lzh::ArchiveWriter hostile(Method::Stored, 0);
    hostile.addFile("..\\up.txt", Text(10, 1), 0);
    hostile.addFile("C:\\x.txt", Text(10, 2), 0);
    hostile.addFile("sub\\CON", Text(10, 3), 0);
    Save(folder, "seed-refused-names", hostile.finish());
    return 0;
}
