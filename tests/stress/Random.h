// The one source of randomness of a stress run: a seeded generator, so that a
// run (and any finding in it) can be made again from its seed.
#pragma once

#include <cstdint>
#include <random>

namespace stress {

class Rng {
public:
    explicit Rng(uint64_t seed) : m_gen(seed) {}
    uint64_t Next() { return m_gen(); }
    // Uniform in [0, n); n > 0.
    size_t Below(size_t n) { return static_cast<size_t>(m_gen() % n); }
    // Uniform in [lo, hi].
    size_t Between(size_t lo, size_t hi) { return lo + Below(hi - lo + 1); }
    bool OneIn(size_t n) { return Below(n) == 0; }
    // True with the given percentage.
    bool Percent(unsigned p) { return Below(100) < p; }

private:
    std::mt19937_64 m_gen;
};

}  // namespace stress
