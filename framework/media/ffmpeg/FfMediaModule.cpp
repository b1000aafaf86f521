// The module's one entry point: the FFmpeg part of the media engine, loaded by
// the engine the first time a file needs it (see framework/media/MediaModule.h).
#include "framework/media/ffmpeg/FfBackend.h"

extern "C" __attribute__((visibility("default"))) const MediaBackend* VnMediaBackend(int version)
{
    return version == kMediaBackendVersion ? &FfMediaBackend() : nullptr;
}
