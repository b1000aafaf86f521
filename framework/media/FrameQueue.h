#pragma once
// FrameQueue: the few decoded frames that lie ready between the decoding
// thread and the thread that shows them. Bounded: the decoder waits while it
// is full, so decoding runs only a little ahead of the picture and the memory
// stays that of a handful of frames. The showing side never waits.
//
// One producer and one consumer. Cancel wakes a waiting producer for good (a
// new play starts on a fresh queue state with Reset, once the producer is gone).

#include "framework/media/MediaInfo.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

class FrameQueue {
public:
    explicit FrameQueue(std::size_t capacity = 4);

    // ---- the decoding side
    // Adds a frame, waiting while the queue is full. False (the frame is not
    // taken) once the queue is cancelled.
    bool Push(VideoFrame&& frame);
    // No more frames will come: the stream has ended, or decoding failed with
    // `error` (empty for a plain end).
    void Finish(std::string error = {});

    // ---- the showing side
    // Takes the frames due at frame index `dueIndex` (see DueFrameCount): the
    // last of them into `frame`; the ones before it are dropped and counted in
    // `dropped`. False, and nothing taken, when none is due.
    bool TakeDue(std::int64_t dueIndex, VideoFrame& frame, std::int64_t& dropped);
    // The index of the next ready frame, if one is ready.
    std::optional<std::int64_t> NextIndex() const;
    // The producer has finished and every frame has been taken.
    bool Drained() const;
    bool Finished() const;
    // Why decoding stopped early (empty for a plain end or while running).
    std::string Error() const;

    // Wakes a waiting producer; Push fails from now on.
    void Cancel();
    // Empties the queue for a new producer (call only while none runs).
    void Reset();

private:
    const std::size_t capacity_;
    mutable std::mutex mutex_;
    std::condition_variable space_;
    std::deque<VideoFrame> frames_;
    bool finished_ = false;
    bool cancelled_ = false;
    std::string error_;
};
