#pragma once
// The clip player's form stream: the tool window, its two caption labels, the
// start picture (stored in the stream as an 8-bit bitmap), the video panel,
// the media player that opens the clip, and the timer.

#include <string>
#include <vector>

namespace disc {

// clipview-form <parts dir> <output file> [--preview <dir>]
// Also leaves the start picture as <parts dir>/clipview/Image1.bmp.
int runClipviewForm(const std::vector<std::string>& arguments);

} // namespace disc
