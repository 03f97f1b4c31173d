// Synthesised sound effects: 22050 Hz, 16-bit mono. Clips the game plays without volume control
// have their level baked in (-10 dB or -30 dB below the others).
#include "sounds.h"

#include <algorithm>
#include <cmath>

#include "detmath.h"

namespace ag {

namespace {

const double RATE = 22050.0;
using Buf = std::vector<double>;

int Len(double seconds) { return static_cast<int>(seconds * RATE); }

struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    static Biquad BandPass(double f, double q) {
        Biquad b;
        double w = TWO_PI * f / RATE, al = Sin(w) / (2 * q), a0 = 1 + al;
        b.b0 = al / a0; b.b1 = 0; b.b2 = -al / a0; b.a1 = -2 * Cos(w) / a0; b.a2 = (1 - al) / a0;
        return b;
    }
    static Biquad LowPass(double f, double q = 0.707) {
        Biquad b;
        double w = TWO_PI * f / RATE, al = Sin(w) / (2 * q), cw = Cos(w), a0 = 1 + al;
        b.b0 = (1 - cw) / 2 / a0; b.b1 = (1 - cw) / a0; b.b2 = (1 - cw) / 2 / a0; b.a1 = -2 * cw / a0; b.a2 = (1 - al) / a0;
        return b;
    }
    static Biquad HighPass(double f, double q = 0.707) {
        Biquad b;
        double w = TWO_PI * f / RATE, al = Sin(w) / (2 * q), cw = Cos(w), a0 = 1 + al;
        b.b0 = (1 + cw) / 2 / a0; b.b1 = -(1 + cw) / a0; b.b2 = (1 + cw) / 2 / a0; b.a1 = -2 * cw / a0; b.a2 = (1 - al) / a0;
        return b;
    }
    double Run(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1; x1 = x; y2 = y1; y1 = y;
        return y;
    }
};

struct Noise {
    Rng r;
    explicit Noise(uint64_t seed) : r(seed) {}
    double operator()() { return r.Range(-1, 1); }
};

// Exponential decay factor per sample for a time constant.
double DecayPer(double tau) { return Exp(-1.0 / (tau * RATE)); }

void Normalise(Buf& b, double peak) {
    double m = 0;
    for (double v : b) m = std::max(m, std::fabs(v));
    if (m > 0)
        for (double& v : b) v *= peak / m;
}

// Short linear fades at both ends (fade-in `in` seconds, fade-out `out` seconds).
void Fades(Buf& b, double in, double out) {
    int ni = std::max(1, Len(in)), no = std::max(1, Len(out)), n = static_cast<int>(b.size());
    for (int i = 0; i < ni && i < n; ++i) b[i] *= static_cast<double>(i) / ni;
    for (int i = 0; i < no && i < n; ++i) b[n - 1 - i] *= static_cast<double>(i) / no;
}

Wave Make(const std::string& name, const Buf& b) {
    Wave w;
    w.name = name;
    w.samples.resize(b.size());
    for (size_t i = 0; i < b.size(); ++i)
        w.samples[i] = static_cast<int16_t>(std::clamp(std::lround(b[i] * 32767.0), -32767L, 32767L));
    return w;
}

// A decaying sine with a pitch glide.
// Attack and release are linear ramps; the release keeps each note from ending in a click.
void Tone(Buf& b, int start, double f0, double f1, double dur, double amp, double tau, double attack = 0.002,
          double release = 0.004) {
    int n = Len(dur);
    double phase = 0, env = 1, k = DecayPer(tau);
    double rel = std::max(1.0, std::min(release * RATE, n / 3.0));
    for (int i = 0; i < n && start + i < static_cast<int>(b.size()); ++i) {
        double t = static_cast<double>(i) / n;
        double f = f0 * Pow(f1 / f0, t);
        phase += TWO_PI * f / RATE;
        double a = std::min(1.0, i / (attack * RATE + 1)) * std::min(1.0, (n - i) / rel);
        b[start + i] += amp * env * a * Sin(phase);
        env *= k;
    }
}

// Filtered noise burst.
void Burst(Buf& b, int start, double dur, double amp, double tau, Biquad f, Noise& nz, double attack = 0.001) {
    int n = Len(dur);
    double env = 1, k = DecayPer(tau);
    for (int i = 0; i < n && start + i < static_cast<int>(b.size()); ++i) {
        double a = std::min(1.0, i / (attack * RATE + 1));
        b[start + i] += amp * env * a * f.Run(nz());
        env *= k;
    }
}

// ---- clips ----
Buf Click(double dur, double f, uint64_t seed, double noiseAmt) {
    Buf b(Len(dur), 0.0);
    Noise nz(seed);
    Tone(b, 0, f, f * 0.8, dur, 1.0, 0.012, 0.0005);
    Burst(b, 0, 0.02, noiseAmt, 0.004, Biquad::HighPass(2500), nz, 0.0002);
    Fades(b, 0.0005, 0.01);
    return b;
}

Buf Splash(double dur, uint64_t seed, double size) {
    Buf b(Len(dur), 0.0);
    Noise nz(seed);
    Tone(b, 0, 900 / size, 240 / size, 0.09, 0.8, 0.05, 0.001);
    Burst(b, 0, dur, 1.0, 0.12 * size, Biquad::BandPass(1800 / size, 0.6), nz, 0.004);
    Burst(b, Len(0.02), dur * 0.8, 0.7, 0.25 * size, Biquad::LowPass(900), nz, 0.02);
    // droplets and bubbles
    Rng r(seed + 1);
    for (int i = 0; i < static_cast<int>(14 * size); ++i) {
        int at = Len(r.Range(0.08, dur * 0.85));
        double f = r.Range(700, 2600);
        Tone(b, at, f, f * r.Range(1.2, 1.8), r.Range(0.02, 0.05), r.Range(0.05, 0.25) * (1 - at / (dur * RATE)), 0.015);
    }
    Fades(b, 0.002, 0.05);
    return b;
}

Buf Bird(int kind) {
    Rng r(9000 + kind);
    double dur = std::vector<double>{1.4, 2.2, 1.1, 2.6, 1.6}[kind - 1];
    Buf b(Len(dur), 0.0);
    double t = 0.05;
    while (t < dur - 0.2) {
        int at = Len(t);
        switch (kind) {
            case 1: {  // rising whistle pairs
                Tone(b, at, 2600, 3800, 0.12, 0.8, 0.2, 0.02, 0.03);
                Tone(b, at + Len(0.15), 3400, 2900, 0.1, 0.7, 0.2, 0.015, 0.03);
                t += 0.38 + r.Range(0, 0.1);
                break;
            }
            case 2: {  // trill
                for (int k = 0; k < 10; ++k) Tone(b, at + Len(k * 0.045), 4200, 3600, 0.035, 0.7, 0.05, 0.004);
                t += 0.7 + r.Range(0, 0.2);
                break;
            }
            case 3: {  // two-note call
                Tone(b, at, 3100, 3300, 0.22, 0.8, 0.5, 0.03, 0.06);
                Tone(b, at + Len(0.26), 2500, 2200, 0.26, 0.8, 0.5, 0.03, 0.08);
                t += 0.8;
                break;
            }
            case 4: {  // warble
                double f = r.Range(2500, 4500);
                Tone(b, at, f, f * r.Range(0.7, 1.4), r.Range(0.06, 0.14), r.Range(0.5, 0.9), 0.1, 0.01, 0.02);
                t += r.Range(0.08, 0.2);
                break;
            }
            default: {  // chip notes
                Tone(b, at, 5200, 4000, 0.04, 0.9, 0.03, 0.002);
                t += r.Range(0.12, 0.3);
                break;
            }
        }
    }
    Fades(b, 0.005, 0.05);
    return b;
}

Buf Crow() {
    Buf b(Len(1.2), 0.0);
    Noise nz(77);
    for (int c = 0; c < 3; ++c) {
        int at = Len(0.05 + c * 0.36);
        int n = Len(0.28);
        double phase = 0;
        Biquad f1 = Biquad::BandPass(1100, 3), f2 = Biquad::BandPass(1900, 4);
        for (int i = 0; i < n; ++i) {
            double t = static_cast<double>(i) / n;
            double f = 520 - 140 * t;
            phase += f / RATE;
            double saw = 2 * (phase - std::floor(phase)) - 1 + 0.35 * nz();
            double env = Sin(PI * std::min(1.0, t * 1.3)) * (t < 0.9 ? 1 : (1 - t) * 10);
            b[at + i] += env * (f1.Run(saw) * 1.6 + f2.Run(saw));
        }
    }
    Fades(b, 0.005, 0.05);
    return b;
}

// Rapid clicks: a ratchet (`rate` clicks per second) over a soft whir.
Buf Ratchet(double dur, double rate, double pitch, uint64_t seed, double whir) {
    Buf b(Len(dur), 0.0);
    Noise nz(seed);
    for (double t = 0; t < dur - 0.004; t += 1.0 / rate) {
        int at = Len(t);
        Tone(b, at, pitch, pitch * 0.9, 0.012, 1.0, 0.003, 0.0004);
        Burst(b, at, 0.006, 0.5, 0.0015, Biquad::HighPass(3000), nz, 0.0002);
    }
    Biquad lp = Biquad::BandPass(900, 1.0);
    for (size_t i = 0; i < b.size(); ++i) b[i] += whir * lp.Run(nz());
    Fades(b, 0.001, 0.01);
    return b;
}

Buf LineZip() {
    Buf b(Len(0.14), 0.0);
    Noise nz(91);
    Biquad hp = Biquad::BandPass(5200, 1.5), bp = Biquad::BandPass(2400, 6);
    double ph = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        double n = nz();
        ph += TWO_PI * 1800 / RATE;
        b[i] = hp.Run(n) + 0.5 * bp.Run(n) + 0.08 * Sin(ph);
    }
    Fades(b, 0.0008, 0.02);
    return b;
}

