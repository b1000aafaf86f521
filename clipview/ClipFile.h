#pragma once
// Where the clip player finds its clip. The name is relative, so it is looked
// for in the current folder first; when it is not there, the program's own
// folder is tried, so that the clip plays however the program was started.

#include <functional>
#include <string>

// The clip's name as the media player should open it: `name` itself when
// `exists(name)` (the current folder), else the program folder's copy when that
// exists, else `name` unchanged (opening then fails with "file not found").
// `programFolder` is a Windows path ending in "\" (or empty: no such folder).
std::string LocateClip(const std::string& name, const std::string& programFolder,
                       const std::function<bool(const std::string& windowsPath)>& exists);

// LocateClip with the real file system and the running program's folder.
std::string LocateClip(const std::string& name);
