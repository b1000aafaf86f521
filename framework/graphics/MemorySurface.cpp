#include "framework/graphics/MemorySurface.h"

void MemorySurface::Make(HDC reference, HBITMAP bitmap, int width, int height)
{
    Release();
    dc_ = CreateCompatibleDC(reference);
    bitmap_ = bitmap;
    displaced_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
}

void MemorySurface::Release()
{
    if (!dc_)
        return;
    SelectObject(dc_, displaced_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    displaced_ = nullptr;
    width_ = height_ = 0;
}
