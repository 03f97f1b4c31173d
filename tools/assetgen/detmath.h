// Deterministic maths for the asset generator: own random generator, trig, exp and noise,
// so every generated file is the same byte for byte on every machine.
#pragma once
#include <cstdint>
#include <cmath>

namespace ag {

constexpr double PI = 3.14159265358979323846;
constexpr double TWO_PI = 6.28318530717958647692;

// splitmix64: small, fast, and the same everywhere.
struct Rng {
    uint64_t s;
    explicit Rng(uint64_t seed) : s(seed * 0x9E3779B97F4A7C15ull + 0x1234567ull) {}
    uint64_t Next() {
        uint64_t z = (s += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
    double Range(double a, double b) { return a + (b - a) * Uniform(); }
    int Int(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    bool Chance(double p) { return Uniform() < p; }
};

inline uint32_t Hash32(uint32_t x) {
    x ^= x >> 16; x *= 0x7FEB352Du;
    x ^= x >> 15; x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}
inline uint32_t Hash3(int a, int b, uint32_t seed) {
    return Hash32(static_cast<uint32_t>(a) * 0x8DA6B343u ^ Hash32(static_cast<uint32_t>(b) * 0xD8163841u ^ seed));
}
// Hash to [0, 1).
inline double HashUnit(int a, int b, uint32_t seed) { return (Hash3(a, b, seed) >> 8) * (1.0 / 16777216.0); }

// sin/cos from a fixed polynomial after exact range reduction.
inline double Sin(double x) {
    double k = std::nearbyint(x / TWO_PI);
    double r = x - k * TWO_PI;                 // [-pi, pi]
    if (r > PI / 2) r = PI - r;
    else if (r < -PI / 2) r = -PI - r;       // [-pi/2, pi/2]
    double r2 = r * r;
    // Taylor to r^17: error < 1e-15 on the interval.
    double t = 1.0 / 355687428096000.0;
    t = t * r2 - 1.0 / 1307674368000.0;
    t = t * r2 + 1.0 / 6227020800.0;
    t = t * r2 - 1.0 / 39916800.0;
    t = t * r2 + 1.0 / 362880.0;
    t = t * r2 - 1.0 / 5040.0;
    t = t * r2 + 1.0 / 120.0;
    t = t * r2 - 1.0 / 6.0;
    t = t * r2 + 1.0;
    return r * t;
}
inline double Cos(double x) { return Sin(x + PI / 2); }

inline double Exp(double x) {
    if (x < -700) return 0.0;
    if (x > 700) x = 700;
    double k = std::nearbyint(x / 0.69314718055994530942);
    double r = x - k * 0.69314718055994530942;  // |r| <= 0.35
    double t = 1.0, term = 1.0;
    for (int i = 1; i < 20; ++i) { term *= r / i; t += term; }
    return std::ldexp(t, static_cast<int>(k));
}
inline double Log(double x) {
    int e;
    double m = std::frexp(x, &e);  // m in [0.5, 1)
    if (m < 0.70710678118654752) { m *= 2; e -= 1; }
    double s = (m - 1) / (m + 1), s2 = s * s, t = 0, p = s;
    for (int i = 1; i < 40; i += 2) { t += p / i; p *= s2; }
    return 2 * t + e * 0.69314718055994530942;
}
inline double Pow(double a, double b) { return a <= 0 ? 0.0 : Exp(b * Log(a)); }

inline double Atan(double x) {
    bool neg = x < 0; if (neg) x = -x;
    bool inv = x > 1; if (inv) x = 1 / x;
    // two halvings of the angle keep the series short
    double y = x / (1 + std::sqrt(1 + x * x));
    y = y / (1 + std::sqrt(1 + y * y));
    double y2 = y * y, t = 0, p = y;
    for (int i = 1; i < 30; i += 2) { t += ((i / 2) % 2 ? -p : p) / i; p *= y2; }
    t *= 4;
    if (inv) t = PI / 2 - t;
    return neg ? -t : t;
}
inline double Atan2(double y, double x) {
    if (x > 0) return Atan(y / x);
    if (x < 0) return y >= 0 ? Atan(y / x) + PI : Atan(y / x) - PI;
    return y > 0 ? PI / 2 : (y < 0 ? -PI / 2 : 0.0);
}

inline double Clamp(double v, double lo, double hi) { return v < lo ? lo : (v > hi ? hi : v); }
inline double Lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double Smooth(double t) { t = Clamp(t, 0, 1); return t * t * (3 - 2 * t); }
inline double SmoothStep(double e0, double e1, double x) { return Smooth((x - e0) / (e1 - e0)); }
inline int PMod(int a, int m) { int r = a % m; return r < 0 ? r + m : r; }

// Value noise on an integer lattice; `period` > 0 makes it tile with that many cells.
inline double ValueNoise(double x, double y, uint32_t seed, int period = 0) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    double fx = x - ix, fy = y - iy;
    auto at = [&](int a, int b) {
        if (period > 0) { a = PMod(a, period); b = PMod(b, period); }
        return HashUnit(a, b, seed);
    };
    double sx = fx * fx * fx * (fx * (fx * 6 - 15) + 10), sy = fy * fy * fy * (fy * (fy * 6 - 15) + 10);
    double a = Lerp(at(ix, iy), at(ix + 1, iy), sx);
    double b = Lerp(at(ix, iy + 1), at(ix + 1, iy + 1), sx);
    return Lerp(a, b, sy);
}
// Fractal sum, result roughly in [0, 1]. With period > 0 the base lattice has `period` cells
// and each octave doubles it, so the whole sum tiles.
inline double Fbm(double x, double y, uint32_t seed, int octaves, int period = 0, double gain = 0.5) {
    double sum = 0, amp = 1, norm = 0, f = 1;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * ValueNoise(x * f, y * f, seed + 977u * o, period > 0 ? period * static_cast<int>(f) : 0);
        norm += amp; amp *= gain; f *= 2;
    }
    return sum / norm;
}

}  // namespace ag
