#pragma once
// TFormMain: the fortune viewer's main window. Built from its form stream;
// owns the title screen, the menu of sixteen covers in four columns that
// unlock one by one, and the fortune screen, where the chosen fortune is
// revealed through the effects control and then offers its two buttons.

#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "framework/widgets/MediaPlayer.h"
#include "gifimage/GIFImage.h"
#include "oracle/controls/CmprsBtn.h"
#include "oracle/controls/SPanel.h"
#include "oracle/controls/VarnookPnl.h"
#include "outside/fximage/FXImage.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TFormMain : public TForm {
    VN_COMPONENT(TFormMain)
public:
    explicit TFormMain(TComponent* owner);

    // ---- program-wide values
    const std::string& SystemDir() const { return systemDir_; }
    const std::string& AppDir() const { return appDir_; }
    bool QuitChosen() const { return quitChosen_; }
    int FortuneNumber() const { return fortuneNumber_; }

    // ---- routines
    void SetUpScreens();
    // The menu's column logic for the chosen panel's Tag.
    void SelectPanel(int tag);
    // What a button does, by its Tag.
    void ButtonAction(int tag);
    // Decodes a GIF file with GIFImage1 and copies its first frame into the
    // picture of the form's control of that name.
    void LoadGifPicture(const std::string& fileName, const std::string& controlName);

    // ---- event handlers, bound by name from the form stream
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormDestroy(TObject* sender);
    void ImageTitleMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void ImageTitleMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ImageMenuMouseMove(TObject* sender, TShiftState shift, int x, int y);
    void ImageW1_1MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CmpMQuitMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void CmpMQuitMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void FXImage1Notify(TObject* sender);

    // ---- the controls, found by name once the stream is read
    TSPanel* SPanelTitle = nullptr;
    TImage* ImageTitle = nullptr;
    TSPanel* SPanelMenu = nullptr;
    TImage* ImageMenu = nullptr;
    TImage* ImageDokode = nullptr;
    TImage* ImageDarega = nullptr;
    TImage* ImageNanio = nullptr;
    std::array<TVarnookPanel*, 16> Covers{}; // ImageW1_1 .. ImageW1_16
    TVarnookPanel* TP_Dmiru = nullptr;
    TCmprsBtn* CmpMiru = nullptr;
    TCmprsBtn* CmpMQuit = nullptr;
    TCmprsBtn* CmpMMenu = nullptr;
    TFXImage* FXImage1 = nullptr;
    TVarnookPanel* TPKQuit = nullptr;
    TCmprsBtn* CmpKQuit = nullptr;
    TVarnookPanel* TPKMenu = nullptr;
    TCmprsBtn* CmpKMenu = nullptr;
    TGIFImage* GIFImage1 = nullptr;
    TMediaPlayer* MediaPlayer1 = nullptr;

private:
    void BindControls();
    // Enables the covers of one column (1 to 4) or not.
    void EnableColumn(int column, bool enabled);
    void ShowFortune();

    std::string systemDir_;
    std::string appDir_;
    bool quitChosen_ = true;
    int fortuneNumber_ = 0;
};

// The form stream of TFormMain, made with the demo disc.
const std::vector<std::uint8_t>& FormMainFormData();

void RegisterOracleClasses();
