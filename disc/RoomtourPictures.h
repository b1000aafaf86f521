#pragma once
// Sub-command "roomtour-pictures": every picture the desk tour reads from its
// data folder, and the button pictures its form data is made from.

#include <string>
#include <vector>

namespace disc {

// Arguments: <disc dir> <parts dir> [--preview <dir>]. Writes
//   <disc dir>/ROOMTOUR/Data/{Shell01,Shell02,Desk00..25,Zoom00..25}.jdt
//   <parts dir>/roomtour/*.bmp
// and with --preview PNG copies, contact sheets and overlays for looking at them.
int runRoomtourPictures(const std::vector<std::string>& arguments);

} // namespace disc
