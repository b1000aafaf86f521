#pragma once
// The fortune viewer from start to end: the application and its title, the
// main window, the message loop. beforeLoop, when given, runs once the main
// window exists, just before the loop (the start-up benchmark watches for
// the first paint from there).

#include <functional>

int RunOracle(int argc, char** argv, const std::function<void()>& beforeLoop = {});
