#pragma once
// TCmprsBtn: the fortune viewer's picture button. A windowless picture
// control drawn on its parent's surface that always acts as a press-to-hide
// button: a left press hides it (what its parent shows behind it is the
// pressed look), it shows again when the pointer leaves it during the press
// and hides when it comes back, and OnMouseUp fires once for a left release
// inside. Unlike the picture panel it is not repainted before OnMouseUp
// fires. Presses are not armed while that handler and the message flush
// after it run. Its picture is stored with the form as "CompressedData".

#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/PressToHide.h"
#include "picture/StoredPicture.h"

class TCmprsBtn : public TImage {
    VN_COMPONENT(TCmprsBtn)
public:
    explicit TCmprsBtn(TComponent* owner);

    bool Pressed() const { return press_.Tracker().Pressed(); }
    bool InClick() const { return press_.Tracker().InClick(); }
    // The button has hidden itself during the current press.
    bool Hidden() const { return press_.Tracker().Hidden(); }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    void DefineProperties(TFiler& filer) override;
    void ReadState(TReader& reader) override;
    void WriteState(TWriter& writer) override;
    const TMemoryStream* StoredData() const { return stored_.Data(); }

private:
    PressToHide press_{*this, {PressTracker::Hiding::OnCrossing, false}};
    StoredPictureBlock stored_;
};
