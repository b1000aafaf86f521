#pragma once
// Creating a folder path with its parents, as the installer's destination form and its
// shortcut writer do.

#include <string>

// Creates `path` (code page 932) and every missing folder above it, one CreateDirectoryA
// at a time from the top. One trailing '\' is ignored; nothing is done for a path shorter
// than three characters, an existing folder, or a path whose parent part (up to and
// including its last '\' or ':') is the path itself. The result of each creation is not
// checked: callers that need the folder look for it afterwards. An empty path raises
// Exception "ディレクトリを作成することができません".
void CreateFolderPath(const std::string& path);

// Whether `path` names an existing folder (GetFileAttributesA with the directory flag).
bool FolderExists(const std::string& path);
