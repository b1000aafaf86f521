# Writes a C++ source that holds a file's bytes:
#   cmake -DINPUT=file -DOUTPUT=file.cpp -DFUNCTION=Name -DHEADER=path/Header.h -P EmbedFile.cmake
# The source defines `const std::vector<std::uint8_t>& FUNCTION()`.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" length)
set(body "")
set(line "")
set(count 0)
math(EXPR last "${length} - 2")
if(length GREATER 0)
  foreach(i RANGE 0 ${last} 2)
    string(SUBSTRING "${hex}" ${i} 2 byte)
    string(APPEND line "0x${byte},")
    math(EXPR count "${count} + 1")
    if(count EQUAL 24)
      string(APPEND body "    ${line}\n")
      set(line "")
      set(count 0)
    endif()
  endforeach()
endif()
if(NOT line STREQUAL "")
  string(APPEND body "    ${line}\n")
endif()
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${INPUT}; do not edit.
#include \"${HEADER}\"

const std::vector<std::uint8_t>& ${FUNCTION}()
{
    static const std::vector<std::uint8_t> bytes{
${body}    };
    return bytes;
}
")
file(RENAME "${OUTPUT}.tmp" "${OUTPUT}")
