#include "framework/widgets/Controls.h"

#include "framework/core/Dispatch.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/widgets/ControlWidget.h"
#include "framework/widgets/MouseCapture.h"
#include "framework/widgets/PressTracker.h"
#include "platform/Codepage.h"

#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

QHash<const QWidget*, TControl*>& WidgetRegistry()
{
    static QHash<const QWidget*, TControl*> registry;
    return registry;
}

TPropInfo CaptionProperty()
{
    TPropInfo p;
    p.name = "Caption";
    p.kind = TPropKind::String;
    p.get = [](const TObject& o) {
        return TPropValue(UnicodeToCp932(static_cast<const TControl&>(o).Caption()));
    };
    p.set = [](TObject& o, const TPropValue& v) { static_cast<TControl&>(o).SetCaption(Cp932ToUnicode(AsString(v))); };
    p.stored = [](const TObject& o) { return !static_cast<const TControl&>(o).Caption().isEmpty(); };
    return p;
}

TPropInfo CursorProperty()
{
    TPropInfo p;
    p.name = "Cursor";
    p.kind = TPropKind::Enum;
    p.get = [](const TObject& o) {
        const TCursor c = static_cast<const TControl&>(o).Cursor();
        if (const char* ident = CursorToIdent(c))
            return TPropValue(TIdent{ident});
        return TPropValue(static_cast<std::int64_t>(c));
    };
    p.set = [](TObject& o, const TPropValue& v) {
        TCursor c = crDefault;
        if (const auto* id = std::get_if<TIdent>(&v)) {
            if (!IdentToCursor(id->name, &c))
                ThrowInvalidValue();
        } else {
            c = static_cast<TCursor>(AsInteger(v));
        }
        static_cast<TControl&>(o).SetCursor(c);
    };
    p.stored = [](const TObject& o) { return static_cast<const TControl&>(o).Cursor() != crDefault; };
    return p;
}

TPropInfo ColorProperty()
{
    TPropInfo p;
    p.name = "Color";
    p.kind = TPropKind::Enum;
    p.get = [](const TObject& o) {
        const TColor c = static_cast<const TControl&>(o).Color();
        std::string ident;
        if (ColorToIdent(c, ident))
            return TPropValue(TIdent{ident});
        return TPropValue(static_cast<std::int64_t>(c));
    };
    p.set = [](TObject& o, const TPropValue& v) {
        TColor c = clBlack;
        if (const auto* id = std::get_if<TIdent>(&v)) {
            if (!IdentToColor(id->name, c))
                ThrowInvalidValue();
        } else {
            c = static_cast<TColor>(AsInteger(v));
        }
        static_cast<TControl&>(o).SetColor(c);
    };
    p.stored = [](const TObject& o) { return static_cast<const TControl&>(o).Color() != clBtnFace; };
    return p;
}

const struct {
    TCursor cursor;
    const char* ident;
} kCursorIdents[] = {
    {crDefault, "crDefault"}, {crNone, "crNone"},         {crArrow, "crArrow"},         {crCross, "crCross"},
    {crIBeam, "crIBeam"},     {crSizeAll, "crSizeAll"},   {crHourGlass, "crHourGlass"}, {crHandPoint, "crHandPoint"},
    {crNo, "crNo"},           {crAppStart, "crAppStart"},
};
}

const char* CursorToIdent(TCursor cursor)
{
    for (const auto& c : kCursorIdents)
        if (c.cursor == cursor)
            return c.ident;
    return nullptr;
}

bool IdentToCursor(const std::string& ident, TCursor* cursor)
{
    for (const auto& c : kCursorIdents)
        if (SameText(c.ident, ident)) {
            *cursor = c.cursor;
            return true;
        }
    return false;
}

TControl* ControlOfWidget(const QWidget* widget) { return WidgetRegistry().value(widget, nullptr); }

VN_DEFINE_ABSTRACT_COMPONENT(TControl, TComponent,
    p.Integer("Left", &TControl::Left, &TControl::SetLeft, std::nullopt);
    p.Integer("Top", &TControl::Top, &TControl::SetTop, std::nullopt);
    p.Integer("Width", &TControl::Width, &TControl::SetWidth, std::nullopt);
    p.Integer("Height", &TControl::Height, &TControl::SetHeight, std::nullopt);
    p.Custom(CaptionProperty());
    p.Custom(ColorProperty());
    p.Custom(CursorProperty());
    p.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
    p.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont, true);
    p.Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
    p.EventProp("OnClick", &TControl::OnClick);
    p.EventProp("OnDblClick", &TControl::OnDblClick);
    p.EventProp("OnMouseDown", &TControl::OnMouseDown);
    p.EventProp("OnMouseMove", &TControl::OnMouseMove);
    p.EventProp("OnMouseUp", &TControl::OnMouseUp);
    p.EventProp("OnResize", &TControl::OnResize);
)

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>())
{
    font_->OnChange = [this](TObject*) {
        // A font set on the control itself no longer follows the parent's.
        if (!followingParentFont_)
            parentFont_ = false;
        FontChanged();
    };
}

