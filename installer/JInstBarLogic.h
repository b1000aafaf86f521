#pragma once
// The progress window's logic as plain functions: the command line it hands the archive
// library, and what each progress report does to the bar and the label. The window
// (JInstBar.h) only shows the results.

#include "outside/unlha32/UnlhaApi.h"

#include <string>

// The folder with one trailing '\' (a trail byte 0x5C of a double-byte character is not one).
std::string FolderWithSeparator(std::string folderName);

// The installer's command line: fixed switches, then the archive, the folder (given a
// trailing '\' when it has none) and "*.*", each path in double quotes. Code page 932.
std::string ExtractCommandLine(const std::string& lzhFileName, std::string folderName);

// The bar position for x bytes of `totalBytes`: x * 100 / total to the nearest integer,
// halves to the even neighbour, kept within 0 to 100 as the bar control keeps it.
int ProgressBarPosition(double bytes, double totalBytes);

// What the window keeps between reports, and what it shows.
struct ExtractProgressState {
    double TotalBytes = 0;   // NeedKB * 1024: the caller's estimate, not the archive's
    double DoneBytes = 0;    // bytes of members already finished
    double CurrentSize = 0;  // size of the member being unpacked
    int Position = 0;        // the bar
    std::string Label;       // "ファイル名：" and the member name (code page 932)
};

// The label's text before any member: "ファイル名：" (code page 932).
std::string FileNameLabelPrefix();

// Starts an extraction: the bar at 0 and the totals from NeedKB.
void BeginExtractProgress(ExtractProgressState& state, int needKB);

// One report from the library (states 0, 1, 2; others change nothing).
void ApplyExtractProgress(ExtractProgressState& state, UINT reportState, const UnlhaProgressRecord& record);
