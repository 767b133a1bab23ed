#include "colour/random.h"

#include <bit>

namespace kalidor {

void RandomGenerator::Randomize(float seed)
{
    // Every distinct single value is a distinct seed.
    engine_.seed(std::bit_cast<std::uint32_t>(seed));
}

float RandomGenerator::Rnd()
{
    // 24 random bits: exactly a single's precision, and never 1.
    return static_cast<float>(engine_() >> 8) * 0x1.0p-24f;
}

RandomGenerator& programRandom()
{
    static RandomGenerator generator;
    return generator;
}

}  // namespace kalidor
