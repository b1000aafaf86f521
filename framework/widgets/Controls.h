#pragma once
// TControl, TWinControl and TGraphicControl: the visual building blocks.
//
// Every control is backed by a Qt widget. Windowed controls (TWinControl) are
// stacked among their siblings in creation order, later ones above; windowless
// controls (TGraphicControl) always lie beneath their windowed siblings, as
// they are drawn on their parent's surface. Mouse input follows the classic
// rules: a press captures the pointer for the pressed control until the
// release, also while that control is hidden (see MouseCapture).

#include "framework/core/Component.h"
#include "framework/graphics/Colors.h"
#include "framework/graphics/Types.h"
#include "framework/widgets/ControlCanvas.h"
#include "framework/widgets/Cursors.h"

#include <QPointer>
#include <QString>

#include <memory>
#include <vector>

class QPainter;
class QRect;
class QWidget;
class ControlWidget;
class TWinControl;

enum TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

using TMouseEvent = Event<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = Event<void(TObject* sender, TShiftState shift, int x, int y)>;
using TNotifyEventProp = Event<void(TObject* sender)>;

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

    QWidget* Widget() const;
    virtual bool IsWindowed() const { return false; }
    // Draws the control; called from its widget's paint event.
    virtual void PaintWidget(QPainter& painter, const QRect& dirty);

    // The framework's mouse messages, as the widget and the capture deliver them.
    void WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick);
    void WMMouseMove(TShiftState shift, int x, int y);
    void WMButtonUp(TMouseButton button, TShiftState shift, int x, int y);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void Loaded() override;

protected:
    friend class TWinControl;
    // The widget that stands for this control; made by the constructor.
    ControlWidget* widget_ = nullptr;
    TWinControl* parent_ = nullptr;
    virtual void ApplyWidgetVisibility();

private:
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    bool clicked_ = false;
    TCursor cursor_ = crDefault;
    TColor color_ = clBtnFace;
    QString caption_;
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

    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

private:
    std::vector<TControl*> controls_;
};

class TGraphicControl : public TControl {
    VN_COMPONENT(TGraphicControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // The control's drawing surface: a back buffer of the control's size that
    // is copied to the screen when the control paints (see PaintWidget).
    TCanvas* Canvas();

    // By default a windowless control that paints through its canvas keeps
    // what lies beneath it on screen where it draws nothing: the surface is
    // filled with the pixels beneath, then Paint draws, then the surface is
    // copied to the screen. Controls that draw otherwise override PaintWidget.
    void PaintWidget(QPainter& painter, const QRect& dirty) override;

protected:
    // Draws on Canvas(); called by PaintWidget.
    virtual void Paint() {}
    // Copies what the screen shows beneath the control (as far as it has been
    // painted so far in this paint) into dest at (0, 0); false when the paint
    // goes to a device whose pixels cannot be read.
    bool CopyScreenBeneath(QPainter& painter, HDC dest) const;
    // The surface, made the control's size.
    ControlCanvas& Surface();

private:
    std::unique_ptr<ControlCanvas> surface_;
};

// Identifier names of cursors and colours as form streams write them.
const char* CursorToIdent(TCursor cursor);
bool IdentToCursor(const std::string& ident, TCursor* cursor);