Buf Snap() {
    Buf b(Len(0.3), 0.0);
    Noise nz(92);
    Burst(b, 0, 0.05, 1.0, 0.008, Biquad::HighPass(1500), nz, 0.0002);
    Tone(b, 0, 3300, 2600, 0.3, 0.5, 0.06, 0.0005);
    Tone(b, 0, 1200, 900, 0.2, 0.3, 0.03, 0.0005);
    Fades(b, 0.0003, 0.03);
    return b;
}

Buf Swish() {
    Buf b(Len(0.35), 0.0);
    Noise nz(93);
    int n = static_cast<int>(b.size());
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        b[i] = Sin(PI * Pow(t, 0.6)) * nz();
    }
    // sweeping band: run a slowly retuned band-pass
    Buf out(b.size(), 0.0);
    Biquad f = Biquad::BandPass(800, 1.5);
    for (int i = 0; i < n; ++i) {
        if (i % 64 == 0) {
            double t = static_cast<double>(i) / n;
            Biquad g = Biquad::BandPass(700 + 2400 * Sin(PI * t), 1.5);
            g.x1 = f.x1; g.x2 = f.x2; g.y1 = f.y1; g.y2 = f.y2;
            f = g;
        }
        out[i] = f.Run(b[i]);
    }
    Fades(out, 0.005, 0.03);
    return out;
}

