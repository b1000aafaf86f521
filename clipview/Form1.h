#pragma once
// TForm1: the clip player's only window. Built from its form stream; shows the
// start picture, and after a click on its start button the clip in a framed
// video area with the caption script under it.

#include "clipview/CaptionScript.h"
#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MediaPlayer.h"
#include "framework/widgets/Timer.h"

#include <cstdint>
#include <vector>

class TForm1 : public TForm {
    VN_COMPONENT(TForm1)
public:
    explicit TForm1(TComponent* owner);

    bool StartPending() const { return state_.startPending; }
    int StepIndex() const { return state_.stepIndex; }

    // Event handlers, bound by name from the form stream.
    void FormCreate(TObject* sender);
    void Image1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void Timer1Timer(TObject* sender);

    // Finds the clip before the media player opens it (see ClipFile).
    void Loaded() override;

    // The controls, found by name once the stream is read.
    TLabel* Label1 = nullptr;
    TLabel* Label2 = nullptr;
    TImage* Image1 = nullptr;
    TPanel* AviPanel = nullptr;
    TMediaPlayer* MediaPlayer1 = nullptr;
    TTimer* Timer1 = nullptr;

private:
    void BindControls();

    ClipPlayerState state_;
};

// Registers the classes the form stream names.
void RegisterClipviewClasses();

// The form stream, made with the demo disc and built into the program.
const std::vector<std::uint8_t>& Form1FormData();
