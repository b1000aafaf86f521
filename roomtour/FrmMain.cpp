#include "roomtour/FrmMain.h"

#include "framework/core/Reader.h"
#include "framework/widgets/Application.h"
#include "framework/widgets/MessageBox.h"
#include "framework/widgets/PressTracker.h"
#include "platform/Codepage.h"
#include "roomtour/AppShell.h"
#include "roomtour/JpegPicture.h"

#include <cstdio>

namespace {
struct SeatPlace {
    int left, top, width, height;
};
// Bounds of the 25 seat sensors on the seating chart; the tag is the desk number.
constexpr std::array<SeatPlace, 25> kSeats{{
    {23, 41, 70, 117},  {114, 41, 91, 53},  {208, 41, 90, 53},  {301, 41, 90, 53},  {394, 41, 90, 53},
    {487, 41, 91, 53},  {114, 97, 91, 61},  {208, 97, 90, 61},  {301, 97, 90, 61},  {394, 97, 90, 61},
    {22, 181, 89, 56},  {114, 181, 91, 56}, {208, 181, 90, 56}, {301, 181, 90, 56}, {394, 181, 90, 56},
    {487, 181, 91, 56}, {114, 240, 91, 56}, {208, 240, 90, 56}, {301, 240, 90, 56}, {394, 240, 90, 56},
    {487, 240, 91, 56}, {22, 319, 97, 59},  {182, 319, 97, 59}, {321, 319, 96, 59}, {480, 319, 98, 59},
}};

template <typename T> T* Find(TComponent* root, const char* name)
{
    T* found = dynamic_cast<T*>(root->FindComponent(name));
    if (!found)
        throw EReadError(std::string("The form has no ") + name);
    return found;
}

std::string TwoDigits(const char* pattern, int number)
{
    char name[32];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}
}

const std::array<const char*, 25> kSeatNames{
    "S0",   "S1_1", "S1_2", "S1_3", "S1_4", "S1_5", "S2_1", "S2_2", "S2_3", "S2_4", "S3_1", "S3_2", "S3_3",
    "S3_4", "S3_5", "S3_6", "S4_1", "S4_2", "S4_3", "S4_4", "S4_5", "S5_1", "S5_2", "S5_3", "S5_4",
};

VN_DEFINE_COMPONENT(TFrmMain, TForm)

void RegisterRoomtourClasses()
{
    RegisterStandardControls();
    RegisterImagePanelClasses();
    RegisterClass(TMediaPlayer::StaticClassInfo());
    RegisterClass(TClickWav::StaticClassInfo());
    RegisterDrBrowseClasses();
    RegisterShortCutFileClasses();
    RegisterJInstallDialogClasses();
    RegisterClass(TFrmMain::StaticClassInfo());
}

TFrmMain::TFrmMain(TComponent* owner) : TForm(owner)
{
    PublishMethod<void(TObject*)>("FormCreate", &TFrmMain::FormCreate);
    PublishMethod<void(TObject*)>("FormShow", &TFrmMain::FormShow);
    PublishMethod<void(TObject*, bool&)>("FormCloseQuery", &TFrmMain::FormCloseQuery);
    PublishMethod<void(TObject*, TCloseAction&)>("FormClose", &TFrmMain::FormClose);
    PublishMethod<void(TObject*)>("FormDestroy", &TFrmMain::FormDestroy);
    using Mouse = void(TObject*, TMouseButton, TShiftState, int, int);
    PublishMethod<Mouse>("BMouseDown", &TFrmMain::BMouseDown);
    PublishMethod<Mouse>("BDeskMouseUp", &TFrmMain::BDeskMouseUp);
    PublishMethod<Mouse>("BMenuMouseUp", &TFrmMain::BMenuMouseUp);
    PublishMethod<Mouse>("BQuitMouseUp", &TFrmMain::BQuitMouseUp);
    PublishMethod<Mouse>("SenserMouseDown", &TFrmMain::SenserMouseDown);
    PublishMethod<Mouse>("SenserMouseUp", &TFrmMain::SenserMouseUp);

    ReadComponentRes(FrmMainFormData(), this);
    BindControls();
}

