#pragma once
// TFXImage: stands for the outside effects image control the fortune viewer
// hosts. It shows one picture at its top-left corner and, when it is made
// visible with a new picture (or given one while visible), reveals it over
// what the screen showed there before (outside/fximage/Reveal.h). When the
// reveal is complete it raises OnNotify once. With FXEnabled False a new
// picture shows at once; with the notify switch off no notification is
// raised. Child controls are drawn over the picture; mouse moves reach
// OnMouseMove as for any control.
//
// Only the control's timer knows the clock: it asks for a paint at the
// display's frame rate, and each paint draws the reveal at the time elapsed.

#include "framework/graphics/Picture.h"
#include "framework/widgets/Controls.h"

#include <QElapsedTimer>
#include <QImage>

#include <memory>

class QTimer;
class RevealPattern;

class TFXImage : public TWinControl {
    VN_COMPONENT(TFXImage)
public:
    explicit TFXImage(TComponent* owner);
    ~TFXImage() override;

    // ---- the members the host uses (dispatch ids of the control's interface)
    static constexpr int kDispPicture = 4;
    static constexpr int kDispFXEnabled = 58;
    static constexpr int kDispNotify = 63;

    // The picture shown; assigning copies it and starts a reveal (at once
    // when visible, else when next made visible).
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* picture);
    // The transition effect. Switched off during a reveal, the picture shows still at once.
    bool FXEnabled() const { return fxEnabled_; }
    void SetFXEnabled(bool enabled);
    // The notify switch ("_DFximg32_Notify"): whether the end of a reveal raises OnNotify.
    bool DFximg32_Notify() const { return notify_; }
    void SetDFximg32_Notify(bool notify) { notify_ = notify; }
    TNotifyEventProp OnNotify;

    void SetVisible(bool visible) override;

    // ---- state
    bool Revealing() const { return revealing_; }
    // Milliseconds since the current reveal began (0 when none runs).
    int RevealElapsed() const;
    // Frames of reveals painted since the control was made (for measuring).
    int RevealFramesPainted() const { return framesPainted_; }
    // What the control shows now, as it paints it (without its children).
    QImage CurrentLook() const;
    // What the current reveal started from.
    const QImage& RevealStart() const { return before_; }

    // Ends a running reveal now, as its timer would at the end: the picture
    // shows still and OnNotify is raised when the switch is on.
    void FinishReveal();

protected:
    // The control draws every pixel of itself straight onto its widget.
    void PaintWidget(QPainter& painter, const QRect& dirty) override;

private:
    void PictureChanged();
    void BeginReveal(QImage before);
    void ScheduleFrame();
    void FrameDue();
    // The picture at its place on a black control-sized surface.
    QImage StillLook() const;
    QImage ScreenBeneath() const;
    void RaiseNotify();

    std::unique_ptr<TPicture> picture_;
    QImage shown_;  // the picture, Format_RGB32
    bool fxEnabled_ = true;
    bool notify_ = true;
    bool revealPending_ = false;
    bool revealing_ = false;
    QImage before_;
    QImage after_;  // StillLook() when the reveal began
    QImage frame_;
    std::unique_ptr<RevealPattern> pattern_;
    QElapsedTimer clock_;
    std::unique_ptr<QTimer> timer_;
    int frameMs_ = 16;
    int lastFrameIndex_ = -1;
    int framesPainted_ = 0;
};

void RegisterFXImageClasses();
