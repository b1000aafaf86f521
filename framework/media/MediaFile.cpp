#include "framework/media/MediaFile.h"

#include "framework/media/MediaModule.h"

MediaFile::MediaFile(const std::filesystem::path& hostPath) : path_(hostPath)
{
    wave_ = ReadWaveLayout(hostPath);
    if (wave_) {
        info_ = WaveFileInfo(*wave_);
        return;
    }
    MediaFault fault;
    source_ = RequireMediaBackend().OpenFile(hostPath, fault);
    fault.ThrowIfFailed();
    if (!source_)
        throw EMediaError(MediaErrorKind::Unplayable, hostPath.string() + ": cannot be opened");
    info_ = source_->Info();
}

MediaFile::~MediaFile() = default;