TControl::~TControl()
{
    MouseCapture::Forget(this);
    font_->OnChange = nullptr;
    if (parent_)
        parent_->RemoveControl(this);
    if (widget_) {
        WidgetRegistry().remove(widget_);
        if (auto* own = dynamic_cast<ControlWidget*>(widget_))
            own->Detach();
        delete widget_;
        widget_ = nullptr;
    }
}

QWidget* TControl::Widget() const
{
    if (!widget_)
        const_cast<TControl*>(this)->CreateHandle();
    return widget_;
}

QWidget* TControl::CreateWidget()
{
    return new ControlWidget([this](QPainter& painter, const QRect& dirty) { PaintControl(painter, dirty); });
}

void TControl::CreateHandle()
{
    // The parent's widget comes first; making it makes its children's too,
    // this one's among them.
    QWidget* parentWidget = parent_ ? parent_->Widget() : nullptr;
    if (widget_)
        return;
    QWidget* widget = CreateWidget();
    widget_ = widget;
    WidgetRegistry().insert(widget, this);
    if (parentWidget)
        widget->setParent(parentWidget);
    widget->setGeometry(left_, top_, width_, height_);
    widget->setEnabled(enabled_);
    if (cursor_ != crDefault)
        widget->setCursor(QtCursor(cursor_));
    ApplyControlStyle();
    WidgetCreated();
    ApplyWidgetVisibility();
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == parent_)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (parent_)
        parent_->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* win = dynamic_cast<TWinControl*>(parent))
        SetParent(win);
}

void TControl::Loaded() { TComponent::Loaded(); }

TWinControl* TControl::TopParent() const
{
    TControl* c = const_cast<TControl*>(this);
    while (c->parent_)
        c = c->parent_;
    return dynamic_cast<TWinControl*>(c);
}

TForm* TControl::ParentForm() const
{
    TWinControl* top = TopParent();
    return top ? top->AsForm() : nullptr;
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    const bool resized = width != width_ || height != height_;
    if (!resized && left == left_ && top == top_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    if (widget_)
        widget_->setGeometry(left, top, width, height);
    if (resized && !IsLoading())
        Resize();
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->visible_)
            return false;
    return true;
}

void TControl::ApplyWidgetVisibility()
{
    if (!widget_)
        return;
    // A control without a parent never shows: its widget would become a window.
    widget_->setVisible(visible_ && parent_ != nullptr);
}

void TControl::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    ApplyWidgetVisibility();
}

void TControl::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (widget_)
        widget_->setEnabled(enabled);
}

void TControl::SetCursor(TCursor cursor)
{
    cursor_ = cursor;
    if (widget_) {
        if (cursor == crDefault)
            widget_->unsetCursor();
        else
            widget_->setCursor(QtCursor(cursor));
    }
}

void TControl::SetColor(TColor color)
{
    if (color == color_)
        return;
    color_ = color;
    Invalidate();
}

void TControl::SetCaption(const QString& caption)
{
    if (caption == caption_)
        return;
    caption_ = caption;
    Invalidate();
}

void TControl::SetFont(const TFont* font)
{
    if (font)
        font_->Assign(font);
}

void TControl::SetParentFont(bool parentFont)
{
    parentFont_ = parentFont;
    if (parentFont)
        ParentFontChanged();
}

void TControl::ParentFontChanged()
{
    if (!parentFont_ || !parent_)
        return;
    followingParentFont_ = true;
    try {
        font_->Assign(parent_->Font());
    } catch (...) {
        followingParentFont_ = false;
        throw;
    }
    followingParentFont_ = false;
}

void TControl::SetControlStyle(TControlStyle style)
{
    if (style == controlStyle_)
        return;
    controlStyle_ = style;
    ApplyControlStyle();
}

void TControl::ApplyControlStyle()
{
    if (widget_)
        widget_->setAttribute(Qt::WA_OpaquePaintEvent, (controlStyle_ & csOpaque) != 0);
}

void TControl::SetPaintHook(TPaintHook hook)
{
    paintHook_ = std::move(hook);
    Invalidate();
}

bool TControl::MouseCapture() const { return MouseCapture::Control() == this; }

void TControl::SetMouseCapture(bool capture)
{
    if (capture)
        MouseCapture::Set(this);
    else if (MouseCapture())
        MouseCapture::Release();
}

