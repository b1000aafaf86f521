#pragma once
// The name of an archive member exactly as its header stores it. The decoding library
// hands out names it has already rewritten (parent steps dropped, a leading '/' turned
// into '_', and a code page 932 trail byte 0x5C taken for a separator), which would hide
// a hostile name and break Japanese ones; so the fields are read from the raw header.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace unlha {

struct StoredName {
    std::string directory;  // the folder field (0xFF, '\' or '/' between folders), may be empty
    std::string file;       // the file name field; in old headers it may hold folders too
};

// Reads the name fields of a raw header of level 0 to 3. Nothing when the header is too
// short for the fields it claims or of an unknown level.
std::optional<StoredName> ReadStoredName(const std::uint8_t* raw, std::size_t size, unsigned level);

}  // namespace unlha
