#pragma once
// SilentSink: plays nothing, but takes as long as the sound would, on a
// monotonic clock, so that players behave the same with or without an output
// device: playing, then stopped at the end, at real time.

#include "framework/media/AudioSink.h"

#include <QElapsedTimer>
#include <QTimer>

class SilentSink : public AudioSink {
public:
    explicit SilentSink(const PcmFormat& format = kStandardPcmFormat);
    ~SilentSink() override;

    PcmFormat Format() const override { return format_; }
    const char* Name() const override { return "silent"; }
    void Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener) override;
    void Stop() override;
    std::int64_t PlayedMs() const override;

private:
    void Tick();

    PcmFormat format_;
    QTimer timer_;
    QElapsedTimer clock_;
    AudioSinkListener* listener_ = nullptr;
    // Length of the running play in nanoseconds of real time.
    std::int64_t playNs_ = 0;
};
