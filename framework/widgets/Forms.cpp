#include "framework/widgets/Forms.h"

#include "framework/core/Dispatch.h"
#include "framework/widgets/ControlWidget.h"
#include "framework/widgets/MouseCapture.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
// The form's window: hands the close box to the form instead of closing, and
// tells it when the window system has framed the window.
class FormWidget : public ControlWidget {
public:
    explicit FormWidget(TForm* form)
        : ControlWidget([form](QPainter& painter, const QRect& dirty) { form->PaintControl(painter, dirty); }),
          form_(form)
    {
    }
    void Forget()
    {
        form_ = nullptr;
        Detach();
    }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        if (form_)
            form_->CloseRequested();
    }
    void moveEvent(QMoveEvent* e) override
    {
        ControlWidget::moveEvent(e);
        if (form_ && frameGeometry().size() != size())
            form_->FrameKnown();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        ControlWidget::resizeEvent(e);
        if (form_ && frameGeometry().size() != size())
            form_->FrameKnown();
    }

private:
    TForm* form_;
};
}

VN_DEFINE_COMPONENT(TForm, TWinControl,
    p.Integer("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth, std::nullopt);
    p.Integer("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight, std::nullopt);
    p.Enum("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle,
           {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"}, bsSizeable);
    p.Set("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons,
          {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"}, biSystemMenu | biMinimize | biMaximize);
    p.Enum("Position", &TForm::Position, &TForm::SetPosition,
           {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly", "poScreenCenter",
            "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"}, poDesigned);
    p.Integer("PixelsPerInch", &TForm::Ignored, &TForm::SetIgnored, 0);
    p.Integer("TextHeight", &TForm::Ignored, &TForm::SetIgnored, 0);
    p.EventProp("OnCreate", &TForm::OnCreate);
    p.EventProp("OnShow", &TForm::OnShow);
    p.EventProp("OnHide", &TForm::OnHide);
    p.EventProp("OnDestroy", &TForm::OnDestroy);
    p.EventProp("OnPaint", &TForm::OnPaint);
    p.EventProp("OnCloseQuery", &TForm::OnCloseQuery);
    p.EventProp("OnClose", &TForm::OnClose);
)

TForm::TForm(TComponent* owner) : TWinControl(owner)
{
    // A form starts hidden; its window is made when it is first needed.
    TWinControl::SetVisible(false);
}

TForm::~TForm()
{
    if (modalLoop_)
        modalLoop_->exit(mrCancel);
    if (HandleAllocated())
        static_cast<FormWidget*>(Widget())->Forget();
}

QWidget* TForm::CreateWidget() { return new FormWidget(this); }

void TForm::WidgetCreated()
{
    QWidget* w = Widget();
    // A form's widget is a window of its own, painted whole.
    w->setAttribute(Qt::WA_NoSystemBackground, false);
    w->setWindowTitle(Caption());
    ApplyWindowFlags();
    ApplyFixedSize();
    TWinControl::WidgetCreated();
}

void TForm::SetClientWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void TForm::SetClientHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void TForm::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    if (HandleAllocated())
        ApplyFixedSize();
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    borderStyle_ = style;
    if (HandleAllocated()) {
        ApplyWindowFlags();
        ApplyFixedSize();
    }
}

void TForm::SetBorderIcons(std::uint32_t icons)
{
    borderIcons_ = icons;
    if (HandleAllocated())
        ApplyWindowFlags();
}

void TForm::SetPosition(TPosition position) { position_ = position; }

void TForm::SetCaption(const QString& caption)
{
    TWinControl::SetCaption(caption);
    if (HandleAllocated())
        Widget()->setWindowTitle(caption);
}

void TForm::ApplyWindowFlags()
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsToolWindow || borderStyle_ == bsSizeToolWin)
        flags = Qt::Tool | Qt::CustomizeWindowHint;
    else if (borderStyle_ == bsDialog)
        flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (borderStyle_ == bsNone)
        flags |= Qt::FramelessWindowHint;
    else
        flags |= Qt::WindowTitleHint;
    if (borderIcons_ & biSystemMenu)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    // A dialog frame has no minimize box; no window here ever has a maximize box.
    if ((borderIcons_ & biMinimize) && borderStyle_ != bsDialog && borderStyle_ != bsToolWindow &&
        borderStyle_ != bsSizeToolWin)
        flags |= Qt::WindowMinimizeButtonHint;
    const bool wasVisible = Widget()->isVisible();
    Widget()->setWindowFlags(flags);
    if (wasVisible)
        Widget()->show();
}

void TForm::ApplyFixedSize()
{
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
        Widget()->setMinimumSize(0, 0);
        Widget()->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        Widget()->resize(Width(), Height());
    } else {
        Widget()->setFixedSize(Width(), Height());
    }
}

bool TForm::Centred() const
{
    return position_ == poScreenCenter || position_ == poDesktopCenter || position_ == poMainFormCenter ||
           position_ == poOwnerFormCenter;
}

void TForm::Centre()
{
    QWidget* w = Widget();
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The whole window, frame included, goes to the middle of the screen.
    // Before the window system has framed the window its frame is not known;
    // FrameKnown centres it again once it is.
    const QRect area = screen->availableGeometry();
    const QRect frame = w->frameGeometry();
    const int outerWidth = std::max(frame.width(), Width());
    const int outerHeight = std::max(frame.height(), Height());
    // move() places the frame's top-left corner.
    w->move(area.x() + (area.width() - outerWidth) / 2, area.y() + (area.height() - outerHeight) / 2);
}

void TForm::FrameKnown()
{
    if (!recentrePending_)
        return;
    recentrePending_ = false;
    Centre();
}

void TForm::ApplyWidgetVisibility()
{
    // A form is a window: it shows without a parent.
}

void TForm::SetVisible(bool visible)
{
    if (!visible && !HandleAllocated()) {
        TWinControl::SetVisible(false);
        return;
    }
    if (visible == Visible() && visible == Widget()->isVisible())
        return;
    TWinControl::SetVisible(visible);
    if (visible) {
        if (!shownOnce_ && Centred()) {
            Centre();
            recentrePending_ = Widget()->frameGeometry().size() == Widget()->size();
        }
        shownOnce_ = true;
        ApplyTabOrder();
        Widget()->show();
        // A window that is shown takes the keyboard, as a new window on the
        // desktop does; its accelerators work from then on.
        Widget()->activateWindow();
        Dispatch([this] { OnShow(this); });
        if (!ActiveControl())
            FocusFirstControl();
    } else {
        Widget()->hide();
        Dispatch([this] { OnHide(this); });
    }
}

bool TForm::CloseQuery()
{
    bool canClose = true;
    Dispatch([&] { OnCloseQuery(this, canClose); });
    return canClose;
}

void TForm::Close()
{
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    Dispatch([&] { OnClose(this, action); });
    if (action == caNone)
        return;
    if (modalLoop_) {
        if (modalResult_ == mrNone)
            modalResult_ = mrCancel;
        modalLoop_->exit(modalResult_);
        return;
    }
    if (endProgram_) {
        endProgram_();
        return;
    }
    if (action == caMinimize)
        Widget()->showMinimized();
    else
        SetVisible(false);
}

void TForm::CloseRequested() { Dispatch([this] { Close(); }); }

void TForm::SetModalResult(TModalResult result)
{
    modalResult_ = result;
    if (modalLoop_ && result != mrNone)
        Close();
}

TModalResult TForm::ShowModal()
{
    if (modalLoop_)
        throw EInvalidOperation("Cannot make a visible window modal");
    MouseCapture::Release();
    modalResult_ = mrNone;
    Widget()->setWindowModality(Qt::ApplicationModal);
    SetVisible(true);
    QEventLoop loop;
    modalLoop_ = &loop;
    const int result = loop.exec();
    modalLoop_ = nullptr;
    // Hidden while still modal: Qt unblocks the other windows only when a modal window
    // hides, so dropping the modality first would leave them deaf to the mouse.
    SetVisible(false);
    Widget()->setWindowModality(Qt::NonModal);
    return result;
}

void TForm::DoCreate() { Dispatch([this] { OnCreate(this); }); }
void TForm::DoDestroy() { Dispatch([this] { OnDestroy(this); }); }

TCanvas* TForm::Canvas()
{
    canvas_.Prepare(Width(), Height());
    return canvas_.Canvas();
}

void TForm::PaintWidget(QPainter& painter, const QRect&)
{
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(Rect(0, 0, Width(), Height()));
    Dispatch([this] { OnPaint(this); });
    canvas_.Present(painter);
}

// ---- keyboard

TWinControl* TForm::ActiveControl() const
{
    if (!HandleAllocated())
        return nullptr;
    QWidget* focus = Widget()->focusWidget();
    for (QWidget* w = focus; w && w != Widget(); w = w->parentWidget())
        if (auto* control = dynamic_cast<TWinControl*>(ControlOfWidget(w)))
            return control;
    return nullptr;
}

void TForm::FocusFirstControl()
{
    for (TWinControl* control : TabList())
        if (control->CanFocus()) {
            control->SetFocus();
            return;
        }
}

void TForm::TabOrderChanged()
{
    if (HandleAllocated() && Widget()->isVisible())
        ApplyTabOrder();
}

void TForm::ApplyTabOrder()
{
    const std::vector<TWinControl*> order = TabList();
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1]->Widget(), order[i]->Widget());
}

bool TForm::DialogKey(WORD key, TWinControl* focused)
{
    bool taken = false;
    Dispatch([&] { taken = TWinControl::DialogKey(key, focused); });
    return taken;
}
