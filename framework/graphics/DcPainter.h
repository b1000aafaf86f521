#pragma once
// A QPainter on the pixels of a device context, set up the way GDI draws:
// logical coordinates through the DC's origin, clipped to its clip rectangle,
// no smoothing, the DC's selected pen and brush, and the pen's binary raster
// operation (SetROP2) as a composition mode. Colours on monochrome surfaces
// take the nearer of black and white. The painter ends when this object goes
// out of scope, and the alpha bytes a raster operation may have cleared are
// set back to 0xFF.

#include "framework/graphics/DeviceContext.h"

#include <QPainter>

#include <memory>
#include <optional>

class DcPainter {
public:
    explicit DcPainter(HDC dc);
    ~DcPainter();
    DcPainter(const DcPainter&) = delete;
    DcPainter& operator=(const DcPainter&) = delete;

    // False when the DC has nothing to draw into or its pen mode draws nothing.
    bool IsActive() const { return painter_ != nullptr; }
    QPainter& Painter() { return *painter_; }
    // A colour as the surface shows it.
    QColor Color(COLORREF color) const;
    bool PenVisible() const { return penVisible_; }
    bool BrushVisible() const { return brushVisible_; }
    // The device position of a logical point, if it lies inside the clip.
    std::optional<TPoint> DevicePixel(TPoint logical) const;
    const DcDrawTarget& Target() const { return *target_; }

private:
    std::optional<DcDrawTarget> target_;
    std::unique_ptr<QPainter> painter_;
    bool rasterOp_ = false;
    bool penVisible_ = false;
    bool brushVisible_ = false;
};
