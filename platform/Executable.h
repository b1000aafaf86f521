#pragma once
// Where the running program lives on the host.

#include <filesystem>

// The running executable's host path (from /proc/self/exe); empty if it cannot be read.
std::filesystem::path HostExecutablePath();

// The folder that holds the running executable; empty if unknown.
std::filesystem::path HostExecutableDir();
