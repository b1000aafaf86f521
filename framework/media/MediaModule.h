#pragma once
// Finding and loading the media engine's FFmpeg module (see MediaBackend.h).
//
// The module is built into the disc's system folder, beside the archive
// library, and the prefix's first-use set-up copies it into C:\WINDOWS\SYSTEM
// with the other system files. It is looked for, by its file name
// (case-insensitively), in
//   1. the disc's system folder beside the running program (DiscSystemFolder),
//   2. the program's own folder (where the tests and benchmarks have it),
//   3. the prefix's system folder,
// and loaded once, the first time a file needs it; it stays loaded for the
// life of the process.

#include "framework/media/MediaBackend.h"

#include <filesystem>

inline constexpr const char* kMediaModuleName = "VNMEDIA.DLL";

// The FFmpeg part: the one handed over with UseMediaBackend, else the module's.
// Raises EMediaError (NoDecoder, naming the module and the cause) when the
// module is nowhere to be found, cannot be loaded or is of another version.
const MediaBackend& RequireMediaBackend();

// For a program that links the FFmpeg part directly (the fuzz target): use
// `backend` and load no module (null: load the module again).
void UseMediaBackend(const MediaBackend* backend);

// Test seam: from now on the module is only looked for as `file` (empty: in
// the usual places again). A module loaded before stays loaded, unused while
// the seam names another file.
void SetMediaModuleFileForTesting(const std::filesystem::path& file);
