#pragma once
// The FFmpeg part of the media engine behind the engine's interfaces (see
// framework/media/MediaBackend.h): files opened by libavformat, their sound and
// pictures decoded by libavcodec. The module exports it through its one entry
// point; a program that links this part directly (the fuzz target) hands it to
// the engine with UseMediaBackend.

#include "framework/media/MediaBackend.h"

const MediaBackend& FfMediaBackend();
