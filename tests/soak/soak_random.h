#pragma once
// Random sources for the soak runs: a fair one, and a careless one that now
// and then answers outside [0, count), to show that no draw leaves its table
// even then.

#include "platform/random_source.h"

#include <climits>
#include <cstdint>
#include <random>

namespace hoshi::soak {

class CarelessRandom final : public hoshi::RandomSource {
public:
    explicit CarelessRandom(std::uint32_t seed) : m_engine(seed) {}

    int below(int count) override
    {
        if (std::uniform_int_distribution<int>(0, 9)(m_engine) == 0) {
            static const int wild[] = {-1, INT_MIN, INT_MAX, 0, 1000};
            const int pick = std::uniform_int_distribution<int>(0, 5)(m_engine);
            return pick < 5 ? wild[pick] : count;
        }
        return count < 1 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(m_engine);
    }

private:
    std::mt19937 m_engine;
};

} // namespace hoshi::soak
