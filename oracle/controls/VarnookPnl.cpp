#include "oracle/controls/VarnookPnl.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"
#include "framework/widgets/Forms.h"

#include <QEvent>
#include <QWidget>

VN_DEFINE_COMPONENT(TVarnookPanel, TCustomPanel,
    p.Boolean("AutoSize", &TVarnookPanel::AutoSize, &TVarnookPanel::SetAutoSize, true);
    p.Enum("ControlType", &TVarnookPanel::ControlType, &TVarnookPanel::SetControlType, {"ctPanel", "ctButton"}, ctPanel);
    p.Boolean("DoMouseUp", &TVarnookPanel::DoMouseUp, &TVarnookPanel::SetDoMouseUp, std::nullopt);
    p.Boolean("DoVisibleChange", &TVarnookPanel::DoVisibleChange, &TVarnookPanel::SetDoVisibleChange, std::nullopt);
    p.Boolean("Drawing", &TVarnookPanel::Drawing, &TVarnookPanel::SetDrawing, true);
    p.Object("Picture", &TVarnookPanel::Picture);
)

namespace {
// Hears the system's palette change on the panel's widget.
class PaletteWatch : public QObject {
public:
    PaletteWatch(QObject* widget, TVarnookPanel* panel) : QObject(widget), panel_(panel) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange)
            panel_->PaletteChanged();
        return false;
    }

private:
    TVarnookPanel* panel_;
};
}

TVarnookPanel::TVarnookPanel(TComponent* owner) : TCustomPanel(owner), picture_(std::make_unique<TPicture>())
{
    SetBounds(Left(), Top(), 105, 105);
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
}

TVarnookPanel::~TVarnookPanel() { picture_->OnChange = nullptr; }

void TVarnookPanel::WidgetCreated()
{
    TCustomPanel::WidgetCreated();
    Widget()->installEventFilter(new PaletteWatch(Widget(), this));
}

void TVarnookPanel::SetPicture(const TPicture* picture)
{
    picture_->Assign(picture);
    // A picture with a palette of its own would have it selected into the
    // panel's surface here; true-colour output needs no realisation.
}

void TVarnookPanel::PictureChanged()
{
    SetAutoSize(autoSize_);
    Repaint();
}

void TVarnookPanel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    const TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty() || !autoSize)
        return;
    if (graphic->Width() != Width())
        SetWidth(graphic->Width());
    if (graphic->Height() != Height())
        SetHeight(graphic->Height());
}

void TVarnookPanel::SetControlType(TControlType type)
{
    controlType_ = type;
    if (type == ctPanel && doVisibleChange_)
        SetDoVisibleChange(false);
    else if (type == ctButton && !doVisibleChange_)
        SetDoVisibleChange(true);
    UpdateTracker();
}

void TVarnookPanel::SetDoVisibleChange(bool doVisibleChange)
{
    doVisibleChange_ = doVisibleChange;
    if (doVisibleChange && controlType_ != ctButton)
        SetControlType(ctButton);
    else if (!doVisibleChange && controlType_ != ctPanel)
        SetControlType(ctPanel);
}

void TVarnookPanel::SetDoMouseUp(bool doMouseUp)
{
    doMouseUp_ = doMouseUp;
    UpdateTracker();
}

void TVarnookPanel::UpdateTracker()
{
    press_.SetPanelOptions(controlType_, doMouseUp_);
}

void TVarnookPanel::Paint()
{
    const TGraphic* graphic = picture_->Graphic();
    if (graphic && !graphic->Empty())
        PaintCanvas()->Draw(0, 0, *graphic);
    else
        TCustomPanel::Paint();
}

void TVarnookPanel::PaletteChanged()
{
    const TForm* form = ParentForm();
    const bool active = form && form->Widget()->isActiveWindow();
    const TGraphic* graphic = picture_->Graphic();
    if (!active && graphic && !graphic->Empty())
        Repaint();
}

// ---- form data

void TVarnookPanel::DefineProperties(TFiler& filer)
{
    TCustomPanel::DefineProperties(filer);
    stored_.Define(filer);
}

void TVarnookPanel::ReadState(TReader& reader)
{
    stored_.Load(*picture_, Name(), [&] { TCustomPanel::ReadState(reader); });
}

void TVarnookPanel::WriteState(TWriter& writer)
{
    stored_.Save(*picture_, [&] { TCustomPanel::WriteState(writer); });
}

// ---- mouse

void TVarnookPanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomPanel::MouseDown(button, shift, x, y);
    press_.Down(button);
}

void TVarnookPanel::MouseMove(TShiftState shift, int x, int y)
{
    TCustomPanel::MouseMove(shift, x, y);
    press_.Move(x, y);
}

void TVarnookPanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // The normal look shows before the handler runs.
    press_.Up(button, x, y, [&] { TCustomPanel::MouseUp(button, shift, x, y); }, true);
}
