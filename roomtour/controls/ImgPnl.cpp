#include "roomtour/controls/ImgPnl.h"

#include "framework/core/Reader.h"
#include "framework/core/Writer.h"

// ---- TInsideImage

VN_DEFINE_COMPONENT(TInsideImage, TImage)

TInsideImage::TInsideImage(TComponent* owner) : TImage(owner) { SetAutoSize(true); }

TImagePanel* TInsideImage::Panel() const { return dynamic_cast<TImagePanel*>(Parent()); }

void TInsideImage::SetBounds(int left, int top, int, int)
{
    const TPicture* picture = Picture();
    const bool empty = !picture || !picture->Graphic() || picture->Graphic()->Empty();
    TImage::SetBounds(left, top, empty ? 0 : picture->Width(), empty ? 0 : picture->Height());
}

void TInsideImage::Click()
{
    if (TImagePanel* panel = Panel())
        panel->Click();
}

void TInsideImage::DblClick()
{
    if (TImagePanel* panel = Panel())
        panel->DblClick();
}

void TInsideImage::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TImage::MouseDown(button, shift, x, y);
    if (TImagePanel* panel = Panel())
        panel->MouseDown(button, shift, x, y);
}

void TInsideImage::MouseMove(TShiftState shift, int x, int y)
{
    TImage::MouseMove(shift, x, y);
    if (TImagePanel* panel = Panel())
        panel->MouseMove(shift, x, y);
}

void TInsideImage::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TImage::MouseUp(button, shift, x, y);
    if (TImagePanel* panel = Panel())
        panel->MouseUp(button, shift, x, y);
}

// ---- TImagePanel

VN_DEFINE_COMPONENT(TImagePanel, TCustomPanel,
    p.Boolean("AutoSize", &TImagePanel::AutoSize, &TImagePanel::SetAutoSize, true);
    p.Enum("ControlType", &TImagePanel::ControlType, &TImagePanel::SetControlType, {"ctPanel", "ctButton"}, ctPanel);
    p.Boolean("DoMouseUp", &TImagePanel::DoMouseUp, &TImagePanel::SetDoMouseUp, std::nullopt);
    p.Object("Picture", &TImagePanel::Picture);
)

TImagePanel::TImagePanel(TComponent* owner) : TCustomPanel(owner)
{
    SetBounds(Left(), Top(), 105, 105);
    SetBevelOuter(bvNone);
    innerImage_ = new TInsideImage(this);
    innerImage_->SetParent(this);
    innerImage_->SetBounds(0, 0, Width(), Height());
    // The panel hears of every picture change first, then the image itself.
    savedPictureChange_ = innerImage_->Picture()->OnChange;
    innerImage_->Picture()->OnChange = [this](TObject* sender) { PictureChanged(sender); };
}

TImagePanel::~TImagePanel()
{
    if (innerImage_)
        innerImage_->Picture()->OnChange = savedPictureChange_;
}

TPicture* TImagePanel::Picture() const { return innerImage_->Picture(); }

void TImagePanel::SetPicture(const TPicture* picture) { innerImage_->Picture()->Assign(picture); }

bool TImagePanel::PictureEmpty() const
{
    const TGraphic* graphic = Picture()->Graphic();
    return !graphic || graphic->Empty();
}

void TImagePanel::PictureChanged(TObject* sender)
{
    SetAutoSize(autoSize_);
    if (savedPictureChange_)
        savedPictureChange_(sender);
}

void TImagePanel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (PictureEmpty())
        Resize();
    else if (autoSize)
        SetBounds(Left(), Top(), Picture()->Width(), Picture()->Height());
}

void TImagePanel::Resize()
{
    TCustomPanel::Resize();
    if (innerImage_)
        innerImage_->SetBounds(0, 0, Width(), Height());
}

TCanvas* TImagePanel::Canvas()
{
    TPicture* picture = Picture();
    if (!picture->Graphic()) {
        TBitmap surface;
        surface.SetSize(Width(), Height());
        picture->SetGraphic(&surface);
    }
    auto* bitmap = dynamic_cast<TBitmap*>(picture->Graphic());
    if (!bitmap)
        throw EInvalidOperation("Canvasの取得に失敗しました。");
    return bitmap->Canvas();
}

void TImagePanel::ImageRefresh() { innerImage_->Repaint(); }

void TImagePanel::BitBlt(int x, int y, int width, int height, HDC srcDC, int xSrc, int ySrc, std::uint32_t rop,
                         bool refresh)
{
    const TGraphic* graphic = Picture()->Graphic();
    if (graphic && !dynamic_cast<const TBitmap*>(graphic))
        return;
    TCanvas* canvas = Canvas();
    ::BitBlt(canvas->Handle(), x, y, width, height, srcDC, xSrc, ySrc, rop);
    if (refresh)
        ImageRefresh();
}

void TImagePanel::Paint()
{
    // What the panel does not cover with its picture and children stays as it
    // was; only a form designer shows it as an ordinary panel.
    if (IsDesigning())
        TCustomPanel::Paint();
}

void TImagePanel::SetControlType(TControlType type)
{
    controlType_ = type;
    UpdateTracker();
}

void TImagePanel::SetDoMouseUp(bool doMouseUp)
{
    doMouseUp_ = doMouseUp;
    UpdateTracker();
}

void TImagePanel::UpdateTracker()
{
    press_.SetPanelOptions(controlType_, doMouseUp_);
}

// ---- form data

void TImagePanel::DefineProperties(TFiler& filer)
{
    TCustomPanel::DefineProperties(filer);
    stored_.Define(filer);
}

void TImagePanel::ReadState(TReader& reader)
{
    stored_.Load(*Picture(), Name(), [&] { TCustomPanel::ReadState(reader); });
}

void TImagePanel::WriteState(TWriter& writer)
{
    stored_.Save(*Picture(), [&] { TCustomPanel::WriteState(writer); });
}

// ---- mouse

void TImagePanel::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomPanel::MouseDown(button, shift, x, y);
    press_.Down(button);
}

void TImagePanel::MouseMove(TShiftState shift, int x, int y)
{
    TCustomPanel::MouseMove(shift, x, y);
    press_.Move(x, y);
}

void TImagePanel::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    // The normal look shows before the handler runs.
    press_.Up(button, x, y, [&] { TCustomPanel::MouseUp(button, shift, x, y); }, true);
}

void RegisterImagePanelClasses()
{
    RegisterClass(TImagePanel::StaticClassInfo());
    RegisterClass(TInsideImage::StaticClassInfo());
}
