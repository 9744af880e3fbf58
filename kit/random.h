// The toolkit's process-wide random numbers: uniform in [0, 1), single precision.
#pragma once
#include <cstdint>
#include <functional>

namespace kit {

// The next number, 0 <= r < 1.
float Rnd();
// Seeds the generator from a high-resolution clock, so two seedings within the same second
// still give different sequences.
void Randomize();
// Seeds the generator with a fixed value: the same seed gives the same sequence.
void Randomize(std::uint64_t seed);

// Test seam: while a source is set, Rnd() returns its values and Randomize() changes nothing.
// An empty function goes back to the generator.
void SetRndSource(std::function<float()> source);

}  // namespace kit
