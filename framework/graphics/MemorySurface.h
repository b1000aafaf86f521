#pragma once
// An off-screen drawing surface the classic way: a memory device context with
// a bitmap of its own selected into it. Release (and destruction) selects the
// displaced bitmap back and deletes the bitmap and the context.

#include "framework/graphics/DeviceContext.h"

class MemorySurface {
public:
    MemorySurface() = default;
    ~MemorySurface() { Release(); }
    MemorySurface(const MemorySurface&) = delete;
    MemorySurface& operator=(const MemorySurface&) = delete;

    // A context compatible with reference (0: the screen) holding bitmap,
    // which the surface owns from now on. Releases what it held before.
    void Make(HDC reference, HBITMAP bitmap, int width, int height);
    void Release();

    HDC Handle() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    // The size the surface was made for.
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ displaced_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
