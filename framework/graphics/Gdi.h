#pragma once
// The whole GDI layer in one include: types and handles, objects, device
// contexts, blits and device-independent bitmaps.

#include "framework/graphics/Blit.h"
#include "framework/graphics/DeviceContext.h"
#include "framework/graphics/Dib.h"
#include "framework/graphics/GdiObjects.h"
#include "framework/graphics/GdiTypes.h"
