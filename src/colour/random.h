#pragma once
// The palette's random numbers: one generator for the program, seeded
// explicitly, so that a seed always gives the same sequence.

#include <cstdint>
#include <random>

namespace kalidor {

class RandomGenerator {
public:
    // Restarts the sequence from a seed; equal seeds give equal sequences.
    void Randomize(float seed);
    // The next value, uniform in [0, 1).
    float Rnd();

private:
    std::mt19937 engine_;
};

// The generator the palette draws from.
RandomGenerator& programRandom();

}  // namespace kalidor
