#pragma once
// Where a member may be written: the one place that turns a stored name into folder and
// file names beneath the destination. Anything that could reach outside the destination
// or name a device is refused, never rewritten into something else.

#include "outside/unlha32/StoredName.h"

#include <string>
#include <string_view>
#include <vector>

namespace unlha {

enum class NameProblem {
    None,
    Empty,               // no name at all
    Absolute,            // starts at a root ('\' or '/')
    Drive,               // "C:" or a full-width "Ｃ："
    ParentStep,          // a ".." component
    DotStep,             // "." or a component of dots and blanks only
    EmptyStep,           // two separators in a row, or a file name ending in one
    DeviceName,          // CON, PRN, AUX, NUL, COM1-9, LPT1-9 and the like
    ForbiddenCharacter,  // < > : " | ? * or a control character
    NotCodePage932,      // bytes that are not code page 932
    TooLong,             // a component longer than the host allows
};

// A short English reason, for the command-line tool and the output text.
const char* DescribeNameProblem(NameProblem problem);

struct MemberPath {
    std::string archiveName;              // code page 932, '\' between folders (for reports)
    std::vector<std::string> components;  // UTF-8 host names, folders then the file
    NameProblem problem = NameProblem::None;
};

// The stored name as one code page 932 path with '\' between folders: the folder field
// and the file field joined, 0xFF and '/' turned into '\'.
std::string JoinStoredName(const StoredName& name);

// Checks a stored name. A folder member may end in one separator; a file may not.
MemberPath CheckMemberPath(const StoredName& name, bool isFolder);

// True when a name (code page 932 bytes of one component) is a device name of Windows:
// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, CONIN$, CONOUT$, CLOCK$, in any letter case,
// with or without an extension and trailing blanks.
bool IsDeviceName(std::string_view component);

}  // namespace unlha
