#pragma once
// DeviceSink: plays through an audio output device with Qt Multimedia's
// QAudioSink (PulseAudio on the desktop). Its clock is what the device reports
// as played; a play ends when the device has taken everything (it runs idle).
//
// When the device cannot be opened, or fails while playing, the rest of the
// play goes on silently on a real-time clock (see SilentSink), so that a player
// never hangs in "playing" and its end comes as usual.

#include "framework/media/AudioSink.h"
#include "framework/media/SilentSink.h"

#include <QAudioDevice>
#include <QBuffer>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

class QAudioSink;

class DeviceSink : public AudioSink, private AudioSinkListener {
public:
    // `format` must be one the device supports.
    DeviceSink(const QAudioDevice& device, const PcmFormat& format);
    ~DeviceSink() override;

    PcmFormat Format() const override { return format_; }
    const char* Name() const override { return fallback_ ? "silent" : "device"; }
    void Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener) override;
    void Stop() override;
    std::int64_t PlayedMs() const override;

    // The Qt format of a PCM format.
    static bool ToQtFormat(const PcmFormat& format, class QAudioFormat* out);

private:
    void Poll();
    void StateChanged();
    void Drained();
    // Continues the running play on the silent clock from what the device played.
    void FallBack();
    std::int64_t DevicePlayedMs() const;

    // Reports of the silent fallback, shifted by what the device had played.
    void SinkProgress(std::int64_t playedMs) override;
    void SinkDrained() override;

    QAudioDevice device_;
    PcmFormat format_;
    QObject context_; // receiver of queued work; its death cancels it
    QBuffer buffer_; // before sink_: the sink reads it until it is gone
    std::unique_ptr<QAudioSink> sink_;
    QTimer poll_;
    QElapsedTimer wallClock_;
    SilentSink silent_;
    AudioSinkListener* listener_ = nullptr;
    const PcmBuffer* pcm_ = nullptr;
    std::int64_t firstFrame_ = 0;
    std::int64_t playMs_ = 0;     // length of the running play
    std::int64_t fallbackMs_ = 0; // device time played before falling back
    bool fallback_ = false;
    unsigned generation_ = 0;     // tells queued reports of an old play apart
};
