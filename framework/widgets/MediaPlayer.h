#pragma once
// TMediaPlayer: the framework's media player control, a wrapper over the classic
// media control interface: a device is opened by type and file name, then
// played, stopped, rewound and asked for its mode and position. Playing runs on
// the media engine (framework/media): sound through the output device, or, with
// no device, on a silent clock, so that modes and the end of a play come the
// same everywhere.
//
// The control is a window but draws nothing (forms keep it hidden). A video
// device shows its pictures in the Display window: the frame on show at the
// clip's own size, at the top-left corner inside the window's bevels (clipped
// to them when the clip is larger), over the window's own look; the pictures
// follow the clip's sound, or a steady clock when it has none. Commands
// return at once, except Play with Wait set, which returns at the end of the
// play; opening and closing always finish before they return. Failures raise
// EMCIDeviceError with the device interface's error texts.
//
// Wait and Notify apply to the next command only, as in the classic control:
// after that command they are unset again (Wait: the command's own default,
// Notify: on). With Notify on, OnNotify fires once the command has completed:
// for Play at the end of the play (nvSuccessful), or earlier when another
// command cuts it short (Stop, Pause, Rewind, a new position, Close or Open:
// nvAborted; Play while playing: nvSuperseded); for the other commands right
// after them. OnNotify is always called from the message loop, never from
// inside the command.

#include "framework/media/VideoPlayback.h"
#include "framework/widgets/Controls.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class MediaEngine;
class QEventLoop;

// Raised by the media player control for every failed command.
class EMCIDeviceError : public Exception {
public:
    using Exception::Exception;
};

// The error texts of the classic device interface.
namespace MciErrorText {
inline constexpr const char* FileNotFound =
    "The specified file was not found. Make sure the path and filename are correct.";
inline constexpr const char* CannotPlay =
    "The specified file cannot be played on the specified MCI device. The file may be corrupt, "
    "or not in the correct format.";
inline constexpr const char* DeviceNotOpen = "The specified device is not open or is not recognized by MCI.";
inline constexpr const char* BadParameter = "The driver cannot recognize the specified command parameter.";
inline constexpr const char* UnknownExtension = "Cannot determine the device type from the given filename extension.";
inline constexpr const char* OutOfRange = "The specified parameter is out of range for the specified command.";
inline constexpr const char* OutOfMemory =
    "There is not enough memory available for this task. Quit one or more applications to increase "
    "available memory, and then try again.";
// The engine's FFmpeg module, which the file needs, is missing or damaged.
inline constexpr const char* CannotLoadDriver =
    "The media decoding module (VNMEDIA.DLL) cannot be loaded: it is missing or damaged.";
}  // namespace MciErrorText

enum TMPDeviceTypes {
    dtAutoSelect, dtAVIVideo, dtCDAudio, dtDAT, dtDigitalVideo, dtMMMovie, dtOther,
    dtOverlay, dtScanner, dtSequencer, dtVCR, dtVideodisc, dtWaveAudio,
};
enum TMPModes { mpNotReady, mpStopped, mpPlaying, mpRecording, mpSeeking, mpPaused, mpOpen };
enum TMPNotifyValues { nvSuccessful, nvSuperseded, nvAborted, nvFailure };

class TMediaPlayer : public TWinControl {
    VN_COMPONENT(TMediaPlayer)
public:
    explicit TMediaPlayer(TComponent* owner);
    ~TMediaPlayer() override;

    // ---- published properties
    // The device to open; dtAutoSelect chooses by the file name's extension
    // (.wav wave audio, .avi AVI video). Wave audio plays sound files of any
    // format FFmpeg reads; AVI video, digital video and movie play video files,
    // pictures and sound. The other types name devices this system has not.
    TMPDeviceTypes DeviceType() const { return deviceType_; }
    void SetDeviceType(TMPDeviceTypes type) { deviceType_ = type; }
    // A Windows path in code page 932, mapped to the host when the device opens
    // (a relative one against the current folder).
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName) { fileName_ = fileName; }
    // Play at the end of the media starts again from its start.
    bool AutoRewind() const { return autoRewind_; }
    void SetAutoRewind(bool autoRewind) { autoRewind_ = autoRewind; }
    // Opens the device once the form that holds the control has been read.
    bool AutoOpen() const { return autoOpen_; }
    void SetAutoOpen(bool autoOpen) { autoOpen_ = autoOpen; }
    // The window a video device shows its picture in (none: the pictures are
    // decoded and timed but shown nowhere).
    TWinControl* Display() const { return display_; }
    void SetDisplay(TWinControl* display);
    // The next command returns only once it has finished (see above).
    bool Wait() const { return wait_.value_or(false); }
    void SetWait(bool wait) { wait_ = wait; }
    // The next command reports its completion through OnNotify (see above).
    bool Notify() const { return notify_.value_or(true); }
    void SetNotify(bool notify) { notify_ = notify; }
    Event<void(TObject*)> OnNotify;

    // ---- commands
    // Closes any open device, then opens DeviceType with FileName: stopped at
    // the start.
    void Open();
    // Stops and closes; nothing happens when no device is open.
    void Close();
    // Plays from the current position to the end and returns at once (with
    // Wait: at the end). At the end of the media with AutoRewind on it plays
    // from the start. Playing already: goes on from where it is.
    void Play();
    void Stop();
    // Pauses a play, or resumes a paused one.
    void Pause();
    void Resume();
    // Stops and goes to the start.
    void Rewind();

    // ---- state
    // mpNotReady while no device is open.
    TMPModes Mode() const;
    // Milliseconds; 0 while no device is open. SetPosition stops there; a
    // position outside the media raises EMCIDeviceError.
    std::int64_t Position() const;
    void SetPosition(std::int64_t ms);
    std::int64_t Length() const;
    // What the last notification said.
    TMPNotifyValues NotifyValue() const { return notifyValue_; }
    // The device type that was opened (the choice of dtAutoSelect resolved).
    TMPDeviceTypes OpenedDeviceType() const { return openedType_; }
    // Where sound goes: "device" or "silent" ("" while closed).
    std::string AudioOutput() const;
    // The picture on show of an open video device (null otherwise).
    const VideoFrame* Picture() const;
    // How the pictures of the open video device have kept up with the clock.
    VideoStats PictureStats() const;

    void Loaded() override;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // Draws the picture over the display window's own look.
    void PaintPicture(TCanvas& canvas);
    // The video device starts / stops drawing in the display window.
    void AttachDisplay();
    void DetachDisplay();
    void PictureChanged();
    void RequireOpen() const;
    // Takes the Notify and Wait settings for the command being run.
    bool TakeNotify();
    bool TakeWait(bool commandDefault);
    // Ends the pending notification of a play with `value`.
    void EndPlayNotify(TMPNotifyValues value);
    void PostNotify(TMPNotifyValues value);
    void PlayEnded();
    void QuitWait();

    TMPDeviceTypes deviceType_ = dtAutoSelect;
    TMPDeviceTypes openedType_ = dtAutoSelect;
    std::string fileName_;
    bool autoRewind_ = true;
    bool autoOpen_ = false;
    TWinControl* display_ = nullptr;
    std::optional<bool> wait_;
    std::optional<bool> notify_;
    bool playNotifyPending_ = false;
    TMPNotifyValues notifyValue_ = nvSuccessful;
    std::unique_ptr<MediaEngine> engine_;
    // Receives the posted notifications; they die with it.
    std::unique_ptr<QObject> notifier_;
    std::vector<QEventLoop*> waitLoops_;
    TWinControl* paintedDisplay_ = nullptr; // the display the device draws in
    std::shared_ptr<bool> alive_;
};
