#pragma once
// A single-picture GIF file written with giflib's encoder: logical screen the
// picture's size, one global colour table, one image, no extensions.

#include "disc/IndexedImage.h"

#include <vector>

namespace disc {

std::vector<unsigned char> encodeGif(const IndexedImage& image);

} // namespace disc
