#pragma once
// Sub-command "roomtour-archives": the two LZH archives the desk tour installs.

#include <string>
#include <vector>

namespace disc {

// Arguments: <disc dir>. Writes <disc dir>/ROOMTOUR/Data/MakeSkin.lzh and Skin.lzh.
int runRoomtourArchives(const std::vector<std::string>& arguments);

} // namespace disc
