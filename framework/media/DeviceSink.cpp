#include "framework/media/DeviceSink.h"

#include <QAudioFormat>
#include <QAudioSink>

#include <algorithm>

namespace {
constexpr int kPollMs = 10;
// A device that has not run idle this long after the sound's end is taken to
// have stalled; the play ends anyway. Generous: a sound server may take a few
// hundred milliseconds to get a stream going.
constexpr std::int64_t kStallAllowanceMs = 3000;
}

bool DeviceSink::ToQtFormat(const PcmFormat& format, QAudioFormat* out)
{
    out->setSampleRate(format.sampleRate);
    out->setChannelCount(format.channels);
    out->setSampleFormat(format.sampleType == PcmSampleType::Int16 ? QAudioFormat::Int16 : QAudioFormat::Float);
    return out->isValid();
}

DeviceSink::DeviceSink(const QAudioDevice& device, const PcmFormat& format) : device_(device), format_(format)
{
    poll_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll_, &QTimer::timeout, &context_, [this] { Poll(); });
    QAudioFormat qtFormat;
    ToQtFormat(format_, &qtFormat);
    sink_ = std::make_unique<QAudioSink>(device_, qtFormat);
    QObject::connect(sink_.get(), &QAudioSink::stateChanged, &context_, [this] { StateChanged(); });
}

DeviceSink::~DeviceSink()
{
    Stop();
}

void DeviceSink::Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener)
{
    Stop();
    ++generation_;
    listener_ = listener;
    pcm_ = &pcm;
    firstFrame_ = std::clamp<std::int64_t>(firstFrame, 0, pcm.Frames());
    playMs_ = FramesToMs(pcm.Frames() - firstFrame_, pcm.format.sampleRate);
    fallback_ = false;
    fallbackMs_ = 0;
    const std::int64_t offset = firstFrame_ * pcm.format.BytesPerFrame();
    buffer_.setData(QByteArray::fromRawData(reinterpret_cast<const char*>(pcm.bytes.data()) + offset,
                                            static_cast<qsizetype>(pcm.bytes.size()) - offset));
    buffer_.open(QIODevice::ReadOnly);
    wallClock_.start();
    sink_->start(&buffer_);
    if (sink_->state() == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
        FallBack();
        return;
    }
    poll_.start(kPollMs);
}

void DeviceSink::Stop()
{
    ++generation_;
    poll_.stop();
    silent_.Stop();
    listener_ = nullptr;
    if (sink_ && sink_->state() != QAudio::StoppedState)
        sink_->stop();
    if (buffer_.isOpen())
        buffer_.close();
    buffer_.setData(QByteArray());
    pcm_ = nullptr;
}

std::int64_t DeviceSink::DevicePlayedMs() const
{
    return std::min<std::int64_t>(sink_->processedUSecs() / 1000, playMs_);
}

std::int64_t DeviceSink::PlayedMs() const
{
    if (!pcm_)
        return 0;
    if (fallback_)
        return fallbackMs_ + silent_.PlayedMs();
    return DevicePlayedMs();
}

void DeviceSink::Poll()
{
    if (!listener_ || fallback_)
        return;
    if (wallClock_.elapsed() > playMs_ + kStallAllowanceMs) {
        Drained();
        return;
    }
    listener_->SinkProgress(DevicePlayedMs());
}

void DeviceSink::StateChanged()
{
    if (!listener_ || fallback_)
        return;
    const QAudio::State state = sink_->state();
    if (state == QAudio::IdleState) {
        // Leave Qt's signal before anyone reacts (a reaction may start a new play).
        const unsigned generation = generation_;
        QMetaObject::invokeMethod(
            &context_, [this, generation] { if (generation == generation_) Drained(); }, Qt::QueuedConnection);
    } else if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
        FallBack();
    }
}

void DeviceSink::Drained()
{
    AudioSinkListener* listener = listener_;
    Stop();
    if (listener)
        listener->SinkDrained();
}

void DeviceSink::FallBack()
{
    poll_.stop();
    fallbackMs_ = pcm_ ? DevicePlayedMs() : 0;
    fallback_ = true;
    if (sink_->state() != QAudio::StoppedState)
        sink_->stop();
    silent_.Start(*pcm_, firstFrame_ + MsToFrames(fallbackMs_, pcm_->format.sampleRate), this);
}

void DeviceSink::SinkProgress(std::int64_t playedMs)
{
    if (listener_)
        listener_->SinkProgress(fallbackMs_ + playedMs);
}

void DeviceSink::SinkDrained()
{
    AudioSinkListener* listener = listener_;
    Stop();
    if (listener)
        listener->SinkDrained();
}
