#pragma once
// The real desk-tour window on the offscreen platform, reading the demo
// disc's data through a temporary prefix (drive Q: is the disc).

#include "roomtour/FrmMain.h"

#include <QTemporaryDir>

#include <filesystem>
#include <string>
#include <vector>

class TApplication;

namespace roomtour_test {

// Creates the application once, with a fresh prefix; sets the command line.
TApplication* StartApplication(const std::vector<std::string>& arguments);
// Sets the command line the program sees.
void SetArguments(const std::vector<std::string>& arguments);
// The demo disc's data folder (host path).
std::filesystem::path DiscDataFolder();
// Points DataDir at the disc's data, or at a copy without the given files.
void UseDiscData();
// Returns the copy's folder (host path), where a test may damage files.
std::filesystem::path UseDataWithout(const std::vector<std::string>& missing);
// The main window, created and shown as the program does it.
TFrmMain* CreateShownMainForm();
// Destroys the main window (its OnDestroy runs).
void DestroyMainForm();

} // namespace roomtour_test
