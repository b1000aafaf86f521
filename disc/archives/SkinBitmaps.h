#pragma once
// The bitmaps of one media-player skin as a skin folder holds them: the main window,
// the transport buttons (normal row over pressed row), the title bar (active over
// inactive), the seek bar with its knob, and the volume slider's strip of positions.

#include "disc/art/PlayerSkin.h"

#include <QImage>

#include <cstdint>

namespace disc::archives {

QImage skinMainWindow(const art::SkinScheme& scheme, std::uint64_t seed);  // 275 x 116
QImage skinButtons(const art::SkinScheme& scheme);                         // 136 x 36
QImage skinTitleBar(const art::SkinScheme& scheme, const QString& title);  // 275 x 28
QImage skinSeekBar(const art::SkinScheme& scheme);                         // 307 x 20
QImage skinVolume(const art::SkinScheme& scheme);                          // 68 x 433

} // namespace disc::archives
