#pragma once
// A control's drawing surface for the classic Paint-through-Canvas style: a
// back buffer the size of the control, wrapped in a TCanvas, copied to the
// screen once Paint has drawn into it.

#include "framework/graphics/Canvas.h"
#include "framework/graphics/GdiTypes.h"

#include <memory>

class QPainter;

class ControlCanvas {
public:
    ControlCanvas();
    ~ControlCanvas();
    ControlCanvas(const ControlCanvas&) = delete;
    ControlCanvas& operator=(const ControlCanvas&) = delete;

    // Makes the back buffer width x height (keeping the pixels both share).
    void Prepare(int width, int height);
    TCanvas* Canvas() { return canvas_.get(); }
    HDC Handle() const { return dc_; }
    // Copies the back buffer to the screen at (0, 0).
    void Present(QPainter& painter) const;

private:
    HDC dc_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::unique_ptr<TCanvas> canvas_;
};
