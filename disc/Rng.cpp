#include "disc/Rng.h"

namespace disc {

std::uint64_t mixBits(std::uint64_t z)
{
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

Rng Rng::forPicture(std::uint64_t kind, std::uint64_t number, std::uint64_t purpose)
{
    return Rng(mixBits(mixBits(mixBits(kind) ^ number) ^ (purpose * 0x9e3779b97f4a7c15ULL)));
}

std::uint64_t Rng::next()
{
    state_ += 0x9e3779b97f4a7c15ULL;
    return mixBits(state_);
}

double Rng::unit()
{
    return double(next() >> 11) * (1.0 / 9007199254740992.0);
}

double Rng::range(double low, double high)
{
    return low + (high - low) * unit();
}

int Rng::between(int low, int high)
{
    const auto span = std::uint64_t(std::int64_t(high) - low + 1);
    return low + int(next() % span);
}

bool Rng::chance(double probability)
{
    return unit() < probability;
}

} // namespace disc
