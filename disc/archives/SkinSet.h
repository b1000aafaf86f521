#pragma once
// Skin.lzh: a set of media-player skins, one folder each (bitmaps and a readme), with a
// readme and a catalogue picture of the set at the top.

#include "disc/archives/ArchiveFiles.h"

#include <vector>

namespace disc::archives {

// The unpacked size the installer announces for this archive, in KB.
inline constexpr int kSkinSetKB = 978;

std::vector<ArchiveFile> skinSetFiles();

} // namespace disc::archives
