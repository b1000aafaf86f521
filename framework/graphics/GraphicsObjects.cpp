#include "framework/graphics/GraphicsObjects.h"

#include <QFontMetrics>

#include <cmath>

void TGraphicsObject::Changed()
{
    if (OnChange)
        OnChange(this);
}

// Sets a property and reports the change when the value is new.
template <typename T> static bool Update(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

// ---- TPen

void TPen::SetColor(TColor c)
{
    if (Update(color_, c))
        Changed();
}
void TPen::SetWidth(int w)
{
    if (w >= 0 && Update(width_, w))
        Changed();
}
void TPen::SetStyle(TPenStyle s)
{
    if (Update(style_, s))
        Changed();
}
void TPen::SetMode(TPenMode m)
{
    if (Update(mode_, m))
        Changed();
}
void TPen::Assign(const TPersistent* source)
{
    if (const auto* pen = dynamic_cast<const TPen*>(source)) {
        color_ = pen->color_;
        width_ = pen->width_;
        style_ = pen->style_;
        mode_ = pen->mode_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// ---- TBrush

void TBrush::SetColor(TColor c)
{
    // As in the classic class, choosing a colour for a clear brush makes it solid.
    bool changed = Update(color_, c);
    if (style_ == TBrushStyle::bsClear) {
        style_ = TBrushStyle::bsSolid;
        changed = true;
    }
    if (changed)
        Changed();
}
void TBrush::SetStyle(TBrushStyle s)
{
    if (Update(style_, s))
        Changed();
}
void TBrush::Assign(const TPersistent* source)
{
    if (const auto* brush = dynamic_cast<const TBrush*>(source)) {
        color_ = brush->color_;
        style_ = brush->style_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

// ---- TFont

TFont::TFont() : name_("ＭＳ Ｐゴシック") {}

void TFont::SetName(const std::string& name)
{
    if (!name.empty() && Update(name_, name))
        Changed();
}
void TFont::SetHeight(int h)
{
    if (Update(height_, h))
        Changed();
}
int TFont::Size() const
{
    // MulDiv(-Height, 72, PixelsPerInch), rounded as Win32's MulDiv rounds.
    return int(std::lround(-height_ * 72.0 / kPixelsPerInch));
}
void TFont::SetSize(int points) { SetHeight(-int(std::lround(points * double(kPixelsPerInch) / 72.0))); }
void TFont::SetStyle(TFontStyles s)
{
    if (Update(style_, s))
        Changed();
}
void TFont::SetColor(TColor c)
{
    if (Update(color_, c))
        Changed();
}
void TFont::SetCharset(int c)
{
    if (Update(charset_, c))
        Changed();
}
void TFont::SetPitch(TFontPitch p)
{
    if (Update(pitch_, p))
        Changed();
}
void TFont::SetQuality(TFontQuality q)
{
    if (Update(quality_, q))
        Changed();
}
void TFont::Assign(const TPersistent* source)
{
    if (const auto* font = dynamic_cast<const TFont*>(source)) {
        name_ = font->name_;
        height_ = font->height_;
        style_ = font->style_;
        color_ = font->color_;
        charset_ = font->charset_;
        pitch_ = font->pitch_;
        quality_ = font->quality_;
        Changed();
        return;
    }
    TGraphicsObject::Assign(source);
}

QFont TFont::ToQFont(bool monochrome) const
{
    QFont font(QString::fromStdString(name_));
    if (height_ < 0) {
        font.setPixelSize(-height_);
    } else if (height_ > 0) {
        // A cell height: scale the character height so ascent + descent fit.
        QFont probe = font;
        probe.setPixelSize(100);
        const int cell = QFontMetrics(probe).height();
        font.setPixelSize(std::max(1, int(std::lround(height_ * 100.0 / std::max(cell, 1)))));
    } else {
        font.setPixelSize(12);
    }
    font.setBold(style_ & fsBold);
    font.setItalic(style_ & fsItalic);
    font.setUnderline(style_ & fsUnderline);
    font.setStrikeOut(style_ & fsStrikeOut);
    if (pitch_ == TFontPitch::fpFixed)
        font.setFixedPitch(true);
    if (monochrome || quality_ == TFontQuality::fqNonAntialiased)
        font.setStyleStrategy(QFont::NoAntialias);
    else if (quality_ == TFontQuality::fqAntialiased)
        font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}
