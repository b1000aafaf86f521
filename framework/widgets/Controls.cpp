#include "framework/widgets/Controls.h"

#include "framework/widgets/ControlWidget.h"
#include "framework/widgets/Dispatch.h"
#include "framework/widgets/MouseCapture.h"
#include "platform/Codepage.h"

#include "framework/graphics/DeviceContext.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPixmap>

#include <algorithm>

namespace {

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

VN_DEFINE_ABSTRACT_COMPONENT(TControl, TComponent,
    p.Integer("Left", &TControl::Left, &TControl::SetLeft, std::nullopt);
    p.Integer("Top", &TControl::Top, &TControl::SetTop, std::nullopt);
    p.Integer("Width", &TControl::Width, &TControl::SetWidth, std::nullopt);
    p.Integer("Height", &TControl::Height, &TControl::SetHeight, std::nullopt);
    p.Custom(CaptionProperty());
    p.Custom(ColorProperty());
    p.Custom(CursorProperty());
    p.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled, true);
    p.Boolean("Visible", &TControl::Visible, &TControl::SetVisible, true);
    p.EventProp("OnClick", &TControl::OnClick);
    p.EventProp("OnDblClick", &TControl::OnDblClick);
    p.EventProp("OnMouseDown", &TControl::OnMouseDown);
    p.EventProp("OnMouseMove", &TControl::OnMouseMove);
    p.EventProp("OnMouseUp", &TControl::OnMouseUp);
    p.EventProp("OnResize", &TControl::OnResize);
)

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    widget_ = new ControlWidget(this, nullptr);
    widget_->hide();
}

TControl::~TControl()
{
    MouseCapture::Forget(this);
    if (parent_)
        parent_->RemoveControl(this);
    if (widget_) {
        widget_->Detach();
        delete widget_;
        widget_ = nullptr;
    }
}

QWidget* TControl::Widget() const { return widget_; }

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
            widget_->setCursor(QtCursorShape(cursor));
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

void TControl::PaintWidget(QPainter&, const QRect&) {}

// ---- mouse messages

void TControl::WMButtonDown(TMouseButton button, TShiftState shift, int x, int y, bool doubleClick)
{
    SetMouseCapture(true);
    if (button == mbLeft) {
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
        if (x >= 0 && y >= 0 && x < Width() && y < Height())
            Dispatch([this] { Click(); });
    }
    Dispatch([&] { MouseUp(button, shift, x, y); });
}

// ---- TWinControl

VN_DEFINE_ABSTRACT_COMPONENT(TWinControl, TControl)

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
    if (QWidget* w = control->Widget()) {
        w->setParent(Widget());
        w->setGeometry(control->Left(), control->Top(), control->Width(), control->Height());
    }
    RestackChildren();
    control->ApplyWidgetVisibility();
}

void TWinControl::RemoveControl(TControl* control)
{
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    control->parent_ = nullptr;
    if (QWidget* w = control->Widget()) {
        w->hide();
        w->setParent(nullptr);
    }
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
    for (int windowed = 0; windowed < 2; ++windowed)
        for (TControl* c : controls_)
            if (c->IsWindowed() == (windowed == 1))
                if (QWidget* w = c->Widget())
                    w->raise();
}

void TWinControl::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root)
{
    for (TControl* c : controls_)
        if (c->Owner() == root)
            proc(c);
}

// ---- TGraphicControl

VN_DEFINE_ABSTRACT_COMPONENT(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {}

TGraphicControl::~TGraphicControl() = default;

ControlCanvas& TGraphicControl::Surface()
{
    if (!surface_)
        surface_ = std::make_unique<ControlCanvas>();
    surface_->Prepare(Width(), Height());
    return *surface_;
}

TCanvas* TGraphicControl::Canvas() { return Surface().Canvas(); }

void TGraphicControl::PaintWidget(QPainter& painter, const QRect&)
{
    ControlCanvas& surface = Surface();
    CopyScreenBeneath(painter, surface.Handle());
    Dispatch([this] { Paint(); });
    surface.Present(painter);
}

bool TGraphicControl::CopyScreenBeneath(QPainter& painter, HDC dest) const
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
