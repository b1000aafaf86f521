#pragma once
// The fortune viewer's main form stream: the title and menu screens, the
// fortune screen, the sixteen covers, the headings and the buttons with their
// stored pictures, and the event bindings.

#include <string>
#include <vector>

namespace disc {

// oracle-form <parts dir> <output file>
int runOracleForm(const std::vector<std::string>& arguments);

} // namespace disc
