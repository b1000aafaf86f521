#include "framework/widgets/ExtCtrls.h"

#include "framework/graphics/JpegImage.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
QColor ToQColor(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

const TBitmap* BitmapOf(const TGraphic* graphic)
{
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic))
        return bitmap;
    if (const auto* jpeg = dynamic_cast<const TJPEGImage*>(graphic))
        return &jpeg->Bitmap();
    return nullptr;
}

const std::vector<std::string> kBevels{"bvNone", "bvLowered", "bvRaised", "bvSpace"};
const std::vector<std::string> kAlignments{"taLeftJustify", "taRightJustify", "taCenter"};

void FillLine(TCanvas& canvas, TColor color, const TRect& r)
{
    canvas.Brush()->SetColor(color);
    canvas.Brush()->SetStyle(TBrushStyle::bsSolid);
    canvas.FillRect(r);
}
}

void DrawBevel(TCanvas& canvas, TRect& r, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const TColor topLeft = cut == bvRaised ? clBtnHighlight : clBtnShadow;
    const TColor bottomRight = cut == bvRaised ? clBtnShadow : clBtnHighlight;
    for (int i = 0; i < width && r.Width() > 0 && r.Height() > 0; ++i) {
        if (cut != bvSpace) {
            FillLine(canvas, topLeft, Rect(r.Left, r.Top, r.Right, r.Top + 1));
            FillLine(canvas, topLeft, Rect(r.Left, r.Top, r.Left + 1, r.Bottom));
            FillLine(canvas, bottomRight, Rect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
            FillLine(canvas, bottomRight, Rect(r.Right - 1, r.Top, r.Right, r.Bottom));
        }
        r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
}

// ---- TCustomPanel

VN_DEFINE_COMPONENT(TCustomPanel, TCustomControl,
    p.Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, kBevels, bvNone);
    p.Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, kBevels, bvRaised);
    p.Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1);
    p.Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, kAlignments, taCenter);
)
VN_DEFINE_COMPONENT(TPanel, TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) { SetBounds(0, 0, 185, 41); }

void TCustomPanel::SetBevelInner(TBevelCut bevel)
{
    bevelInner_ = bevel;
    Invalidate();
}
void TCustomPanel::SetBevelOuter(TBevelCut bevel)
{
    bevelOuter_ = bevel;
    Invalidate();
}
void TCustomPanel::SetBevelWidth(int width)
{
    bevelWidth_ = std::max(width, 1);
    Invalidate();
}
void TCustomPanel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

void TCustomPanel::Paint()
{
    TCanvas& canvas = *Canvas();
    TRect r = Rect(0, 0, Width(), Height());
    DrawBevel(canvas, r, bevelOuter_, bevelWidth_);
    FillLine(canvas, Color(), r);
    DrawBevel(canvas, r, bevelInner_, bevelWidth_);
    if (Caption().isEmpty())
        return;
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(TBrushStyle::bsClear);
    const TSize extent = canvas.TextExtent(Caption());
    int x = r.Left + (r.Width() - extent.cx) / 2;
    if (alignment_ == taLeftJustify)
        x = r.Left;
    else if (alignment_ == taRightJustify)
        x = r.Right - extent.cx;
    canvas.TextRect(r, x, r.Top + (r.Height() - extent.cy) / 2, Caption());
}

// ---- TImage

VN_DEFINE_COMPONENT(TImage, TGraphicControl,
    p.Boolean("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize, false);
    p.Boolean("Center", &TImage::Center, &TImage::SetCenter, false);
    p.Boolean("Stretch", &TImage::Stretch, &TImage::SetStretch, false);
    p.Object("Picture", &TImage::Picture);
)

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>())
{
    picture_->OnChange = [this](TObject* sender) { PictureChanged(sender); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

void TImage::SetPicture(const TPicture* picture) { picture_->Assign(picture); }

TCanvas* TImage::Canvas()
{
    if (!picture_->Graphic()) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->SetSize(Width(), Height());
        picture_->SetGraphic(bitmap.get());
    }
    auto* bitmap = dynamic_cast<TBitmap*>(picture_->Graphic());
    if (!bitmap)
        throw EInvalidOperation("Can only modify an image if it contains a bitmap");
    return bitmap->Canvas();
}

void TImage::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    if (autoSize && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
}

void TImage::SetStretch(bool stretch)
{
    stretch_ = stretch;
    Invalidate();
}

void TImage::SetCenter(bool center)
{
    center_ = center;
    Invalidate();
}

void TImage::PictureChanged(TObject*)
{
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0)
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    Invalidate();
}

