#pragma once
// Runs an outside tool (an independent reader of what the code under test wrote) and
// gives back its exit status and everything it printed.

#include <string>
#include <vector>

struct ToolResult {
    int status = -1;  // the exit status; -1 when the tool could not be run
    std::string output;  // standard output and standard error together
};

// Runs `program` (looked up on PATH) with `arguments`, no shell in between.
ToolResult RunTool(const std::string& program, const std::vector<std::string>& arguments);

// Whether `program` is on PATH.
bool HaveTool(const std::string& program);
