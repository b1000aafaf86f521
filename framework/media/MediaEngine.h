#pragma once
// MediaEngine: one opened piece of media and its playing. Opens a file (a host
// path), decodes its sound into memory, plays it through an audio sink and
// keeps position and mode (see Transport). Commands return at once; the end of a
// play arrives as OnEnded, on the thread that runs the sink (the UI thread).
//
// Video files open too: their sound track plays, or, when they have none, a
// silence as long as the video, so that the clock a picture would follow runs
// all the same. The pictures come from a VideoDecoder of the same file, which
// a player steps to the frame of the engine's position.

#include "framework/media/AudioSink.h"
#include "framework/media/MediaFile.h"
#include "framework/media/PcmBuffer.h"
#include "framework/media/Transport.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

enum class MediaKind {
    Audio, // a sound: the file must have an audio stream
    Video, // a clip: a video stream, an audio stream, or both
};

class MediaEngine : private AudioSinkListener {
public:
    using SinkFactory = std::function<std::unique_ptr<AudioSink>()>;

    // The factory makes the sink for each opened file; by default the one the
    // environment chooses (see AudioOutput).
    explicit MediaEngine(SinkFactory factory = {});
    ~MediaEngine() override;
    MediaEngine(const MediaEngine&) = delete;
    MediaEngine& operator=(const MediaEngine&) = delete;

    // Closes what was open, then opens the file: stopped at its start. Raises
    // EMediaError (the engine stays closed).
    void Open(const std::filesystem::path& hostPath, MediaKind kind);
    void Close();
    bool IsOpen() const { return transport_.IsLoaded(); }

    // Plays from the current position (resumes after Pause). Playing already:
    // goes on from where it is. Returns false when the position is at the end,
    // so there is nothing to play (the mode stays stopped). Not open: false.
    bool Play();
    void Stop();
    void Pause();
    // Stops and moves to `ms` (clamped to the media).
    void Seek(std::int64_t ms);

    TransportMode Mode() const { return transport_.Mode(); }
    std::int64_t PositionMs() const;
    std::int64_t LengthMs() const { return transport_.LengthMs(); }
    bool AtEnd() const { return transport_.AtEnd(); }

    // "device" or "silent" (see AudioSink::Name); empty while closed.
    const char* OutputName() const;
    const MediaFile* File() const { return file_.get(); }
    const PcmBuffer& Sound() const { return pcm_; }

    // A play ran to the end of the media (not called for Stop or Pause). The
    // handler may give any command (even Close), but must not destroy the engine:
    // it runs inside a report of the sink.
    std::function<void()> OnEnded;

private:
    void SinkProgress(std::int64_t playedMs) override;
    void SinkDrained() override;
    void Ended();
    // A sink closed from inside one of its own reports must outlive the report:
    // it is kept until the next Open or the engine's end.
    void RetireSink();
    struct ReportScope;

    SinkFactory factory_;
    std::unique_ptr<MediaFile> file_;
    std::unique_ptr<AudioSink> sink_;
    PcmBuffer pcm_;
    Transport transport_;
    int reportDepth_ = 0;
    std::vector<std::unique_ptr<AudioSink>> retired_;
};
