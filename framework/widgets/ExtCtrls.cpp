#include "framework/widgets/ExtCtrls.h"

#include "framework/graphics/JpegImage.h"
#include "framework/widgets/ControlWidget.h"
#include "framework/widgets/Dispatch.h"

#include <QFontMetrics>
#include <QPainter>

namespace {
QColor ToQColor(TColor color)
{
    const COLORREF c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Raised: light top-left, shadow bottom-right; lowered the other way round.
void DrawBevel(QPainter& p, QRect& r, TBevelCut cut, int width)
{
    if (cut == bvNone)
        return;
    const QColor light = ToQColor(clBtnHighlight);
    const QColor shadow = ToQColor(clBtnShadow);
    for (int i = 0; i < width; ++i) {
        if (cut != bvSpace) {
            const QColor topLeft = cut == bvRaised ? light : shadow;
            const QColor bottomRight = cut == bvRaised ? shadow : light;
            p.fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
            p.fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
            p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
            p.fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        }
        r.adjust(1, 1, -1, -1);
    }
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
}

// ---- TCustomPanel

VN_DEFINE_COMPONENT(TCustomPanel, TWinControl,
    p.Enum("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, kBevels, bvNone);
    p.Enum("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, kBevels, bvRaised);
    p.Integer("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth, 1);
    p.Enum("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, kAlignments, taCenter);
)
VN_DEFINE_COMPONENT(TPanel, TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner), font_(std::make_unique<TFont>())
{
    SetBounds(0, 0, 185, 41);
}

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

void TCustomPanel::PaintWidget(QPainter& painter, const QRect&)
{
    QRect r(0, 0, Width(), Height());
    DrawBevel(painter, r, bevelOuter_, bevelWidth_);
    painter.fillRect(r, ToQColor(Color()));
    DrawBevel(painter, r, bevelInner_, bevelWidth_);
    if (!Caption().isEmpty()) {
        painter.setFont(font_->ToQFont());
        painter.setPen(ToQColor(font_->Color()));
        const int h = alignment_ == taLeftJustify ? Qt::AlignLeft : alignment_ == taRightJustify ? Qt::AlignRight
                                                                                                  : Qt::AlignHCenter;
        painter.drawText(r, h | Qt::AlignVCenter, Caption());
    }
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

TLabel::TLabel(TComponent* owner) : TGraphicControl(owner), font_(std::make_unique<TFont>())
{
    SetBounds(0, 0, 65, 17);
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
    const QFontMetrics metrics(font_->ToQFont());
    const QString text = Caption().isEmpty() ? QStringLiteral(" ") : Caption();
    SetBounds(Left(), Top(), metrics.horizontalAdvance(text), metrics.height());
}

void TLabel::PaintWidget(QPainter& painter, const QRect&)
{
    const QRect r(0, 0, Width(), Height());
    if (!transparent_)
        painter.fillRect(r, ToQColor(Color()));
    painter.setFont(font_->ToQFont());
    painter.setPen(ToQColor(font_->Color()));
    const int h = alignment_ == taLeftJustify ? Qt::AlignLeft : alignment_ == taRightJustify ? Qt::AlignRight
                                                                                              : Qt::AlignHCenter;
    painter.drawText(r, h | Qt::AlignTop, Caption());
}

void RegisterStandardControls()
{
    RegisterClass(TPanel::StaticClassInfo());
    RegisterClass(TImage::StaticClassInfo());
    RegisterClass(TLabel::StaticClassInfo());
}
