#pragma once
// The colours of the disc's title design: warm cream and amber for paper and
// buttons, terracotta for accents, a deep teal for badges and headings.

#include <QColor>

namespace disc::art::palette {

inline const QColor ink{0x2b, 0x1d, 0x14};
inline const QColor cream{0xf7, 0xee, 0xda};
inline const QColor paper{0xee, 0xe2, 0xc6};
inline const QColor amber{0xe9, 0xa2, 0x3b};
inline const QColor amberLight{0xff, 0xe2, 0xa8};
inline const QColor terracotta{0xc2, 0x5a, 0x32};
inline const QColor brownEdge{0x5a, 0x31, 0x15};
inline const QColor teal{0x1f, 0x7a, 0x80};
inline const QColor tealLight{0x5f, 0xb8, 0xb4};
inline const QColor deepTeal{0x10, 0x3f, 0x48};
inline const QColor night{0x14, 0x1c, 0x26};

} // namespace disc::art::palette
