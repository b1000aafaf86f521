#pragma once
// The fortune viewer's title picture: a starry night seen through a small
// arched window, with the programme's name beneath it.

#include <QImage>

namespace disc::art {

QImage paintOracleTitle();

} // namespace disc::art
