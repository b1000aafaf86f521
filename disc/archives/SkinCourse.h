#pragma once
// MakeSkin.lzh: a small course on making media-player skins. The page make.htm walks
// through the bitmaps of a skin and shows the pictures in image\; readme.txt says what
// the archive holds; サンプル\ is the finished sample skin the page builds.

#include "disc/archives/ArchiveFiles.h"

#include <vector>

namespace disc::archives {

// The unpacked size the installer announces for this archive, in KB.
inline constexpr int kSkinCourseKB = 309;

std::vector<ArchiveFile> skinCourseFiles();

} // namespace disc::archives
