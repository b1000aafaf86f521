#pragma once
// TAnimate: the animation control. It plays frames StartFrame..StopFrame (counted from
// 1) in turn, Repetitions times (0: for ever), from a standard animation named by
// CommonAVI. Windows plays the control on a thread of its own, so it keeps moving while
// the program's thread is busy; here a timer moves it while the event loop runs, and a
// busy program calls AdvanceToNow, which shows the frame due at this moment.

#include "framework/widgets/AnimateFrames.h"
#include "framework/widgets/Controls.h"

#include <QElapsedTimer>

#include <cstdint>
#include <vector>

class QTimer;

// The frame (counted from 1) shown `elapsedMs` after playing began: start..stop in
// turn, `intervalMs` each, `repetitions` rounds (0: no end), then the stop frame.
int AnimateFrameAt(std::int64_t elapsedMs, int startFrame, int stopFrame, int intervalMs, int repetitions);

class TAnimate : public TWinControl {
    VN_COMPONENT(TAnimate)
public:
    explicit TAnimate(TComponent* owner);
    ~TAnimate() override;

    TCommonAVI CommonAVI() const { return commonAvi_; }
    void SetCommonAVI(TCommonAVI avi);
    int FrameCount() const { return static_cast<int>(frames_.size()); }
    int FrameWidth() const;
    int FrameHeight() const;

    int StartFrame() const { return startFrame_; }
    void SetStartFrame(int frame);
    int StopFrame() const { return stopFrame_; }
    void SetStopFrame(int frame);
    int Repetitions() const { return repetitions_; }
    void SetRepetitions(int repetitions) { repetitions_ = repetitions < 0 ? 0 : repetitions; }
    bool Center() const { return center_; }
    void SetCenter(bool center);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // The Windows style that drives the control by timer messages instead of a thread;
    // kept for the form data, both ways look the same here.
    bool Timers() const { return timers_; }
    void SetTimers(bool timers) { timers_ = timers; }

    bool Active() const { return playing_; }
    void SetActive(bool active);
    void Play(int fromFrame, int toFrame, int count);
    void Stop();
    void Seek(int frame);
    int CurrentFrame() const { return currentFrame_; }

    // Moves to the frame due now and repaints at once when it changed; true then.
    bool AdvanceToNow();

protected:
    void PaintWidget(QPainter& painter, const QRect& dirty) override;

private:
    void ShowFrame(int frame);

    TCommonAVI commonAvi_ = aviNone;
    std::vector<QImage> frames_;
    int startFrame_ = 1;
    int stopFrame_ = 0;  // 0: the last frame
    int repetitions_ = 0;
    bool center_ = true;
    bool transparent_ = true;
    bool timers_ = false;
    bool playing_ = false;
    int playFrom_ = 1;
    int playTo_ = 1;
    int playCount_ = 0;
    int currentFrame_ = 1;
    QElapsedTimer clock_;
    QTimer* timer_ = nullptr;
};

void RegisterAnimate();
