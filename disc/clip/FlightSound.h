#pragma once
// The clip's sound track: the engines' roar and the wind, the waypoint chime,
// the clunk of the tank, radar pings, the lock tone, the missile's whoosh, a
// far boom and the engines opening up for the climb home.

#include <cstdint>
#include <vector>

namespace disc::clip {

// kSeconds of sound at kSampleRate, mono, as signed values in [-1, 1].
std::vector<double> makeFlightSound();

// The same as unsigned 8-bit samples (128 is silence), the way clips of the
// time stored their sound.
std::vector<std::uint8_t> toUnsigned8(const std::vector<double>& samples);

} // namespace disc::clip
