#pragma once
// TControl, TWinControl, TCustomControl and TGraphicControl: the visual
// building blocks.
//
// Every control is backed by a Qt widget, made the first time the control
// needs one by the virtual CreateWidget (the classic CreateWnd step), so a
// control can stand on a widget of its own kind. Windowed controls
// (TWinControl) are stacked among their siblings in creation order, later ones
// above; windowless controls (TGraphicControl) always lie beneath their
// windowed siblings, as they are drawn on their parent's surface.
//
// Input follows the classic rules. Mouse and key events reach the WM*
// handlers through one translator (InputRouter); a press captures the pointer
// for the pressed control until the release, also while that control is
// hidden (see MouseCapture). Keys go to the focused control first; Enter and
// Escape then go to the form, which hands them to its default or cancel
// button.
//
// Painting: controls of the system paint on a canvas (Paint), which starts
// with what the screen shows beneath the control unless the control is
// csOpaque; a paint hook set from outside draws over the control's own look.

#include "framework/core/Component.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/GraphicsObjects.h"
#include "framework/graphics/Types.h"
#include "framework/widgets/ControlCanvas.h"
#include "framework/widgets/Cursors.h"
#include "framework/widgets/InputTypes.h"
#include "framework/widgets/Keys.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class QRect;
class QWidget;
class TWinControl;
class TForm;

// What kind of input and painting a control takes part in.
enum TControlStyleFlag : unsigned {
    // A press captures the pointer until the release (the framework's capture;
    // controls on widgets that track the pointer themselves leave it out).
    csCaptureMouse = 1u << 0,
    // The control covers its whole rectangle when it paints, so what lies
    // beneath need not be painted or read back first.
    csOpaque = 1u << 1,
    // A left press and release inside make a click (controls on widgets that
    // click by themselves leave it out).
    csClickEvents = 1u << 2,
};
using TControlStyle = unsigned;

using TMouseEvent = Event<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = Event<void(TObject* sender, TShiftState shift, int x, int y)>;
using TNotifyEventProp = Event<void(TObject* sender)>;
using TKeyEvent = Event<void(TObject* sender, WORD& key, TShiftState shift)>;

// Draws over a control's own look, on a canvas of the control's size that
// holds what the control has just painted.
using TPaintHook = std::function<void(TCanvas& canvas)>;

class TControl : public TComponent {
    VN_COMPONENT(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    TWinControl* Parent() const { return parent_; }
    virtual void SetParent(TWinControl* parent);

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
    void SetTop(int v) { SetBounds(left_, v, width_, height_); }
    void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
    void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
    virtual int ClientWidth() const { return width_; }
    virtual int ClientHeight() const { return height_; }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and every parent up to the window too.
    bool Showing() const;
    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);
    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);
    const QString& Caption() const { return caption_; }
    virtual void SetCaption(const QString& caption);
    // The control's font. With ParentFont on (the default) it follows the
    // parent's font; setting the font turns ParentFont off.
    TFont* Font() const { return font_.get(); }
    void SetFont(const TFont* font);
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

    TControlStyle ControlStyle() const { return controlStyle_; }
    void SetControlStyle(TControlStyle style);
    void SetPaintHook(TPaintHook hook);

    // The form the control lies on (itself for a form); null when none.
    TForm* ParentForm() const;
    // The control at the top of the parent chain (itself without a parent).
    TWinControl* TopParent() const;

    // The pointer is captured by this control (moves and the release come here).
    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    TNotifyEventProp OnClick;
    TNotifyEventProp OnDblClick;
    TNotifyEventProp OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;

    // The reactions; each fires its event. Controls extend them.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void Resize();

    // Schedules a repaint / repaints at once.
    void Invalidate();
    virtual void Repaint();
    void Update();
    void Refresh() { Repaint(); }
    void BringToFront();
    void SendToBack();

    // The widget that stands for the control, made on first use.
    QWidget* Widget() const;
    bool HandleAllocated() const { return widget_ != nullptr; }
    virtual bool IsWindowed() const { return false; }

    // The framework's mouse messages, as the input translator delivers them.
    void WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
    void WMMouseMove(TShiftState shift, int x, int y);
    void WMButtonUp(TMouseButton button, TShiftState shift, int x, int y);

    // Paints the control into a paint of its widget: its own look, then the
    // paint hook. Called by the widget.
    void PaintControl(QPainter& painter, const QRect& dirty);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override;

