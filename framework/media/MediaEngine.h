#pragma once
// MediaEngine: one opened piece of media and its playing. Opens a file (a host
// path), decodes its sound into memory, plays it through an audio sink and
// keeps position and mode (see Transport). Commands return at once; the end of a
// play arrives as OnEnded, on the thread that runs the sink (the UI thread).
//
// Clips (MediaKind::Video) open with their pictures too: the sound track plays
// through the sink and the pictures follow its clock (see VideoPlayback); a
// clip without sound plays a silence as long as its video on a silent sink,
// whose clock is the steady one. A clip lasts as long as the longer of its
// sound and its pictures, counted from the data actually in the file.

#include "framework/media/AudioSink.h"
#include "framework/media/MediaFile.h"
#include "framework/media/PcmBuffer.h"
#include "framework/media/Transport.h"
#include "framework/media/VideoPlayback.h"

#include <QTimer>

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

    // The clip's picture on show; null when what is open has no pictures.
    const VideoFrame* Picture() const { return video_ ? &video_->Picture() : nullptr; }
    // How the pictures have kept up so far (all zero without pictures).
    VideoStats PictureStats() const { return video_ ? video_->Stats() : VideoStats{}; }
    // The picture on show changed (a new frame came due, or a jump). Called on
    // the engine's thread, from the message loop or from inside Seek; the
    // handler must not give the engine commands.
    std::function<void()> OnPicture;

    // A play ran to the end of the media (not called for Stop or Pause). The
    // handler may give any command (even Close), but must not destroy the engine:
    // it runs inside a report of the sink.
    std::function<void()> OnEnded;

private:
    void SinkProgress(std::int64_t playedMs) override;
    void SinkDrained() override;
    void Ended();
    // Looks at the clock and puts the due picture on show; runs from Play
    // until the pictures have caught up with a play that ended or stopped.
    void PresentPictures();
    void SchedulePictures(std::int64_t delayMs);
    // A sink closed from inside one of its own reports must outlive the report:
    // it is kept until the next Open or the engine's end.
    void RetireSink();
    struct ReportScope;

    SinkFactory factory_;
    std::unique_ptr<MediaFile> file_;
    std::unique_ptr<AudioSink> sink_;
    PcmBuffer pcm_;
    Transport transport_;
    std::unique_ptr<VideoPlayback> video_;
    QTimer presenter_;
    int reportDepth_ = 0;
    std::vector<std::unique_ptr<AudioSink>> retired_;
};
