#pragma once
// The disc's SYSTEM folder: files the launcher installs into the Windows
// system folder of the prefix (the click sound).

#include <cstdint>
#include <string>
#include <vector>

namespace disc {

// system-files <disc dir>
int runSystemFiles(const std::vector<std::string>& arguments);

// The click: a short wooden tick, 16-bit mono PCM at 22050 Hz, as a WAV file.
std::vector<unsigned char> makeClickWave();

} // namespace disc