void TControl::Click() { OnClick(this); }
void TControl::DblClick() { OnDblClick(this); }
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { OnMouseDown(this, button, shift, x, y); }
void TControl::MouseMove(TShiftState shift, int x, int y) { OnMouseMove(this, shift, x, y); }
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { OnMouseUp(this, button, shift, x, y); }
void TControl::Resize() { Dispatch([this] { OnResize(this); }); }

void TControl::Invalidate()
{
    if (widget_)
        widget_->update();
}

void TControl::Repaint()
{
    if (widget_ && widget_->isVisible())
        widget_->repaint();
}

void TControl::Update()
{
    if (widget_ && widget_->isVisible())
        widget_->repaint(widget_->visibleRegion());
}

void TControl::BringToFront()
{
    if (parent_)
        parent_->MoveControl(this, true);
}

void TControl::SendToBack()
{
    if (parent_)
        parent_->MoveControl(this, false);
}

// ---- painting

void TControl::PaintControl(QPainter& painter, const QRect& dirty)
{
    PaintWidget(painter, dirty);
    if (!paintHook_)
        return;
    ControlCanvas& surface = Surface();
    CopyScreenBeneath(painter, surface.Handle());
    Dispatch([&] { paintHook_(*surface.Canvas()); });
    surface.Present(painter);
}

void TControl::PaintWidget(QPainter& painter, const QRect& dirty) { PaintThroughCanvas(painter, dirty); }

void TControl::PaintThroughCanvas(QPainter& painter, const QRect& dirty)
{
    bool paint = false;
    Dispatch([&] { paint = BeginPaint(); });
    if (!paint)
        return;
    const QRect clip = dirty & QRect(0, 0, width_, height_);
    paintRect_ = Rect(clip.left(), clip.top(), clip.left() + clip.width(), clip.top() + clip.height());
    ControlCanvas& surface = Surface();
    if (WantsScreenBeneath())
        CopyScreenBeneath(painter, surface.Handle());
    Dispatch([this] { Paint(); });
    surface.Present(painter);
    Dispatch([this] { EndPaint(); });
}

ControlCanvas& TControl::Surface()
{
    if (!surface_)
        surface_ = std::make_unique<ControlCanvas>();
    surface_->Prepare(Width(), Height());
    return *surface_;
}

TCanvas* TControl::PaintCanvas() { return Surface().Canvas(); }

bool TControl::CopyScreenBeneath(QPainter& painter, HDC dest) const
{
    // The parent and the siblings beneath have already painted into the same
    // device during this paint; read their pixels back.
    QPaintDevice* device = painter.paintEngine() ? painter.paintEngine()->paintDevice() : nullptr;
    QImage fromPixmap;
    const QImage* screen = dynamic_cast<QImage*>(device);
    if (!screen) {
        if (auto* pixmap = dynamic_cast<QPixmap*>(device)) {
            fromPixmap = pixmap->toImage();
            screen = &fromPixmap;
        }
    }
    const QImage* target = DcImage(dest);
    if (!screen || !target)
        return false;
    const QTransform toDevice = painter.deviceTransform();
    const qreal scale = std::max<qreal>(1.0, screen->devicePixelRatio());
    QImage beneath = screen->copy(toDevice.mapRect(QRect(0, 0, Width(), Height())));
    if (scale != 1.0)
        beneath = beneath.scaled(Width(), Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    beneath = beneath.convertToFormat(QImage::Format_RGB32);
    auto drawTarget = GetDcDrawTarget(dest);
    if (!drawTarget)
        return false;
    QPainter copy(drawTarget->image);
    copy.setCompositionMode(QPainter::CompositionMode_Source);
    copy.drawImage(drawTarget->origin.X, drawTarget->origin.Y, beneath);
    return true;
}

// ---- mouse messages

void TControl::WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    if (controlStyle_ & csCaptureMouse)
        SetMouseCapture(true);
    if (button == mbLeft && (controlStyle_ & csClickEvents)) {
        if (doubleClick)
            Dispatch([this] { DblClick(); });
        else
            clicked_ = true;
    }
    Dispatch([&] { MouseDown(button, shift, x, y); });
}

void TControl::WMMouseMove(TShiftState shift, int x, int y)
{
    Dispatch([&] { MouseMove(shift, x, y); });
}

void TControl::WMButtonUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // The capture ends when no button is held any longer.
    if (!(shift & (ssLeft | ssRight | ssMiddle)))
        SetMouseCapture(false);
    if (button == mbLeft && clicked_) {
        clicked_ = false;
        if (InsideControl(x, y, Width(), Height()))
            Dispatch([this] { Click(); });
    }
    Dispatch([&] { MouseUp(button, shift, x, y); });
}

// ---- TWinControl

