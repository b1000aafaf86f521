#include "disc/archives/RoomtourArchives.h"

#include "disc/FileOut.h"
#include "disc/archives/SkinCourse.h"
#include "disc/archives/SkinSet.h"
#include "disc/lzh/LzhArchive.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

namespace disc {

namespace {

std::vector<unsigned char> packArchive(const std::vector<archives::ArchiveFile>& files)
{
    lzh::ArchiveWriter writer(lzh::Method::Lh5, 2);
    for (const archives::ArchiveFile& file : files) {
        if (file.isFolder)
            writer.addFolder(file.path, file.unixTime);
        else
            writer.addFile(file.path, file.bytes, file.unixTime);
    }
    std::vector<std::uint8_t> bytes = writer.finish();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

void writeArchive(const std::filesystem::path& path, const std::vector<archives::ArchiveFile>& files)
{
    std::vector<unsigned char> bytes = packArchive(files);
    writeFileReplacing(path, bytes);
    std::printf("%s: %zu members, %llu bytes unpacked, %zu bytes packed\n", path.filename().c_str(), files.size(),
                static_cast<unsigned long long>(archives::totalSize(files)), bytes.size());
}

} // namespace

int runRoomtourArchives(const std::vector<std::string>& arguments)
{
    if (arguments.size() != 1 || arguments[0].empty())
        throw std::invalid_argument("expected <disc dir>");
    const std::filesystem::path data = std::filesystem::path(arguments[0]) / "ROOMTOUR" / "Data";
    writeArchive(data / "MakeSkin.lzh", archives::skinCourseFiles());
    writeArchive(data / "Skin.lzh", archives::skinSetFiles());
    return 0;
}

} // namespace disc
