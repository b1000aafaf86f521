#include "framework/media/SilentSink.h"

#include <algorithm>

namespace {
// How often progress is reported; short enough that the end of a click is seen
// within a frame of the screen.
constexpr int kTickMs = 10;
}

SilentSink::SilentSink(const PcmFormat& format) : format_(format)
{
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

SilentSink::~SilentSink() = default;

void SilentSink::Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener)
{
    const std::int64_t frames = std::max<std::int64_t>(pcm.Frames() - firstFrame, 0);
    const int rate = pcm.format.sampleRate > 0 ? pcm.format.sampleRate : 1;
    playNs_ = frames * 1'000'000'000 / rate;
    listener_ = listener;
    clock_.start();
    timer_.start(kTickMs);
}

void SilentSink::Stop()
{
    timer_.stop();
    listener_ = nullptr;
}

std::int64_t SilentSink::PlayedMs() const
{
    if (!clock_.isValid())
        return 0;
    return std::min<std::int64_t>(clock_.nsecsElapsed(), playNs_) / 1'000'000;
}

void SilentSink::Tick()
{
    AudioSinkListener* listener = listener_;
    if (!listener)
        return;
    if (clock_.nsecsElapsed() >= playNs_) {
        Stop();
        listener->SinkDrained();
        return;
    }
    listener->SinkProgress(PlayedMs());
}
