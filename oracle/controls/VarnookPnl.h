#pragma once
// TVarnookPanel: the fortune viewer's picture panel. A windowed panel that
// draws its picture itself, unscaled at its top-left corner, and leaves what
// the picture does not cover as it was on screen (it never erases). As a
// picture button (ctButton) it hides while it is pressed and the pointer is
// inside, so that what lies behind it shows the pressed look; OnMouseUp fires
// once for a left release inside, and presses are not armed while that
// handler and the message flush after it run.
//
// ControlType and DoVisibleChange are kept equal (DoVisibleChange is True
// exactly for ctButton); the form data always stores DoVisibleChange after
// ControlType, so the stored DoVisibleChange decides a loaded panel's type.
// Its picture is stored with the form as "CompressedData".

#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/PressToHide.h"
#include "picture/StoredPicture.h"

#include <memory>

class TVarnookPanel : public TCustomPanel {
    VN_COMPONENT(TVarnookPanel)
public:
    explicit TVarnookPanel(TComponent* owner);
    ~TVarnookPanel() override;

    bool Pressed() const { return press_.Tracker().Pressed(); }
    bool InClick() const { return press_.Tracker().InClick(); }

    // The panel takes its picture's width and height whenever the picture changes.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TControlType ControlType() const { return controlType_; }
    void SetControlType(TControlType type);
    // Fire OnMouseUp also for a left release outside the panel.
    bool DoMouseUp() const { return doMouseUp_; }
    void SetDoMouseUp(bool doMouseUp);
    bool DoVisibleChange() const { return doVisibleChange_; }
    void SetDoVisibleChange(bool doVisibleChange);
    // The panel paints only while Drawing is True.
    bool Drawing() const { return drawing_; }
    void SetDrawing(bool drawing) { drawing_ = drawing; }

    // The panel's own picture; assigning copies into it.
    TPicture* Picture() const { return picture_.get(); }
    void SetPicture(const TPicture* picture);

    // The system's colour palette changed: a panel with a picture on a form
    // that is not the active window repaints at once.
    void PaletteChanged();

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void DefineProperties(TFiler& filer) override;
    void ReadState(TReader& reader) override;
    void WriteState(TWriter& writer) override;
    const TMemoryStream* StoredData() const { return stored_.Data(); }

protected:
    bool BeginPaint() override { return drawing_; }
    void Paint() override;
    void WidgetCreated() override;

private:
    void PictureChanged();
    void UpdateTracker();

    std::unique_ptr<TPicture> picture_;
    PressToHide press_{*this};
    StoredPictureBlock stored_;
    bool autoSize_ = true;
    TControlType controlType_ = ctPanel;
    bool doMouseUp_ = false;
    bool doVisibleChange_ = false;
    bool drawing_ = true;
};
