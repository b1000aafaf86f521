#pragma once
// The clip player's clip "R5_01.dat": the flight, drawn and scored by code and
// written as an AVI file.

#include <string>
#include <vector>

namespace disc {

// clipview-clip <disc dir> [--preview <dir>]
int runClipviewClip(const std::vector<std::string>& arguments);

} // namespace disc