Buf AlarmTone() {
    Buf b(Len(0.22), 0.0);
    double ph = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        ph += TWO_PI * 2200 / RATE;
        double s = Sin(ph);
        b[i] = 0.8 * s + 0.2 * Sin(3 * ph) / 1.0;
    }
    Fades(b, 0.0008, 0.006);
    return b;
}

Buf Elastic() {
    Buf b(Len(0.3), 0.0);
    Noise nz(95);
    int n = static_cast<int>(b.size());
    double ph = 0;
    Biquad bp = Biquad::BandPass(400, 2);
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        double f = 90 + 160 * t;
        ph += f / RATE;
        double saw = 2 * (ph - std::floor(ph)) - 1;
        double creak = (Sin(TWO_PI * 31 * t * 0.3 * n / RATE) > 0.6 ? 1 : 0.4);
        b[i] = Sin(PI * t) * (0.6 * bp.Run(saw + 0.3 * nz()) * creak + 0.25 * Sin(TWO_PI * 180 * i / RATE));
    }
    Tone(b, n - Len(0.08), 320, 180, 0.08, 0.5, 0.03, 0.001);
    Fades(b, 0.004, 0.02);
    return b;
}

Buf GrassStep(uint64_t seed) {
    Buf b(Len(0.2), 0.0);
    Noise nz(seed);
    Rng r(seed);
    Burst(b, 0, 0.2, 1.0, 0.05, Biquad::LowPass(1400), nz, 0.008);
    for (int k = 0; k < 12; ++k) Burst(b, Len(r.Range(0.0, 0.12)), 0.02, 0.5, 0.005, Biquad::BandPass(r.Range(2000, 4000), 2), nz);
    Fades(b, 0.002, 0.03);
    return b;
}

