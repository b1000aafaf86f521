#include "framework/media/FrameQueue.h"

#include "framework/media/FrameSchedule.h"

#include <algorithm>
#include <vector>

FrameQueue::FrameQueue(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 1)) {}

bool FrameQueue::Push(VideoFrame&& frame)
{
    std::unique_lock lock(mutex_);
    space_.wait(lock, [this] { return cancelled_ || frames_.size() < capacity_; });
    if (cancelled_)
        return false;
    frames_.push_back(std::move(frame));
    return true;
}

void FrameQueue::Finish(std::string error)
{
    std::lock_guard lock(mutex_);
    finished_ = true;
    error_ = std::move(error);
}

bool FrameQueue::TakeDue(std::int64_t dueIndex, VideoFrame& frame, std::int64_t& dropped)
{
    std::size_t due;
    {
        std::lock_guard lock(mutex_);
        std::vector<std::int64_t> indices;
        indices.reserve(frames_.size());
        for (const VideoFrame& ready : frames_)
            indices.push_back(ready.index);
        due = DueFrameCount(indices, dueIndex);
        if (due == 0)
            return false;
        dropped += static_cast<std::int64_t>(due - 1);
        frames_.erase(frames_.begin(), frames_.begin() + static_cast<std::ptrdiff_t>(due - 1));
        frame = std::move(frames_.front());
        frames_.pop_front();
    }
    space_.notify_one();
    return true;
}

std::optional<std::int64_t> FrameQueue::NextIndex() const
{
    std::lock_guard lock(mutex_);
    if (frames_.empty())
        return std::nullopt;
    return frames_.front().index;
}

bool FrameQueue::Drained() const
{
    std::lock_guard lock(mutex_);
    return finished_ && frames_.empty();
}

bool FrameQueue::Finished() const
{
    std::lock_guard lock(mutex_);
    return finished_;
}

std::string FrameQueue::Error() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

void FrameQueue::Cancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    space_.notify_all();
}

void FrameQueue::Reset()
{
    std::lock_guard lock(mutex_);
    frames_.clear();
    finished_ = false;
    cancelled_ = false;
    error_.clear();
}
