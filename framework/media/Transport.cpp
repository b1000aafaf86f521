#include "framework/media/Transport.h"

#include "framework/media/PcmBuffer.h"

#include <algorithm>

void Transport::Load(std::int64_t lengthFrames, int sampleRate)
{
    mode_ = TransportMode::Stopped;
    length_ = std::max<std::int64_t>(lengthFrames, 0);
    rate_ = sampleRate > 0 ? sampleRate : 1;
    position_ = 0;
    anchorFrame_ = 0;
    anchorMs_ = 0;
}

void Transport::Unload()
{
    *this = Transport();
}

std::int64_t Transport::LengthMs() const { return FramesToMs(length_, rate_); }

std::int64_t Transport::PositionMs() const { return FramesToMs(position_, rate_); }

std::int64_t Transport::PositionAt(std::int64_t nowMs) const
{
    if (mode_ != TransportMode::Playing)
        return position_;
    // A clock that reads earlier than the start of this play has not moved yet.
    const std::int64_t elapsed = std::max<std::int64_t>(nowMs - anchorMs_, 0);
    return std::min(anchorFrame_ + elapsed * rate_ / 1000, length_);
}

bool Transport::Play(std::int64_t nowMs)
{
    if (mode_ == TransportMode::Unloaded)
        return false;
    if (mode_ == TransportMode::Playing)
        return true;
    if (position_ >= length_) {
        mode_ = TransportMode::Stopped;
        return false;
    }
    mode_ = TransportMode::Playing;
    anchorFrame_ = position_;
    anchorMs_ = nowMs;
    return true;
}

void Transport::Freeze(std::int64_t nowMs)
{
    if (mode_ == TransportMode::Playing)
        position_ = std::max(position_, PositionAt(nowMs));
}

void Transport::Stop(std::int64_t nowMs)
{
    if (mode_ == TransportMode::Unloaded)
        return;
    Freeze(nowMs);
    mode_ = TransportMode::Stopped;
}

void Transport::Pause(std::int64_t nowMs)
{
    if (mode_ == TransportMode::Unloaded)
        return;
    Freeze(nowMs);
    mode_ = position_ >= length_ ? TransportMode::Stopped : TransportMode::Paused;
}

void Transport::Seek(std::int64_t frame)
{
    if (mode_ == TransportMode::Unloaded)
        return;
    position_ = std::clamp<std::int64_t>(frame, 0, length_);
    mode_ = TransportMode::Stopped;
}

bool Transport::AdvanceTo(std::int64_t nowMs)
{
    if (mode_ != TransportMode::Playing)
        return false;
    position_ = std::max(position_, PositionAt(nowMs));
    if (position_ < length_)
        return false;
    mode_ = TransportMode::Stopped;
    return true;
}

bool Transport::Finish()
{
    if (mode_ != TransportMode::Playing)
        return false;
    position_ = length_;
    mode_ = TransportMode::Stopped;
    return true;
}
