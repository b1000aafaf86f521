#include "framework/media/AudioDecoder.h"

#include "framework/media/MediaError.h"
#include "framework/media/MediaFile.h"

PcmBuffer DecodeAudio(MediaFile& file, const AudioTarget& target, std::int64_t maxBytes)
{
    if (!file.Audio())
        throw EMediaError(MediaErrorKind::NoAudio, file.Path().string() + ": no audio stream");
    if (file.wave_)
        return DecodeWave(file.Path(), *file.wave_, target, maxBytes);
    MediaFault fault;
    PcmBuffer pcm = file.source_->DecodeAudio(target, maxBytes, fault);
    fault.ThrowIfFailed();
    return pcm;
}
