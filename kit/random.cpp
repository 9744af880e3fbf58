#include "kit/random.h"

#include <chrono>

namespace kit {
namespace {

// splitmix64: small, fast, and every 64-bit seed gives a good sequence.
struct Generator {
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    std::uint64_t next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

Generator& generator() {
    static Generator g;
    return g;
}

std::function<float()>& source() {
    static std::function<float()> s;
    return s;
}

}  // namespace

float Rnd() {
    if (source()) return source()();
    // 24 random bits: every value is exact in single precision and below 1.
    return static_cast<float>(generator().next() >> 40) * (1.0f / 16777216.0f);
}

void Randomize() {
    if (source()) return;
    const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    // Mixed with the old state, so two seedings within one clock tick still differ.
    generator().state ^= static_cast<std::uint64_t>(now) * 0xD6E8FEB86659FD93ull;
    generator().next();
}

void Randomize(std::uint64_t seed) {
    if (source()) return;
    generator().state = seed;
}

void SetRndSource(std::function<float()> s) { source() = std::move(s); }

}  // namespace kit
