#pragma once
// TFrmMain: the desk tour's main window. Built from its form stream; owns
// every control of the four screens (menu, seating chart, desk view, zoom
// view) and switches between them.

#include "framework/widgets/ExtCtrls.h"
#include "framework/widgets/Forms.h"
#include "installer/JInstDlg.h"
#include "installer/SCFile.h"
#include "roomtour/controls/ClickWav.h"
#include "roomtour/controls/ImgPnl.h"

#include <array>
#include <functional>
#include <string>

class TFrmMain : public TForm {
    VN_COMPONENT(TFrmMain)
public:
    explicit TFrmMain(TComponent* owner);

    // Screen state.
    int CurrentScreen() const { return currentScreen_; }
    int SelectedDesk() const { return selectedDesk_; }
    int LoadedDesk() const { return loadedDesk_; }
    int LoadedZoom() const { return loadedZoom_; }
    bool QuitChosen() const { return quitChosen_; }

    void ArrangeControls();
    void ShowScreen(int screen);

    // Event handlers, bound by name from the form stream.
    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void FormDestroy(TObject* sender);
    void BMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BDeskMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BMenuMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void BQuitMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void SenserMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    void SenserMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);

    // The controls, found by name once the stream is read.
    TImage* BufNameDesk = nullptr;
    TImage* BufNameZoom = nullptr;
    TImagePanel* PZoom = nullptr;
    TImage* PNameZoom = nullptr;
    TImagePanel* PRetDesk = nullptr;
    TImagePanel* BRetDesk = nullptr;
    TImagePanel* PViewZoom = nullptr;
    TImagePanel* PDesk = nullptr;
    TImage* PNameDesk = nullptr;
    TImagePanel* PGoZoom = nullptr;
    TImagePanel* BGoZoom = nullptr;
    TImagePanel* PViewDesk = nullptr;
    TMediaPlayer* MP = nullptr;
    TImagePanel* PZaseki = nullptr;
    TImage* INega = nullptr;
    std::array<TImage*, 25> Seats{};
    TImagePanel* PRetMenu = nullptr;
    TImagePanel* BRetMenu = nullptr;
    TImagePanel* PMenu = nullptr;
    TImagePanel* BZaseki = nullptr;
    TImagePanel* BMakeSkin = nullptr;
    TImagePanel* BOrgSkin = nullptr;
    TImagePanel* BQuit = nullptr;
    TImagePanel* BPark = nullptr;
    TImagePanel* PRetZaseki = nullptr;
    TImagePanel* BRetZaseki = nullptr;
    TClickWav* Click = nullptr;
    TJInstallDialog* DlgInst = nullptr;
    TShortCutFile* ShortCut = nullptr;

private:
    void BindControls();
    // Copies the plate of one desk from a name-plate strip onto a plate control.
    void DrawPlate(TImage* strip, TImage* plate, int desk);
    // The two installs of the menu: the skin-making course (with its shortcuts) and
    // the skin set.
    void InstallSkinCourse();
    void InstallSkinSet();
    // The end of an install: the completion box, then the folder in a folder window.
    void InstallDone();

    int currentScreen_ = 0;
    int selectedDesk_ = 0;
    int loadedDesk_ = 0;
    int loadedZoom_ = 0;
    bool quitChosen_ = false;
};

// The seat sensors' names, desk 1 to 25.
extern const std::array<const char*, 25> kSeatNames;

// The form stream of TFrmMain, made with the demo disc.
const std::vector<std::uint8_t>& FrmMainFormData();

void RegisterRoomtourClasses();
