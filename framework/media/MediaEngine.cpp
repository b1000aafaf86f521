#include "framework/media/MediaEngine.h"

#include "framework/media/AudioDecoder.h"
#include "framework/media/AudioOutput.h"
#include "framework/media/MediaError.h"
#include "framework/media/SilentSink.h"

#include <algorithm>
#include <utility>

namespace {
// The pictures' clock is looked at when the next frame is due, and at least
// this often, so that a sound device's clock running at a rate of its own
// cannot make a frame late by more than this.
constexpr std::int64_t kMaxPictureWaitMs = 20;
// How often to look while the decoding thread has no frame ready.
constexpr int kPicturePollMs = 5;
}

MediaEngine::MediaEngine(SinkFactory factory) : factory_(std::move(factory))
{
    if (!factory_)
        factory_ = [] { return CreateAudioSink(); };
    presenter_.setSingleShot(true);
    presenter_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&presenter_, &QTimer::timeout, [this] { PresentPictures(); });
}

MediaEngine::~MediaEngine() { Close(); }

namespace {

// Lengthens a sound with silence to `ms`, so that it lasts as long as the
// pictures of its clip (a clip without sound gets a silence of that length).
void PadWithSilence(PcmBuffer& pcm, std::int64_t ms, const std::filesystem::path& path)
{
    if (ms > std::int64_t{1} << 40)
        throw EMediaError(MediaErrorKind::TooLarge, path.string() + ": the clip is too long to play");
    const std::int64_t frames = MsToFrames(ms, pcm.format.sampleRate);
    if (frames <= pcm.Frames())
        return;
    if (frames * pcm.format.BytesPerFrame() > kMaxDecodedAudioBytes)
        throw EMediaError(MediaErrorKind::TooLarge, path.string() + ": the clip is too long to play");
    pcm.bytes.resize(static_cast<std::size_t>(frames * pcm.format.BytesPerFrame()), 0);
}

}  // namespace

void MediaEngine::Open(const std::filesystem::path& hostPath, MediaKind kind)
{
    Close();
    if (reportDepth_ == 0)
        retired_.clear();
    auto file = std::make_unique<MediaFile>(hostPath);
    std::unique_ptr<VideoPlayback> video;
    std::int64_t videoMs = 0;
    if (kind == MediaKind::Video && file->Video()) {
        video = std::make_unique<VideoPlayback>(hostPath);
        videoMs = VideoExtentMs(*file);
    }
    std::unique_ptr<AudioSink> sink;
    PcmBuffer pcm;
    if (file->Audio()) {
        sink = factory_();
        const PcmFormat format = sink->Format();
        pcm = DecodeAudio(*file, AudioTarget{format.sampleRate, format.channels, format.sampleType});
    } else if (video) {
        // Pictures alone run on the steady clock of a sink that plays nothing.
        sink = std::make_unique<SilentSink>();
        pcm.format = sink->Format();
    } else {
        throw EMediaError(MediaErrorKind::NoAudio, hostPath.string() + ": no audio stream");
    }
    PadWithSilence(pcm, videoMs, hostPath);
    file_ = std::move(file);
    sink_ = std::move(sink);
    pcm_ = std::move(pcm);
    video_ = std::move(video);
    transport_.Load(pcm_.Frames(), pcm_.format.sampleRate);
}

void MediaEngine::Close()
{
    presenter_.stop();
    video_.reset();
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
    if (video_) {
        video_->Run();
        SchedulePictures(0);
    }
    return true;
}

void MediaEngine::Stop()
{
    if (!IsOpen())
        return;
    const std::int64_t played = sink_->PlayedMs();
    sink_->Stop();
    transport_.Stop(played);
    // The picture catches up with where the play stopped.
    if (video_)
        SchedulePictures(0);
}

void MediaEngine::Pause()
{
    if (!IsOpen())
        return;
    const std::int64_t played = sink_->PlayedMs();
    sink_->Stop();
    transport_.Pause(played);
    if (video_)
        SchedulePictures(0);
}

void MediaEngine::Seek(std::int64_t ms)
{
    if (!IsOpen())
        return;
    sink_->Stop();
    transport_.Seek(MsToFrames(ms, pcm_.format.sampleRate));
    if (video_) {
        presenter_.stop();
        if (video_->ShowAt(PositionMs()) && OnPicture)
            OnPicture();
    }
}

void MediaEngine::SchedulePictures(std::int64_t delayMs)
{
    presenter_.start(static_cast<int>(std::clamp<std::int64_t>(delayMs, 0, kMaxPictureWaitMs)));
}

void MediaEngine::PresentPictures()
{
    if (!video_)
        return;
    const std::int64_t now = PositionMs();
    const bool playing = transport_.Mode() == TransportMode::Playing;
    if (video_->Present(now, playing) && OnPicture)
        OnPicture();
    if (playing) {
        if (video_->Exhausted())
            return; // the last picture stays
    } else if (video_->CaughtUp(now)) {
        return;
    }
    const std::optional<std::int64_t> wait = video_->MsUntilNext(now);
    SchedulePictures(wait ? *wait : kPicturePollMs);
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