Buf WoodStep() {
    Buf b(Len(0.22), 0.0);
    Noise nz(97);
    Tone(b, 0, 170, 140, 0.2, 1.0, 0.05, 0.001);
    Tone(b, 0, 720, 680, 0.08, 0.5, 0.02, 0.0005);
    Burst(b, 0, 0.05, 0.4, 0.01, Biquad::BandPass(1500, 1.5), nz, 0.0003);
    Fades(b, 0.0005, 0.03);
    return b;
}

Buf Wade(uint64_t seed) {
    Buf b(Len(0.32), 0.0);
    Noise nz(seed);
    Rng r(seed);
    int n = static_cast<int>(b.size());
    Biquad lp = Biquad::LowPass(800);
    for (int i = 0; i < n; ++i) {
        double t = static_cast<double>(i) / n;
        b[i] = Sin(PI * Pow(t, 0.5)) * lp.Run(nz());
    }
    for (int k = 0; k < 8; ++k) {
        double f = r.Range(500, 1400);
        Tone(b, Len(r.Range(0.05, 0.25)), f, f * 1.5, 0.03, 0.25, 0.012);
    }
    Fades(b, 0.004, 0.03);
    return b;
}

Buf Quack() {
    Buf b(Len(0.36), 0.0);
    Noise nz(98);
    for (int q = 0; q < 2; ++q) {
        int at = Len(q * 0.17);
        int n = Len(0.15);
        double ph = 0;
        Biquad f1 = Biquad::BandPass(900, 4), f2 = Biquad::BandPass(1700, 5);
        for (int i = 0; i < n && at + i < static_cast<int>(b.size()); ++i) {
            double t = static_cast<double>(i) / n;
            ph += (260 - 60 * t) / RATE;
            double pulse = (ph - std::floor(ph)) < 0.3 ? 1.0 : -0.4;
            double env = Sin(PI * Pow(t, 0.7));
            b[at + i] += env * (f1.Run(pulse + 0.1 * nz()) * 1.4 + f2.Run(pulse));
        }
    }
    Fades(b, 0.003, 0.03);
    return b;
}

Buf DuckFoot() {
    Buf b(Len(0.12), 0.0);
    Noise nz(99);
    Burst(b, 0, 0.12, 1.0, 0.02, Biquad::BandPass(700, 1.2), nz, 0.0005);
    Tone(b, 0, 260, 200, 0.05, 0.4, 0.015, 0.0005);
    Fades(b, 0.0005, 0.02);
    return b;
}

Buf Shutter() {
    Buf b(Len(0.28), 0.0);
    Noise nz(100);
    for (double at : {0.0, 0.11}) {
        Burst(b, Len(at), 0.04, 1.0, 0.006, Biquad::BandPass(3000, 1.2), nz, 0.0002);
        Tone(b, Len(at), 1500, 1300, 0.03, 0.4, 0.008, 0.0003);
    }
    Burst(b, Len(0.01), 0.1, 0.15, 0.04, Biquad::BandPass(600, 2), nz);
    Fades(b, 0.0003, 0.02);
    return b;
}

Buf Spray() {
    Buf b(Len(1.5), 0.0);
    Noise nz(101);
    Biquad hp = Biquad::HighPass(1200), lp = Biquad::LowPass(6000);
    for (double& v : b) v = lp.Run(hp.Run(nz()));
    Fades(b, 0.1, 0.2);
    return b;
}

