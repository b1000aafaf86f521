#pragma once
// A small, portable pseudo-random generator (splitmix64). The demo disc must come
// out byte-identical on every run, so every picture seeds its own generator from
// fixed numbers and nothing ever reads the clock or the system's entropy.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace disc {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}
    // A generator for one named purpose of one picture: mixes the parts into a seed.
    static Rng forPicture(std::uint64_t kind, std::uint64_t number, std::uint64_t purpose = 0);

    std::uint64_t next();
    double unit();                           // [0, 1)
    double range(double low, double high);   // [low, high)
    int between(int low, int high);          // [low, high], both ends included
    bool chance(double probability);
    double jitter(double amount) { return range(-amount, amount); }

    template <typename T>
    const T& pick(const std::vector<T>& items) { return items[static_cast<std::size_t>(between(0, int(items.size()) - 1))]; }

private:
    std::uint64_t state_;
};

// A stateless hash of integers to 64 bits; the noise functions use it as their lattice.
std::uint64_t mixBits(std::uint64_t value);

} // namespace disc
