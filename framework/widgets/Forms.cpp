#include "framework/widgets/Forms.h"

#include "framework/widgets/Application.h"
#include "framework/widgets/ControlWidget.h"
#include "framework/widgets/Dispatch.h"
#include "framework/widgets/MouseCapture.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
// The form's window: hands the close box to the form instead of closing.
class FormWidget : public ControlWidget {
public:
    FormWidget(TForm* form) : ControlWidget(form, nullptr), form_(form) {}
    void Forget() { form_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* e) override
    {
        e->ignore();
        if (form_)
            form_->CloseRequested();
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
    // A form's widget is a window of its own.
    delete widget_;
    widget_ = new FormWidget(this);
    widget_->setAttribute(Qt::WA_NoSystemBackground, false);
    SetVisible(false);
    ApplyWindowFlags();
}

TForm::~TForm()
{
    if (modalLoop_)
        modalLoop_->exit(mrCancel);
    if (auto* w = static_cast<FormWidget*>(widget_))
        w->Forget();
}

void TForm::SetClientWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
void TForm::SetClientHeight(int height) { SetBounds(Left(), Top(), Width(), height); }

void TForm::SetBounds(int left, int top, int width, int height)
{
    TWinControl::SetBounds(left, top, width, height);
    ApplyFixedSize();
}

void TForm::SetBorderStyle(TFormBorderStyle style)
{
    borderStyle_ = style;
    ApplyWindowFlags();
    ApplyFixedSize();
}

void TForm::SetBorderIcons(std::uint32_t icons)
{
    borderIcons_ = icons;
    ApplyWindowFlags();
}

void TForm::SetPosition(TPosition position) { position_ = position; }

void TForm::SetCaption(const QString& caption)
{
    TWinControl::SetCaption(caption);
    widget_->setWindowTitle(caption);
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
    const bool wasVisible = widget_->isVisible();
    widget_->setWindowFlags(flags);
    if (wasVisible)
        widget_->show();
}

void TForm::ApplyFixedSize()
{
    if (borderStyle_ == bsSizeable || borderStyle_ == bsSizeToolWin) {
        widget_->setMinimumSize(0, 0);
        widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        widget_->resize(Width(), Height());
    } else {
        widget_->setFixedSize(Width(), Height());
    }
}

void TForm::Centre()
{
    QScreen* screen = widget_->screen() ? widget_->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize frame = widget_->frameGeometry().size();
    const QSize outer(std::max(frame.width(), Width()), std::max(frame.height(), Height()));
    widget_->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
}

void TForm::ApplyWidgetVisibility()
{
    // A form is a window: it shows without a parent.
}

void TForm::SetVisible(bool visible)
{
    if (visible == Visible() && visible == widget_->isVisible())
        return;
    TWinControl::SetVisible(visible);
    if (visible) {
        if (!shownOnce_ && (position_ == poScreenCenter || position_ == poDesktopCenter ||
                            position_ == poMainFormCenter || position_ == poOwnerFormCenter))
            Centre();
        shownOnce_ = true;
        widget_->show();
        Dispatch([this] { OnShow(this); });
    } else {
        widget_->hide();
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
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    if (action == caMinimize)
        widget_->showMinimized();
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
    widget_->setWindowModality(Qt::ApplicationModal);
    SetVisible(true);
    QEventLoop loop;
    modalLoop_ = &loop;
    const int result = loop.exec();
    modalLoop_ = nullptr;
    widget_->setWindowModality(Qt::NonModal);
    SetVisible(false);
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