void TFrmMain::BindControls()
{
    BufNameDesk = Find<TImage>(this, "BufNameDesk");
    BufNameZoom = Find<TImage>(this, "BufNameZoom");
    PZoom = Find<TImagePanel>(this, "PZoom");
    PNameZoom = Find<TImage>(this, "PNameZoom");
    PRetDesk = Find<TImagePanel>(this, "PRetDesk");
    BRetDesk = Find<TImagePanel>(this, "BRetDesk");
    PViewZoom = Find<TImagePanel>(this, "PViewZoom");
    PDesk = Find<TImagePanel>(this, "PDesk");
    PNameDesk = Find<TImage>(this, "PNameDesk");
    PGoZoom = Find<TImagePanel>(this, "PGoZoom");
    BGoZoom = Find<TImagePanel>(this, "BGoZoom");
    PViewDesk = Find<TImagePanel>(this, "PViewDesk");
    MP = Find<TMediaPlayer>(this, "MP");
    PZaseki = Find<TImagePanel>(this, "PZaseki");
    INega = Find<TImage>(this, "INega");
    for (std::size_t i = 0; i < Seats.size(); ++i)
        Seats[i] = Find<TImage>(this, kSeatNames[i]);
    PRetMenu = Find<TImagePanel>(this, "PRetMenu");
    BRetMenu = Find<TImagePanel>(this, "BRetMenu");
    PMenu = Find<TImagePanel>(this, "PMenu");
    BZaseki = Find<TImagePanel>(this, "BZaseki");
    BMakeSkin = Find<TImagePanel>(this, "BMakeSkin");
    BOrgSkin = Find<TImagePanel>(this, "BOrgSkin");
    BQuit = Find<TImagePanel>(this, "BQuit");
    BPark = Find<TImagePanel>(this, "BPark");
    PRetZaseki = Find<TImagePanel>(this, "PRetZaseki");
    BRetZaseki = Find<TImagePanel>(this, "BRetZaseki");
    Click = Find<TClickWav>(this, "Click");
    DlgInst = Find<TJInstallDialog>(this, "DlgInst");
    ShortCut = Find<TShortCutFile>(this, "ShortCut");
}

// ---- start-up and end

void TFrmMain::FormCreate(TObject*)
{
    SetCursorShape(crHourGlass);
    Application->SetTitle(kAppTitle);
    SetupMainWindow(this);
    ArrangeControls();
    LoadJpegPicture(DataDir + "Shell01.jdt", PMenu->Picture());
    LoadJpegPicture(DataDir + "Shell02.jdt", PZaseki->Picture());
    TCanvas* surface = PDesk->Canvas();
    surface->Brush()->SetColor(clBlack);
    surface->FillRect(PDesk->ClientRect());
    LoadJpegPicture(DataDir + "Desk00.jdt", BufNameDesk->Picture());
    LoadJpegPicture(DataDir + "Zoom00.jdt", BufNameZoom->Picture());
    quitChosen_ = true;
}

void TFrmMain::FormShow(TObject*) { SetCursorShape(crDefault); }

void TFrmMain::FormCloseQuery(TObject*, bool& canClose)
{
    const QString question = !HasLauncherArgument() || quitChosen_ ? QStringLiteral("終了しますか？")
                                                                  : QStringLiteral("バーヌークパークに戻りますか？");
    canClose = MessageBox(this, question, kAppTitle, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_TASKMODAL) == IDYES;
}

void TFrmMain::FormClose(TObject*, TCloseAction&) {}

void TFrmMain::FormDestroy(TObject*) { PostExitMessage(kExitMessages, quitChosen_); }

// ---- layout

void TFrmMain::ArrangeControls()
{
    PMenu->SetBounds(0, 0, 600, 420);
    BQuit->SetBounds(20, 389, 83, 27);
    BPark->SetBounds(118, 389, 83, 27);
    BZaseki->SetBounds(20, 54, 235, 320);
    BMakeSkin->SetBounds(284, 54, 296, 150);
    BOrgSkin->SetBounds(284, 223, 296, 151);
    PZaseki->SetBounds(0, 0, 600, 420);
    for (std::size_t i = 0; i < Seats.size(); ++i) {
        Seats[i]->SetBounds(kSeats[i].left, kSeats[i].top, kSeats[i].width, kSeats[i].height);
        Seats[i]->SetTag(static_cast<int>(i) + 1);
    }
    PRetMenu->SetBounds(41, 390, 90, 30);
    BRetMenu->SetBounds(0, 0, 90, 30);
    PRetZaseki->SetBounds(475, 390, 84, 30);
    BRetZaseki->SetBounds(0, 0, 84, 30);
    PDesk->SetBounds(0, 0, 600, 420);
    PViewDesk->SetBounds(41, 35, 518, 350);
    PNameDesk->SetBounds(60, 0, 480, 35);
    PGoZoom->SetBounds(393, 390, 76, 30);
    BGoZoom->SetBounds(0, 0, 76, 30);
    PZoom->SetBounds(0, 0, 600, 420);
    PViewZoom->SetBounds(41, 35, 518, 350);
    PNameZoom->SetBounds(60, 0, 480, 35);
    PRetDesk->SetBounds(385, 390, 90, 30);
    BRetDesk->SetBounds(0, 0, 90, 30);
}

// ---- screens

void TFrmMain::DrawPlate(TImage* strip, TImage* plate, int desk)
{
    const int w = plate->Width();
    const int h = plate->Height();
    ::BitBlt(plate->Canvas()->Handle(), 0, 0, w, h, strip->Canvas()->Handle(), 0, (desk - 1) * h, SRCCOPY);
    plate->Repaint();
}

