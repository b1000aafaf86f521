#pragma once
// The desk tour's main form stream: every control of the four screens in
// stacking order, with the stored button pictures and the event bindings.

#include <string>
#include <vector>

namespace disc {

// roomtour-form <parts dir> <output file>
int runRoomtourForm(const std::vector<std::string>& arguments);

} // namespace disc
