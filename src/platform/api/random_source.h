// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Uniform whole numbers for the drills and the typing windows: one generator
// per window, seeded once, so two draws in the same clock tick still differ.

#include <cstdint>
#include <random>

namespace hoshi {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    /// A number in [0, count), every value equally likely; 0 when count < 1.
    virtual int below(int count) = 0;
};

/// Mersenne twister seeded from std::random_device, or from a given seed in tests.
class SeededRandom final : public RandomSource {
public:
    SeededRandom() : m_engine(std::random_device{}()) {}
    explicit SeededRandom(std::uint32_t seed) : m_engine(seed) {}

    int below(int count) override
    {
        if (count < 1)
            return 0;
        return std::uniform_int_distribution<int>(0, count - 1)(m_engine);
    }

private:
    std::mt19937 m_engine;
};

} // namespace hoshi
