#pragma once
// Sub-command "oracle-pictures": the fortune viewer's GIF files and the
// pictures its form data is made from.

#include <string>
#include <vector>

namespace disc {

// Arguments: <disc dir> <parts dir> [--preview <dir>]. Writes
//   <disc dir>/ORACLE/DATA/{TITLE,MENU,K1,K2,K3,K4}.DAT   (GIF files)
//   <parts dir>/oracle/*.bmp                               (stored pictures:
//       24 bits, except CmpMiru, TPKQuit and TPKMenu with 8 bits)
//   <parts dir>/oracle/CURSOR_1.cur                        (the hand cursor)
// and with --preview PNG copies for looking at them.
int runOraclePictures(const std::vector<std::string>& arguments);

} // namespace disc
