#pragma once
// The drawing tools of a canvas: TPen, TBrush and TFont. Each is a plain set
// of properties that fires OnChange when one of them changes; the canvas turns
// them into GDI objects (or a QFont) when it draws.

#include "framework/core/Object.h"
#include "framework/graphics/Colors.h"

#include <QFont>

#include <string>

class TGraphicsObject : public TPersistent {
    VN_CLASS(TGraphicsObject)
public:
    TNotifyEvent OnChange;

protected:
    void Changed();
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// How a pen combines with what is there (the binary raster operations).
enum class TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TGraphicsObject {
    VN_CLASS(TPen)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Width() const { return width_; }
    void SetWidth(int w);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle s);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode m);
    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = TPenStyle::psSolid;
    TPenMode mode_ = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
    VN_CLASS(TBrush)
public:
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle s);
    void Assign(const TPersistent* source) override;

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = TBrushStyle::bsSolid;
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned; // a set of TFontStyle bits

enum class TFontPitch { fpDefault, fpVariable, fpFixed };
// Whether text edges are smoothed. Text on monochrome surfaces never is.
enum class TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };

inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int SHIFTJIS_CHARSET = 128;

// Screen resolution the point sizes are reckoned in.
inline constexpr int kPixelsPerInch = 96;

class TFont : public TGraphicsObject {
    VN_CLASS(TFont)
public:
    // The framework's default font: "ＭＳ Ｐゴシック" at 9 points (12 pixels), the
    // Shift-JIS character set, window-text colour. The family name is handed to
    // Qt as it is; the framework maps the classic names by font substitution.
    TFont();

    const std::string& Name() const { return name_; } // UTF-8
    void SetName(const std::string& name);
    // Height in pixels: negative = character height without internal leading
    // (what Size gives), positive = cell height.
    int Height() const { return height_; }
    void SetHeight(int h);
    int Size() const; // points
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles s);
    TColor Color() const { return color_; }
    void SetColor(TColor c);
    int Charset() const { return charset_; }
    void SetCharset(int c);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch p);
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality q);
    void Assign(const TPersistent* source) override;

    // The font for QPainter (needs a QGuiApplication).
    QFont ToQFont(bool monochrome = false) const;

private:
    std::string name_;
    int height_ = -12;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    int charset_ = SHIFTJIS_CHARSET;
    TFontPitch pitch_ = TFontPitch::fpDefault;
    TFontQuality quality_ = TFontQuality::fqDefault;
};
