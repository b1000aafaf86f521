#pragma once
// AudioSink: where decoded sound goes, and the clock that playing runs on.
//
// A sink plays a PCM buffer from a given frame to its end and reports, on the
// thread that started it, how far its clock has run since the start (played
// milliseconds) and when everything has been played out. The engine turns those
// reports into positions and modes (see Transport); only sinks own real time.

#include "framework/media/PcmBuffer.h"

#include <cstdint>

class AudioSinkListener {
public:
    virtual ~AudioSinkListener() = default;
    // The sink's clock: milliseconds played since the last Start.
    virtual void SinkProgress(std::int64_t playedMs) = 0;
    // Everything from the start frame to the end has been played out.
    virtual void SinkDrained() = 0;
};

class AudioSink {
public:
    virtual ~AudioSink() = default;

    // The format the buffer given to Start must be in.
    virtual PcmFormat Format() const = 0;
    // "device" while sound goes to an output device, "silent" while only the clock runs.
    virtual const char* Name() const = 0;

    // Plays pcm from firstFrame to its end; the buffer must stay alive and
    // unchanged until Stop or the drained report. Replaces any running play.
    // Never fails: a sink that cannot make a sound keeps the clock running.
    virtual void Start(const PcmBuffer& pcm, std::int64_t firstFrame, AudioSinkListener* listener) = 0;
    // Ends the running play at once; no reports follow. Safe to call from a
    // report and when nothing plays.
    virtual void Stop() = 0;
    // Milliseconds played since the last Start (what the next progress report
    // would say).
    virtual std::int64_t PlayedMs() const = 0;
};
