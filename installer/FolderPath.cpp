#include "installer/FolderPath.h"

#include "framework/core/SysUtils.h"
#include "installer/PathText.h"
#include "platform/Files.h"

bool FolderExists(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void CreateFolderPath(const std::string& path)
{
    if (path.empty())
        throw Exception("ディレクトリを作成することができません");
    std::string folder = WithoutTrailingBackslash(path);
    if (folder.size() < 3 || FolderExists(folder))
        return;
    std::string parent = ExtractFilePath(folder);
    if (parent == folder)
        return;
    CreateFolderPath(parent);  // a relative name has an empty parent: refused above
    CreateDirectoryA(folder.c_str(), nullptr);
}
