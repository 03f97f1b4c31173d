// The software mixer: sums the playing voices into stereo 16-bit output, resampling each by
// linear interpolation and saturating the sum.
#include <algorithm>
#include <cmath>
#include <mutex>
#include "sound.h"

namespace plat {

struct Mixer::Impl {
    std::mutex mutex;
    std::vector<Voice> voices;   // index = voice id; dead slots are reused
    Voice none;                  // stands in for an unknown id
    std::vector<float> sum;      // stereo accumulator of one Render call
};

Mixer::Mixer(uint32_t outputRate) : impl_(new Impl), outputRate_(outputRate ? outputRate : 22050) {}
Mixer::~Mixer() = default;

void Mixer::Lock() { impl_->mutex.lock(); }
void Mixer::Unlock() { impl_->mutex.unlock(); }

Mixer::Voice* Mixer::VoiceAt(int id) {
    if (id < 0 || size_t(id) >= impl_->voices.size() || !impl_->voices[size_t(id)].live) {
        impl_->none = Voice{};
        return &impl_->none;
    }
    return &impl_->voices[size_t(id)];
}

int Mixer::AddVoice(const WaveData* wave, uint32_t flags) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    Voice v;
    v.wave = wave;
    v.flags = flags;
    v.live = true;
    auto& voices = impl_->voices;
    for (size_t i = 0; i < voices.size(); ++i)
        if (!voices[i].live) {
            voices[i] = v;
            return int(i);
        }
    voices.push_back(v);
    return int(voices.size() - 1);
}

void Mixer::RemoveVoice(int id) {
    std::lock_guard<std::mutex> lock(impl_->mutex);
    if (id >= 0 && size_t(id) < impl_->voices.size()) impl_->voices[size_t(id)] = Voice{};
}

namespace {

// Adds one voice into the stereo accumulator, advancing its position; a one-shot voice that
// reaches its end stops with its position back at 0.
void MixVoice(Mixer::Voice& v, uint32_t outputRate, float* sum, size_t frames) {
    const WaveData& w = *v.wave;
    const size_t n = w.Frames();
    if (n == 0) {
        v.playing = false;
        v.position = 0;
        return;
    }
    const double rate = v.frequency > 0 ? double(v.frequency) : double(w.rate);
    const double step = rate / double(outputRate);
    const float gain = v.volume <= SOUND_VOLUME_MIN ? 0.0f : float(std::pow(10.0, v.volume / 2000.0));
    const size_t ch = w.channels;
    const size_t right = ch > 1 ? 1 : 0;
    for (size_t f = 0; f < frames; ++f) {
        size_t i0 = std::min(size_t(v.position), n - 1);
        float frac = float(v.position - double(i0));
        size_t i1 = i0 + 1 < n ? i0 + 1 : (v.looping ? 0 : i0);
        float l0 = w.samples[i0 * ch], l1 = w.samples[i1 * ch];
        float r0 = w.samples[i0 * ch + right], r1 = w.samples[i1 * ch + right];
        sum[2 * f] += gain * (l0 + (l1 - l0) * frac);
        sum[2 * f + 1] += gain * (r0 + (r1 - r0) * frac);
        v.position += step;
        if (v.position >= double(n)) {
            if (v.looping) {
                v.position = std::fmod(v.position, double(n));
            } else {
                v.playing = false;
                v.position = 0;
                return;
            }
        }
    }
}

}  // namespace

void Mixer::Render(int16_t* stereoOut, size_t frames) {
    if (!stereoOut || frames == 0) return;
    std::lock_guard<std::mutex> lock(impl_->mutex);
    std::vector<float>& sum = impl_->sum;
    if (sum.size() < frames * 2) sum.resize(frames * 2);
    std::fill(sum.begin(), sum.begin() + std::ptrdiff_t(frames * 2), 0.0f);
    for (Voice& v : impl_->voices)
        if (v.live && v.playing && v.wave) MixVoice(v, outputRate_, sum.data(), frames);
    for (size_t i = 0; i < frames * 2; ++i) {
        float s = std::round(sum[i]);
        stereoOut[i] = int16_t(std::min(32767.0f, std::max(-32768.0f, s)));
    }
}

}  // namespace plat
