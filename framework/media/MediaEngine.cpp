#include "framework/media/MediaEngine.h"

#include "framework/media/AudioDecoder.h"
#include "framework/media/AudioOutput.h"
#include "framework/media/MediaError.h"

#include <utility>

MediaEngine::MediaEngine(SinkFactory factory) : factory_(std::move(factory))
{
    if (!factory_)
        factory_ = [] { return CreateAudioSink(); };
}

MediaEngine::~MediaEngine() { Close(); }

namespace {

// A silence as long as a video, for clips without a sound track.
PcmBuffer SilenceFor(const MediaFile& file, const PcmFormat& format)
{
    std::int64_t ms = file.DurationMs();
    if (ms <= 0 && file.Video() && file.Video()->frameRateNum > 0 && file.Video()->frameCount > 0)
        ms = file.Video()->frameCount * 1000 * file.Video()->frameRateDen / file.Video()->frameRateNum;
    const std::int64_t frames = MsToFrames(ms, format.sampleRate);
    if (frames * format.BytesPerFrame() > kMaxDecodedAudioBytes)
        throw EMediaError(MediaErrorKind::TooLarge, file.Path().string() + ": the clip is too long to play");
    PcmBuffer silence;
    silence.format = format;
    silence.bytes.assign(static_cast<std::size_t>(frames * format.BytesPerFrame()), 0);
    return silence;
}

}  // namespace

void MediaEngine::Open(const std::filesystem::path& hostPath, MediaKind kind)
{
    Close();
    if (reportDepth_ == 0)
        retired_.clear();
    auto file = std::make_unique<MediaFile>(hostPath);
    auto sink = factory_();
    const PcmFormat format = sink->Format();
    PcmBuffer pcm;
    if (file->Audio()) {
        pcm = DecodeAudio(*file, AudioTarget{format.sampleRate, format.channels, format.sampleType});
    } else if (kind == MediaKind::Video && file->Video()) {
        pcm = SilenceFor(*file, format);
    } else {
        throw EMediaError(MediaErrorKind::NoAudio, hostPath.string() + ": no audio stream");
    }
    file_ = std::move(file);
    sink_ = std::move(sink);
    pcm_ = std::move(pcm);
    transport_.Load(pcm_.Frames(), pcm_.format.sampleRate);
}

void MediaEngine::Close()
{
    if (sink_)
        sink_->Stop();
    transport_.Unload();
    RetireSink();
    pcm_ = PcmBuffer();
    file_.reset();
}

struct MediaEngine::ReportScope {
    explicit ReportScope(MediaEngine& engine) : engine(engine) { ++engine.reportDepth_; }
    ~ReportScope() { --engine.reportDepth_; }
    MediaEngine& engine;
};

void MediaEngine::RetireSink()
{
    if (!sink_)
        return;
    if (reportDepth_ > 0)
        retired_.push_back(std::move(sink_));
    else
        sink_.reset();
}

bool MediaEngine::Play()
{
    if (!IsOpen())
        return false;
    if (transport_.Mode() == TransportMode::Playing)
        return true;
    // The sink's clock starts at 0 with each Start.
    if (!transport_.Play(0))
        return false;
    sink_->Start(pcm_, transport_.PositionFrames(), this);
    return true;
}

void MediaEngine::Stop()
{
    if (!IsOpen())
        return;
    const std::int64_t played = sink_->PlayedMs();
    sink_->Stop();
    transport_.Stop(played);
}

void MediaEngine::Pause()
{
    if (!IsOpen())
        return;
    const std::int64_t played = sink_->PlayedMs();
    sink_->Stop();
    transport_.Pause(played);
}

void MediaEngine::Seek(std::int64_t ms)
{
    if (!IsOpen())
        return;
    sink_->Stop();
    transport_.Seek(MsToFrames(ms, pcm_.format.sampleRate));
}

std::int64_t MediaEngine::PositionMs() const
{
    if (!IsOpen())
        return 0;
    return FramesToMs(transport_.PositionAt(sink_->PlayedMs()), pcm_.format.sampleRate);
}

const char* MediaEngine::OutputName() const { return sink_ ? sink_->Name() : ""; }

void MediaEngine::SinkProgress(std::int64_t playedMs)
{
    ReportScope scope(*this);
    if (transport_.AdvanceTo(playedMs))
        Ended();
}

void MediaEngine::SinkDrained()
{
    ReportScope scope(*this);
    if (transport_.Finish())
        Ended();
}

void MediaEngine::Ended()
{
    sink_->Stop();
    if (OnEnded)
        OnEnded();
}
