#pragma once
// The programs on the disc and how each one tells the launcher it ended.

#include <QString>

#include <optional>
#include <vector>

struct DiscProgram {
    QString folder;     // folder beside the launcher
    QString executable; // file in that folder
    QString title;      // shown on its button
    QString subtitle;
};

const std::vector<DiscProgram>& DiscPrograms();

// What a message from a running program asks of the launcher.
enum class LauncherAction { None, Quit, ShowMenu };
LauncherAction ActionForMessage(unsigned message);
