#pragma once
// Shortening a status line to the width of its control, a path from the middle and any
// other text at its end. Texts are code page 932; `measure` gives a text's width in the
// control's font.

#include <functional>
#include <string>
#include <string_view>

using TextWidthFunction = std::function<int(std::string_view)>;

// One step of shortening a path's folder part: "\a\b\" -> "\...\b\", "\...\b\" ->
// "\...\", "...\" -> "", "\" -> "".
std::string ShortenDirPart(std::string_view dir);

// The path shortened from the middle until it fits `width`: C:\Program Files\Foo\file.txt
// becomes C:\...\Foo\file.txt, C:\...\file.txt, ...\file.txt, and at last file.txt. Stops
// at the first form that fits (or at the bare name).
std::string FitPathText(std::string_view text, int width, const TextWidthFunction& measure);

// The text cut at its end, a whole character at a time, with "..." after it, until it
// fits `width` (or only "..." is left).
std::string FitEndText(std::string_view text, int width, const TextWidthFunction& measure);