void TFrmMain::ShowScreen(int screen)
{
    switch (screen) {
    case 0:
        PZaseki->SetVisible(true);
        PMenu->SetVisible(true);
        // The back-to-chart button would float over the menu otherwise.
        PRetZaseki->SetVisible(false);
        break;
    case 1:
        PMenu->SetVisible(false);
        PRetZaseki->SetVisible(false);
        PZaseki->SetVisible(true);
        break;
    case 2:
        if (selectedDesk_ != loadedDesk_) {
            BusyCursor busy;
            LoadJpegPicture(DataDir + TwoDigits("Desk%.2d.jdt", selectedDesk_), PViewDesk->Picture());
            DrawPlate(BufNameDesk, PNameDesk, selectedDesk_);
        }
        PZaseki->SetVisible(false);
        PRetZaseki->SetVisible(true);
        PDesk->SetVisible(true);
        loadedDesk_ = selectedDesk_;
        break;
    case 3:
        if (loadedZoom_ != loadedDesk_) {
            BusyCursor busy;
            LoadJpegPicture(DataDir + TwoDigits("Zoom%.2d.jdt", loadedDesk_), PViewZoom->Picture());
            DrawPlate(BufNameZoom, PNameZoom, loadedDesk_);
        }
        PDesk->SetVisible(false);
        loadedZoom_ = loadedDesk_;
        break;
    default:
        break;
    }
    currentScreen_ = screen;
}

// ---- buttons and seats

void TFrmMain::BMouseDown(TObject*, TMouseButton, TShiftState, int, int) { Click->Play(); }

void TFrmMain::BDeskMouseUp(TObject* sender, TMouseButton, TShiftState, int, int)
{
    const int tag = static_cast<TComponent*>(sender)->Tag();
    ShowScreen(tag >= 1 && tag <= 3 ? tag : 0);
}

void TFrmMain::BMenuMouseUp(TObject* sender, TMouseButton, TShiftState, int, int)
{
    // The default root: the Windows drive's VARNOOK folder.
    DlgInst->SetDefFolderName(WindowsDir.substr(0, 1) + ":\\VARNOOK");
    switch (static_cast<TComponent*>(sender)->Tag()) {
    case 1:
        ShowScreen(1);
        break;
    case 2:
        InstallSkinCourse();
        break;
    default:
        InstallSkinSet();
        break;
    }
}

void TFrmMain::InstallSkinCourse()
{
    DlgInst->SetAddFolderName("MakeSkin");
    DlgInst->SetLzhFileName(DataDir + "MakeSkin.lzh");
    DlgInst->SetNeedKB(309);
    if (!DlgInst->Execute())
        return;
    {
        // A shortcut that cannot be written ends the action with the error box; the
        // cursor comes back all the same.
        BusyCursor busy;
        const std::string course = Utf8ToCp932("WINAMP用スキンの作り方講座");
        // The working folder follows the target afresh: a folder of an earlier install
        // must not carry over.
        ShortCut->SetWorkDir("");
        ShortCut->SetFileName(DlgInst->FolderName() + "\\make.htm");
        ShortCut->SetDescription(course);
        ShortCut->CreateShortCut();
        ShortCut->SetFileName(DlgInst->FolderName() + "\\readme.txt");
        ShortCut->SetDescription(course + " Read Me");
        ShortCut->CreateShortCut();
    }
    InstallDone();
}

void TFrmMain::InstallSkinSet()
{
    DlgInst->SetAddFolderName("OriginalSkin");
    DlgInst->SetLzhFileName(DataDir + "Skin.lzh");
    DlgInst->SetNeedKB(978);
    if (DlgInst->Execute())
        InstallDone();
}

void TFrmMain::InstallDone()
{
    MessageBox(this, QStringLiteral("インストールが完了しました"), kAppTitle, MB_OK | MB_ICONEXCLAMATION | MB_TASKMODAL);
    ShellOpen(DlgInst->FolderName(), "", "", SW_SHOW);
}

void TFrmMain::BQuitMouseUp(TObject* sender, TMouseButton, TShiftState, int, int)
{
    quitChosen_ = static_cast<TComponent*>(sender)->Tag() == 1;
    Close();
}

void TFrmMain::SenserMouseDown(TObject* sender, TMouseButton button, TShiftState, int, int)
{
    if (button != mbLeft)
        return;
    auto* seat = static_cast<TImage*>(sender);
    INega->SetBounds(seat->Left(), seat->Top(), seat->Width(), seat->Height());
    TCanvas* negative = INega->Canvas();
    negative->SetCopyMode(cmNotSrcCopy);
    negative->CopyRect(Rect(0, 0, INega->Width(), INega->Height()), *PZaseki->Canvas(),
                       Bounds(seat->Left(), seat->Top(), INega->Width(), INega->Height()));
    Click->Play();
}

void TFrmMain::SenserMouseUp(TObject* sender, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbLeft)
        return;
    auto* seat = static_cast<TImage*>(sender);
    INega->Picture()->Assign(nullptr);
    if (InsideControl(x, y, seat->Width(), seat->Height())) {
        selectedDesk_ = seat->Tag();
        ShowScreen(currentScreen_ + 1);
    }
}