void TImage::PaintWidget(QPainter& painter, const QRect&)
{
    // An empty picture control draws nothing at run time: what lies beneath shows.
    const TBitmap* bitmap = BitmapOf(picture_->Graphic());
    if (!bitmap || bitmap->Empty() || !bitmap->Image())
        return;
    const QImage& image = *bitmap->Image();
    if (stretch_) {
        painter.drawImage(QRect(0, 0, Width(), Height()), image);
        return;
    }
    int x = 0;
    int y = 0;
    if (center_) {
        x = (Width() - image.width()) / 2;
        y = (Height() - image.height()) / 2;
    }
    painter.drawImage(x, y, image);
}

// ---- TLabel

VN_DEFINE_COMPONENT(TLabel, TGraphicControl,
    p.Enum("Alignment", &TLabel::Alignment, &TLabel::SetAlignment, kAlignments, taLeftJustify);
    p.Boolean("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize, true);
    p.Boolean("Transparent", &TLabel::Transparent, &TLabel::SetTransparent, false);
)

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 65, 17); }

void TLabel::FontChanged()
{
    AdjustBounds();
    Invalidate();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    Invalidate();
}

void TLabel::SetAutoSize(bool autoSize)
{
    autoSize_ = autoSize;
    AdjustBounds();
}

void TLabel::SetTransparent(bool transparent)
{
    transparent_ = transparent;
    Invalidate();
}

void TLabel::SetCaption(const QString& caption)
{
    TGraphicControl::SetCaption(caption);
    AdjustBounds();
}

void TLabel::AdjustBounds()
{
    if (!autoSize_ || IsLoading())
        return;
    const QFontMetrics metrics(Font()->ToQFont());
    const QString text = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
    SetBounds(Left(), Top(), metrics.horizontalAdvance(text), metrics.height());
}

void TLabel::PaintWidget(QPainter& painter, const QRect&)
{
    const QRect r(0, 0, Width(), Height());
    if (!transparent_)
        painter.fillRect(r, ToQColor(Color()));
    painter.setFont(Font()->ToQFont());
    painter.setPen(ToQColor(Font()->Color()));
    const int h = alignment_ == taLeftJustify ? Qt::AlignLeft : alignment_ == taRightJustify ? Qt::AlignRight
                                                                                              : Qt::AlignHCenter;
    painter.drawText(r, h | Qt::AlignTop, Caption());
}

// ---- TBevel

VN_DEFINE_COMPONENT(TBevel, TGraphicControl,
    p.Enum("Shape", &TBevel::Shape, &TBevel::SetShape,
           {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine", "bsRightLine", "bsSpacer"}, bsBox);
    p.Enum("Style", &TBevel::Style, &TBevel::SetStyle, {"bsLowered", "bsRaised"}, bsLowered);
)

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 50, 50); }

void TBevel::SetShape(TBevelShape shape)
{
    shape_ = shape;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle style)
{
    style_ = style;
    Invalidate();
}

void TBevel::Paint()
{
    TCanvas& canvas = *Canvas();
    const TColor dark = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
    const TColor light = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
    const int w = Width();
    const int h = Height();
    switch (shape_) {
    case bsBox: {
        TRect r = Rect(0, 0, w, h);
        DrawBevel(canvas, r, style_ == bsLowered ? bvLowered : bvRaised, 1);
        break;
    }
    case bsFrame:
        // A groove: a dark frame with a light one one pixel further in.
        FillLine(canvas, light, Rect(1, 1, w, 2));
        FillLine(canvas, light, Rect(1, 1, 2, h));
        FillLine(canvas, light, Rect(0, h - 1, w, h));
        FillLine(canvas, light, Rect(w - 1, 0, w, h));
        FillLine(canvas, dark, Rect(0, 0, w - 1, 1));
        FillLine(canvas, dark, Rect(0, 0, 1, h - 1));
        FillLine(canvas, dark, Rect(0, h - 2, w - 1, h - 1));
        FillLine(canvas, dark, Rect(w - 2, 0, w - 1, h - 1));
        break;
    case bsTopLine:
        FillLine(canvas, dark, Rect(0, 0, w, 1));
        FillLine(canvas, light, Rect(0, 1, w, 2));
        break;
    case bsBottomLine:
        FillLine(canvas, dark, Rect(0, h - 2, w, h - 1));
        FillLine(canvas, light, Rect(0, h - 1, w, h));
        break;
    case bsLeftLine:
        FillLine(canvas, dark, Rect(0, 0, 1, h));
        FillLine(canvas, light, Rect(1, 0, 2, h));
        break;
    case bsRightLine:
        FillLine(canvas, dark, Rect(w - 2, 0, w - 1, h));
        FillLine(canvas, light, Rect(w - 1, 0, w, h));
        break;
    case bsSpacer:
        break;
    }
}

void RegisterStandardControls()
{
    RegisterClass(TPanel::StaticClassInfo());
    RegisterClass(TImage::StaticClassInfo());
    RegisterClass(TLabel::StaticClassInfo());
    RegisterClass(TBevel::StaticClassInfo());
}
