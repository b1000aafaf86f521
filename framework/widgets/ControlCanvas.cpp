#include "framework/widgets/ControlCanvas.h"

#include "framework/graphics/DeviceContext.h"

#include <QPainter>

ControlCanvas::ControlCanvas() : canvas_(std::make_unique<TCanvas>()) {}

ControlCanvas::~ControlCanvas()
{
    canvas_->SetHandle(nullptr);
    if (dc_)
        DeleteDC(dc_);
}

void ControlCanvas::Prepare(int width, int height)
{
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (!dc_) {
        dc_ = CreateSurfaceDC(width, height);
        canvas_->SetHandle(dc_);
    } else if (width != width_ || height != height_) {
        ResizeSurfaceDC(dc_, width, height);
    }
    width_ = width;
    height_ = height;
}

void ControlCanvas::Present(QPainter& painter) const
{
    if (const QImage* image = DcImage(dc_))
        painter.drawImage(0, 0, *image);
}