// Seamless ambience: wind, lapping water and a few distant birds; the end is cross-faded into
// the start so the loop has no seam.
Buf Ambience(double seconds, uint64_t seed, bool birds) {
    const int L = Len(seconds), F = Len(1.0);
    Buf x(L + F, 0.0);
    Noise nz(seed);
    Rng r(seed);
    Biquad wind1 = Biquad::LowPass(500), wind2 = Biquad::BandPass(900, 0.8), lap = Biquad::LowPass(350);
    for (int i = 0; i < L + F; ++i) {
        double t = static_cast<double>(i) / RATE;
        double gust = 0.55 + 0.3 * Sin(TWO_PI * t / seconds * 3) + 0.15 * Sin(TWO_PI * t / seconds * 7 + 1.3);
        double lapEnv = 0.5 + 0.5 * Sin(TWO_PI * t / seconds * 11);
        double n = nz();
        x[i] = 0.5 * gust * wind1.Run(n) + 0.15 * gust * wind2.Run(n) + 0.35 * lapEnv * lapEnv * lap.Run(nz());
    }
    if (birds)
        for (int k = 0; k < 7; ++k) {
            int at = Len(r.Range(0.3, seconds - 0.8));
            double f = r.Range(2800, 4600);
            for (int j = 0; j < 3; ++j) Tone(x, at + Len(j * 0.12), f, f * r.Range(0.85, 1.2), 0.08, 0.08, 0.06, 0.01);
        }
    Buf out(L);
    for (int i = 0; i < L; ++i) {
        if (i < F) {
            double w = static_cast<double>(i) / F;
            out[i] = x[i] * w + x[L + i] * (1 - w);
        } else {
            out[i] = x[i];
        }
    }
    return out;
}

}  // namespace

std::vector<Wave> MakeSounds() {
    const double full = 0.9, minus10 = 0.9 * 0.316, minus30 = 0.9 * 0.0355;
    std::vector<Wave> out;
    auto add = [&](const std::string& name, Buf b, double peak) {
        Normalise(b, peak);
        out.push_back(Make(name, b));
    };
    add("button.wav", Click(0.08, 2200, 1, 0.6), full);
    add("button2.wav", Click(0.05, 3000, 2, 0.3), full);
    add("splash.wav", Splash(0.9, 3, 1.0), full);
    add("shutter.wav", Shutter(), full);
    for (int k = 1; k <= 5; ++k) add("bird" + std::to_string(k) + ".wav", Bird(k), full);
    add("back.wav", Ambience(12.0, 21, true), full);
    add("back2.wav", Ambience(3.0, 22, false), full);
    add("crow.wav", Crow(), full);
    add("reelin.wav", Ratchet(0.2, 55, 2600, 31, 0.15), full);
    add("clutch.wav", Ratchet(0.2, 180, 1800, 32, 0.35), full);
    add("line.wav", LineZip(), full);
    add("snap.wav", Snap(), minus10);
    add("rod.wav", Swish(), full);
    add("alarm.wav", AlarmTone(), full);
    add("catty.wav", Splash(0.3, 41, 0.4), minus10);
    add("spray.wav", Spray(), minus10);
    add("elastic.wav", Elastic(), minus10);
    add("foot1.wav", GrassStep(51), minus30);
    add("foot1b.wav", GrassStep(52), minus30);
    add("foot3.wav", WoodStep(), minus10);
    add("foot2.wav", Wade(53), minus10);
    add("foot2b.wav", Wade(54), minus10);
    add("duck.wav", Quack(), full);
    add("duckfoot.wav", DuckFoot(), full);
    add("splosh.wav", Splash(0.8, 61, 1.6), full);
    return out;
}

std::vector<uint8_t> EncodeWav(const Wave& w) {
    std::vector<uint8_t> o;
    auto p16 = [&](uint32_t v) { o.push_back(v & 255); o.push_back((v >> 8) & 255); };
    auto p32 = [&](uint32_t v) { p16(v & 0xFFFF); p16(v >> 16); };
    uint32_t data = static_cast<uint32_t>(w.samples.size() * 2);
    o.insert(o.end(), {'R', 'I', 'F', 'F'});
    p32(36 + data);
    o.insert(o.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    p32(16); p16(1); p16(1); p32(22050); p32(44100); p16(2); p16(16);
    o.insert(o.end(), {'d', 'a', 't', 'a'});
    p32(data);
    for (int16_t s : w.samples) p16(static_cast<uint16_t>(s));
    return o;
}

}  // namespace ag