VN_DEFINE_ABSTRACT_COMPONENT(TWinControl, TControl,
    p.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder, std::nullopt);
    p.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop, false);
    p.EventProp("OnEnter", &TWinControl::OnEnter);
    p.EventProp("OnExit", &TWinControl::OnExit);
    p.EventProp("OnKeyDown", &TWinControl::OnKeyDown);
    p.EventProp("OnKeyUp", &TWinControl::OnKeyUp);
)

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    // Child controls go with their parent, last inserted first.
    while (!controls_.empty()) {
        TControl* child = controls_.back();
        delete child;
    }
}

void TWinControl::InsertControl(TControl* control)
{
    controls_.push_back(control);
    control->parent_ = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        tabList_.push_back(windowed);
    control->ParentFontChanged();
    if (HandleAllocated()) {
        if (QWidget* w = control->widget_) {
            w->setParent(Widget());
            w->setGeometry(control->Left(), control->Top(), control->Width(), control->Height());
        } else {
            control->CreateHandle();
        }
        RestackChildren();
        control->ApplyWidgetVisibility();
    }
    if (TWinControl* top = TopParent())
        top->TabOrderChanged();
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
    control->parent_ = nullptr;
    if (QWidget* w = control->widget_) {
        w->hide();
        w->setParent(nullptr);
    }
}

void TWinControl::WidgetCreated()
{
    for (TControl* child : controls_)
        child->CreateHandle();
    RestackChildren();
    ApplyFocusPolicy();
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    for (TControl* child : controls_)
        child->ParentFontChanged();
}

void TWinControl::MoveControl(TControl* control, bool toFront)
{
    auto it = std::find(controls_.begin(), controls_.end(), control);
    if (it == controls_.end())
        return;
    controls_.erase(it);
    if (toFront)
        controls_.push_back(control);
    else
        controls_.insert(controls_.begin(), control);
    RestackChildren();
}

void TWinControl::RestackChildren()
{
    if (!HandleAllocated())
        return;
    for (int windowed = 0; windowed < 2; ++windowed)
        for (TControl* c : controls_)
            if (c->IsWindowed() == (windowed == 1))
                if (QWidget* w = c->widget_)
                    w->raise();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TControl* c : controls_)
        if (c->Owner() == root)
            proc(c);
}

// ---- keyboard focus

int TWinControl::TabOrder() const
{
    if (!parent_)
        return -1;
    const auto& list = parent_->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (!parent_)
        return;
    auto& list = parent_->tabList_;
    const auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end())
        return;
    list.erase(it);
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
    if (TWinControl* top = TopParent())
        top->TabOrderChanged();
}

void TWinControl::SetTabStop(bool tabStop)
{
    if (tabStop == tabStop_)
        return;
    tabStop_ = tabStop;
    ApplyFocusPolicy();
    if (TWinControl* top = TopParent())
        top->TabOrderChanged();
}

void TWinControl::ApplyFocusPolicy()
{
    if (!HandleAllocated())
        return;
    QWidget* w = Widget();
    if (tabStop_)
        w->setFocusPolicy(Qt::StrongFocus);
    else if (TakesFocus())
        w->setFocusPolicy(Qt::ClickFocus);
    else
        w->setFocusPolicy(Qt::NoFocus);
}

std::vector<TWinControl*> TWinControl::TabList() const
{
    std::vector<TWinControl*> out;
    for (TWinControl* child : tabList_) {
        if (child->tabStop_)
            out.push_back(child);
        const auto inner = child->TabList();
        out.insert(out.end(), inner.begin(), inner.end());
    }
    return out;
}

bool TWinControl::CanFocus() const { return Showing() && Enabled() && (tabStop_ || TakesFocus()); }

bool TWinControl::Focused() const { return HandleAllocated() && Widget()->hasFocus(); }

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    Widget()->setFocus(Qt::OtherFocusReason);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

bool TWinControl::DialogKey(WORD key, TWinControl* focused)
{
    for (TControl* child : controls_)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            if (windowed->DialogKey(key, focused))
                return true;
    return false;
}

void TWinControl::DoEnter() { OnEnter(this); }
void TWinControl::DoExit() { OnExit(this); }

bool TWinControl::WMKeyDown(WORD key, TShiftState shift)
{
    Dispatch([&] { KeyDown(key, shift); });
    return key == 0;
}

bool TWinControl::WMKeyUp(WORD key, TShiftState shift)
{
    Dispatch([&] { KeyUp(key, shift); });
    return key == 0;
}

// ---- TCustomControl

VN_DEFINE_ABSTRACT_COMPONENT(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

// ---- TGraphicControl

VN_DEFINE_ABSTRACT_COMPONENT(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() = default;
