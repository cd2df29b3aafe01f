#pragma once
// SplitMix64: a small, fast generator that gives the same numbers on every
// platform and library, so generated data comes out the same every time.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tools {

class Rng {
public:
    explicit Rng(std::uint64_t seed) : s_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % std::uint64_t(n)); }
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }
    template <class T, std::size_t N> const T& pick(const T (&a)[N]) { return a[below(int(N))]; }
    template <class T> const T& pick(const std::vector<T>& v) { return v[size_t(below(int(v.size())))]; }

private:
    std::uint64_t s_;
};

}  // namespace tools
