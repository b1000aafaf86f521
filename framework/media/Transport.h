#pragma once
// Transport: the position and mode of one loaded piece of media, with time
// given as data. It knows no clock: whoever plays the media (a sink) says how
// far its clock has run, and the transport works out where playing has got to.
// Tests drive it with plain numbers.
//
// Positions are in sample frames of the played PCM; times are milliseconds of
// the sink's clock (any origin; it must not run backwards during one play).

#include <cstdint>

enum class TransportMode { Unloaded, Stopped, Playing, Paused };

class Transport {
public:
    // Loads media of `lengthFrames` at `sampleRate`: stopped at the start.
    void Load(std::int64_t lengthFrames, int sampleRate);
    void Unload();

    TransportMode Mode() const { return mode_; }
    bool IsLoaded() const { return mode_ != TransportMode::Unloaded; }
    std::int64_t LengthFrames() const { return length_; }
    std::int64_t PositionFrames() const { return position_; }
    std::int64_t LengthMs() const;
    std::int64_t PositionMs() const;
    // The position is at the end (where a play that ran out stops).
    bool AtEnd() const { return IsLoaded() && position_ >= length_; }
    // Where a play that is running would be at the clock time `nowMs`; the
    // current position when not playing.
    std::int64_t PositionAt(std::int64_t nowMs) const;

    // Starts (or resumes) playing from the current position at clock time nowMs.
    // Returns false, and stays stopped, when the position is at the end: there
    // is nothing left to play. Playing already: nothing changes, true.
    bool Play(std::int64_t nowMs);
    // Stop and Pause keep what was played up to nowMs as the position.
    void Stop(std::int64_t nowMs);
    void Pause(std::int64_t nowMs);
    // Moves to `frame` (clamped to the media) and stops there.
    void Seek(std::int64_t frame);

    // The sink's clock reached nowMs. Returns true when this ends the play: the
    // position reached the end, the mode is Stopped.
    bool AdvanceTo(std::int64_t nowMs);
    // The sink has played out everything it was given: the play ends at the end,
    // whatever the clock says (a device clock may lag its buffer). True when a
    // play was running.
    bool Finish();

private:
    void Freeze(std::int64_t nowMs);

    TransportMode mode_ = TransportMode::Unloaded;
    std::int64_t length_ = 0;
    int rate_ = 0;
    std::int64_t position_ = 0;
    // Where the running play started, in frames and in clock time.
    std::int64_t anchorFrame_ = 0;
    std::int64_t anchorMs_ = 0;
};
