#pragma once
// TForm: a top-level window of fixed client size with the classic border
// styles and icons (never a maximize box), centring, a close query, modal
// showing and the form's life-cycle events.

#include "framework/widgets/ControlCanvas.h"
#include "framework/widgets/Controls.h"

#include <cstdint>
#include <functional>

class QEventLoop;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TBorderIcon : std::uint32_t {
    biSystemMenu = 1u << 0,
    biMinimize = 1u << 1,
    biMaximize = 1u << 2,
    biHelp = 1u << 3,
};
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;
inline constexpr TModalResult mrYes = 6;
inline constexpr TModalResult mrNo = 7;

using TCloseQueryEvent = Event<void(TObject* sender, bool& canClose)>;
using TCloseEvent = Event<void(TObject* sender, TCloseAction& action)>;

class TForm : public TWinControl {
    VN_COMPONENT(TForm)
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    int ClientWidth() const override { return Width(); }
    int ClientHeight() const override { return Height(); }
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    void SetBounds(int left, int top, int width, int height) override;

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    std::uint32_t BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(std::uint32_t icons);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position);
    void SetCaption(const QString& caption) override;
    void SetVisible(bool visible) override;

    // Asks OnCloseQuery; then OnClose; the main form's close ends the program.
    void Close();
    bool CloseQuery();
    TModalResult ShowModal();
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result);

    TNotifyEventProp OnCreate;
    TNotifyEventProp OnShow;
    TNotifyEventProp OnHide;
    TNotifyEventProp OnDestroy;
    TNotifyEventProp OnPaint;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

    // Life cycle: called by the application right after construction and
    // right before destruction (handlers of derived forms still exist then).
    virtual void DoCreate();
    virtual void DoDestroy();

    // The window's drawing surface; OnPaint draws on it.
    TCanvas* Canvas();
    // The window's close box: runs Close.
    void CloseRequested();
    // What a confirmed close of this form does instead of hiding it: the
    // application makes its main form's close end the program.
    void SetCloseEndsProgram(std::function<void()> endProgram) { endProgram_ = std::move(endProgram); }

    // Enter and Escape that no control took: the default or cancel button
    // answers them (see TWinControl::DialogKey). True when one did.
    bool DialogKey(WORD key, TWinControl* focused) override;
    // The tab order of a control on the form changed: Tab follows it again.
    void TabOrderChanged() override;
    TForm* AsForm() override { return this; }
    // The control with the keyboard focus while the form is active; null
    // when none of the form's controls has it.
    TWinControl* ActiveControl() const;

    // Stream-only properties the classic designer writes; read and ignored.
    int Ignored() const { return 0; }
    void SetIgnored(int) {}

    // The form's window has been shown and the window system has put its
    // frame around it: a centred form is centred again with the frame.
    void FrameKnown();

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void ApplyWidgetVisibility() override;
    void PaintWidget(QPainter& painter, const QRect& dirty) override;

private:
    void ApplyWindowFlags();
    void ApplyFixedSize();
    void Centre();
    bool Centred() const;
    void ApplyTabOrder();
    void FocusFirstControl();

    TFormBorderStyle borderStyle_ = bsSizeable;
    std::uint32_t borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = poDesigned;
    TModalResult modalResult_ = mrNone;
    QEventLoop* modalLoop_ = nullptr;
    ControlCanvas canvas_;
    bool shownOnce_ = false;
    bool recentrePending_ = false;
    std::function<void()> endProgram_;
};
