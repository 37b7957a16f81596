#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A small generator of its own (splitmix64), so that a seed gives the same rule file with every
// compiler and standard library.
class CBenchRandom {
public:
    explicit CBenchRandom(uint64_t seed) : state_(seed) {}

    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // A number from low to high, both included.
    int Between(int low, int high) { return low + static_cast<int>(Next() % (high - low + 1)); }
    bool Chance(int percent) { return Between(1, 100) <= percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& from) { return from[Next() % from.size()]; }

private:
    uint64_t state_;
};