protected:
    friend class TWinControl;
    // The classic CreateWnd step: makes the widget that stands for the control.
    // Called once, when the control first needs its widget; the framework sets
    // its place, visibility and state afterwards.
    virtual QWidget* CreateWidget();
    // The widget has been made and placed; controls apply their own state.
    virtual void WidgetCreated() {}
    // The control's own look, in a paint of its widget. The framework's
    // standard controls draw here; the default paints through the canvas.
    virtual void PaintWidget(QPainter& painter, const QRect& dirty);
    virtual void ApplyWidgetVisibility();
    virtual void FontChanged() { Invalidate(); }

    // ---- painting through a canvas (the classic Paint method)
    // The control's drawing surface, the control's size, valid during Paint.
    TCanvas* PaintCanvas();
    // Draws the control on PaintCanvas().
    virtual void Paint() {}
    // Before a paint through the canvas: false leaves this paint out.
    virtual bool BeginPaint() { return true; }
    // Whether the canvas first takes what the screen shows beneath the control.
    virtual bool WantsScreenBeneath() const { return !(controlStyle_ & csOpaque); }
    // After the surface has gone to the screen.
    virtual void EndPaint() {}
    // The part of the control being painted (control coordinates).
    const TRect& PaintRect() const { return paintRect_; }
    // The standard flow: beneath (unless opaque), Paint, to the screen.
    void PaintThroughCanvas(QPainter& painter, const QRect& dirty);
    // Copies what the screen shows beneath the control (as far as it has been
    // painted so far in this paint) into dest at (0, 0); false when the paint
    // goes to a device whose pixels cannot be read.
    bool CopyScreenBeneath(QPainter& painter, HDC dest) const;
    // The surface, made the control's size.
    ControlCanvas& Surface();

    TWinControl* parent_ = nullptr;

private:
    void CreateHandle();
    void ApplyControlStyle();
    void ParentFontChanged();

    mutable QWidget* widget_ = nullptr;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool clicked_ = false;
    bool parentFont_ = true;
    bool followingParentFont_ = false;
    TCursor cursor_ = crDefault;
    TColor color_ = clBtnFace;
    QString caption_;
    std::unique_ptr<TFont> font_;
    TControlStyle controlStyle_ = csCaptureMouse | csClickEvents;
    TPaintHook paintHook_;
    std::unique_ptr<ControlCanvas> surface_;
    TRect paintRect_;
};

class TWinControl : public TControl {
    VN_COMPONENT(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
    bool IsWindowed() const override { return true; }

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Puts the children's widgets in the classic order: windowless ones first
    // (beneath), then windowed ones, each group in list order.
    void RestackChildren();
    void MoveControl(TControl* control, bool toFront);

    // ---- keyboard focus
    // The place in the parent's tab order (0 first); -1 without a parent.
    int TabOrder() const;
    void SetTabOrder(int order);
    // Tab and Shift+Tab stop at the control.
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Whether the control can take the focus now: showing and enabled.
    bool CanFocus() const;
    bool Focused() const;
    // Raises EInvalidOperation when the control cannot take the focus.
    void SetFocus();
    // The windowed controls below this one that Tab visits, in order.
    std::vector<TWinControl*> TabList() const;

    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TNotifyEventProp OnEnter;
    TNotifyEventProp OnExit;
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void DoEnter();
    virtual void DoExit();
    // The translator's key messages: true when the key was taken.
    bool WMKeyDown(WORD key, TShiftState shift);
    bool WMKeyUp(WORD key, TShiftState shift);
    // Enter or Escape that the focused control did not take, offered to every
    // control of the form: a button that answers it clicks and returns true.
    virtual bool DialogKey(WORD key, TWinControl* focused);
    // The tab order below this control changed (the top control hears of it).
    virtual void TabOrderChanged() {}
    // The control as a form; null for every other control.
    virtual TForm* AsForm() { return nullptr; }

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

protected:
    void WidgetCreated() override;
    void FontChanged() override;
    // Whether the control's widget takes the focus by clicking (edits and
    // buttons do; panels do not).
    virtual bool TakesFocus() const { return false; }
    void ApplyFocusPolicy();

private:
    std::vector<TControl*> controls_;
    std::vector<TWinControl*> tabList_;
    bool tabStop_ = false;
};

// A windowed control that draws itself on a canvas (Paint).
class TCustomControl : public TWinControl {
    VN_COMPONENT(TCustomControl)
public:
    explicit TCustomControl(TComponent* owner);
    // The drawing surface while the control paints.
    TCanvas* Canvas() { return PaintCanvas(); }
};

class TGraphicControl : public TControl {
    VN_COMPONENT(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // The control's drawing surface: a back buffer of the control's size that
    // is copied to the screen when the control paints. By default a windowless
    // control keeps what lies beneath it on screen where it draws nothing.
    TCanvas* Canvas() { return PaintCanvas(); }
};

// Identifier names of cursors and colours as form streams write them.
const char* CursorToIdent(TCursor cursor);
bool IdentToCursor(const std::string& ident, TCursor* cursor);

// The control a widget stands for; null for widgets that are not a control's.
TControl* ControlOfWidget(const QWidget* widget);
