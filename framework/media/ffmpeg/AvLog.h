#pragma once
// FFmpeg prints its own diagnostics to stderr. The engine reports every failure
// as an error of its own, so FFmpeg's lines would only be noise for the user:
// this lowers its log level to panics once per process (fatal messages too are
// left out: a damaged MJPEG frame, for one, is reported at that level).
// Setting VARNOOK_AV_LOG=1 keeps FFmpeg's messages for debugging.
void QuietAvLog();
