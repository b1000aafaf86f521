#include "framework/graphics/DcPainter.h"

#include <QImage>

namespace {
QPainter::CompositionMode ModeOf(int rop2)
{
    switch (rop2) {
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    default: return QPainter::CompositionMode_SourceOver; // copy, black, white
    }
}

Qt::PenStyle PenStyleOf(std::uint32_t style)
{
    switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_DASHDOT: return Qt::DashDotLine;
    case PS_DASHDOTDOT: return Qt::DashDotDotLine;
    case PS_NULL: return Qt::NoPen;
    default: return Qt::SolidLine;
    }
}

Qt::BrushStyle HatchOf(std::uintptr_t hatch)
{
    switch (hatch) {
    case HS_HORIZONTAL: return Qt::HorPattern;
    case HS_VERTICAL: return Qt::VerPattern;
    case HS_FDIAGONAL: return Qt::FDiagPattern;
    case HS_BDIAGONAL: return Qt::BDiagPattern;
    case HS_CROSS: return Qt::CrossPattern;
    default: return Qt::DiagCrossPattern;
    }
}
} // namespace

DcPainter::DcPainter(HDC dc) : target_(GetDcDrawTarget(dc))
{
    if (!target_ || dc->rop2 == R2_NOP)
        return;
    painter_ = std::make_unique<QPainter>(target_->image);
    QPainter& p = *painter_;
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setClipRect(QRect(target_->clip.Left, target_->clip.Top, target_->clip.Width(), target_->clip.Height()));
    p.translate(target_->origin.X, target_->origin.Y);
    p.setCompositionMode(ModeOf(dc->rop2));
    rasterOp_ = ModeOf(dc->rop2) != QPainter::CompositionMode_SourceOver;

    // What a pen of R2_BLACK or R2_WHITE draws does not depend on its colour.
    auto penColour = [this, dc](COLORREF c) {
        if (dc->rop2 == R2_BLACK)
            return Color(RGB(0, 0, 0));
        if (dc->rop2 == R2_WHITE)
            return Color(RGB(255, 255, 255));
        return Color(c);
    };

    const LOGPEN& lp = dc->pen->Log();
    QPen pen(PenStyleOf(lp.lopnStyle));
    pen.setColor(penColour(lp.lopnColor));
    if (lp.lopnWidth.x <= 1) {
        pen.setWidth(0); // cosmetic: one pixel whatever the transformation
    } else {
        pen.setWidth(lp.lopnWidth.x);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
    }
    penVisible_ = lp.lopnStyle != PS_NULL;
    p.setPen(penVisible_ ? pen : QPen(Qt::NoPen));

    const LOGBRUSH& lb = dc->brush->Log();
    brushVisible_ = lb.lbStyle != BS_NULL;
    switch (lb.lbStyle) {
    case BS_SOLID: p.setBrush(penColour(lb.lbColor)); break;
    case BS_HATCHED: p.setBrush(QBrush(penColour(lb.lbColor), HatchOf(lb.lbHatch))); break;
    case BS_PATTERN: {
        QImage tile(8, 8, QImage::Format_RGB32);
        for (int i = 0; i < 64; ++i) {
            const bool white = (dc->brush->cells[i / 8] >> (i % 8)) & 1;
            QColor c = dc->brush->colourPattern ? Color(ColorFromPixel(dc->brush->colours[i]))
                                                : Color(white ? dc->bkColor : dc->textColor);
            tile.setPixel(i % 8, i / 8, c.rgb());
        }
        p.setBrush(QBrush(tile));
        break;
    }
    default: p.setBrush(Qt::NoBrush); break;
    }
    p.setBackgroundMode(dc->bkMode == OPAQUE ? Qt::OpaqueMode : Qt::TransparentMode);
    p.setBackground(Color(dc->bkColor));
}

DcPainter::~DcPainter()
{
    if (!painter_)
        return;
    painter_->end();
    if (!rasterOp_)
        return;
    const TRect& c = target_->clip;
    for (int y = c.Top; y < c.Bottom; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(target_->image->scanLine(y));
        for (int x = c.Left; x < c.Right; ++x)
            row[x] |= 0xFF000000u;
    }
}

QColor DcPainter::Color(COLORREF color) const
{
    const std::uint32_t pixel = target_ && target_->monochrome ? MonoPixelFor(color) : PixelFromColor(color);
    return QColor::fromRgb(pixel);
}

std::optional<TPoint> DcPainter::DevicePixel(TPoint logical) const
{
    if (!target_)
        return std::nullopt;
    const std::int64_t x = std::int64_t(logical.X) + target_->origin.X;
    const std::int64_t y = std::int64_t(logical.Y) + target_->origin.Y;
    const TRect& c = target_->clip;
    if (x < c.Left || x >= c.Right || y < c.Top || y >= c.Bottom)
        return std::nullopt;
    return TPoint{int(x), int(y)};
}
