#pragma once
// TImagePanel: the desk tour's one visual building block. A windowed panel
// that shows a picture at its top-left corner through its inner picture
// control, paints nothing else at run time, and as a picture button
// (ctButton) hides while it is pressed and the pointer is inside, so that the
// holder picture behind it shows the pressed look. OnMouseUp fires once for a
// left release inside; presses are not armed while that handler and the
// message flush after it run.
//
// TInsideImage: the panel's inner picture control. It always has the size of
// its picture and passes every mouse event and click on to the panel.

#include "framework/graphics/Gdi.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/PressToHide.h"
#include "picture/StoredPicture.h"

#include <memory>

class TImagePanel;

class TInsideImage : public TImage {
    VN_COMPONENT(TInsideImage)
public:
    explicit TInsideImage(TComponent* owner);

    // Always the picture's size (0 x 0 while it is empty), at the given place.
    void SetBounds(int left, int top, int width, int height) override;

    void Click() override;
    void DblClick() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TImagePanel* Panel() const;
};

class TImagePanel : public TCustomPanel {
    VN_COMPONENT(TImagePanel)
public:
    explicit TImagePanel(TComponent* owner);
    ~TImagePanel() override;

    TInsideImage* InnerImage() const { return innerImage_; }
    bool Pressed() const { return press_.Tracker().Pressed(); }
    bool InClick() const { return press_.Tracker().InClick(); }

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    TControlType ControlType() const { return controlType_; }
    void SetControlType(TControlType type);
    bool DoMouseUp() const { return doMouseUp_; }
    void SetDoMouseUp(bool doMouseUp);

    // The inner image's picture object; assigning copies into it.
    TPicture* Picture() const;
    void SetPicture(const TPicture* picture);
    // The picture's drawing surface; an empty picture first becomes a bitmap of
    // the panel's size. Raises EInvalidOperation for a picture that is not a bitmap.
    TCanvas* Canvas();

    // Repaints the inner image at once.
    void ImageRefresh();
    // Copies a rectangle of srcDC onto the picture with a raster operation
    // (only when the picture is empty or a bitmap), then repaints when asked.
    void BitBlt(int x, int y, int width, int height, HDC srcDC, int xSrc, int ySrc, std::uint32_t rop,
                bool refresh);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Resize() override;

    // Form data: a bitmap picture is stored as the byte block
    // "CompressedData" instead of ordinary picture data.
    void DefineProperties(TFiler& filer) override;
    void ReadState(TReader& reader) override;
    void WriteState(TWriter& writer) override;
    // The block's bytes while the form is read or written; none otherwise.
    const TMemoryStream* StoredData() const { return stored_.Data(); }

protected:
    // At run time the panel paints nothing of its own.
    void Paint() override;

private:
    void PictureChanged(TObject* sender);
    bool PictureEmpty() const;
    void UpdateTracker();

    TInsideImage* innerImage_ = nullptr;
    TNotifyEvent savedPictureChange_;
    PressToHide press_{*this};
    bool autoSize_ = true;
    TControlType controlType_ = ctPanel;
    bool doMouseUp_ = false;
    StoredPictureBlock stored_;
};

void RegisterImagePanelClasses();
