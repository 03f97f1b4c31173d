// Sound playback: a small software mixer of clips loaded from wave files.
// Each clip has one buffer; Play continues a playing clip, Stop keeps the position, Rewind restarts.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "d3d_types.h"

namespace plat {

constexpr uint32_t SOUND_PRIORITY_LEVEL = 2;
constexpr uint32_t SOUND_CTRL_FREQUENCY = 0x20;
constexpr uint32_t SOUND_CTRL_PAN = 0x40;
constexpr uint32_t SOUND_CTRL_VOLUME = 0x80;
constexpr uint32_t SOUND_PLAY_LOOPING = 1;
constexpr int32_t SOUND_VOLUME_MIN = -10000;  // hundredths of a decibel
constexpr int32_t SOUND_VOLUME_MAX = 0;
constexpr int32_t SOUND_FREQUENCY_UNCHANGED = -1;

class Mixer;

// A decoded wave: 16-bit signed samples, interleaved, at `rate`.
struct WaveData {
    uint32_t rate = 0;
    uint16_t channels = 0;
    std::vector<int16_t> samples;  // frames * channels
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
};
constexpr size_t MAX_WAVE_BYTES = size_t(1) << 28;  // the largest wave file read: 256 MB
// Reads a PCM wave (8 or 16 bits, mono or stereo). False on any malformed or missing file.
// LoadWaveFile takes a filesystem path as it stands (no game-path resolution).
bool LoadWaveFile(const char* path, WaveData* out);
bool LoadWaveMemory(const uint8_t* data, size_t size, WaveData* out);

class SoundClip {
public:
    ~SoundClip();
    HResult Play(uint32_t priority, uint32_t flags, int32_t volume, int32_t frequency, int32_t pan);
    HResult Stop();
    HResult Rewind();

    // Observers (tests, mixer).
    bool IsPlaying() const;
    bool IsLooping() const;
    size_t Position() const;           // in frames of the source
    int32_t AppliedVolume() const;     // hundredths of a decibel in force
    uint32_t CreationFlags() const { return creationFlags_; }
    const std::string& File() const { return file_; }
    size_t Frames() const { return wave_.Frames(); }

private:
    friend class SoundSystem;
    friend class Mixer;
    SoundClip(Mixer* mixer, const std::string& file, WaveData wave, uint32_t flags);
    Mixer* mixer_;
    std::string file_;
    WaveData wave_;
    uint32_t creationFlags_;
    int id_;
};

class SoundSystem {
public:
    SoundSystem();
    ~SoundSystem();
    // Opens the audio output. Fails when the backend cannot open an audio device; with no backend
    // installed (unit tests) the mixer runs without output and is pulled by hand.
    // Delete every clip before the SoundSystem.
    HResult Initialize(WindowHandle window, uint32_t cooperativeLevel);
    HResult SetPrimaryBufferFormat(uint32_t channels, uint32_t rate, uint32_t bits);
    // Loads a wave file into a new clip (one buffer). Fails and leaves *out null when the file is
    // missing or unreadable.
    HResult Create(SoundClip** out, const char* file, uint32_t creationFlags, const void* algorithm3d,
                   uint32_t numBuffers);
    Mixer* GetMixer() { return mixer_.get(); }
private:
    std::unique_ptr<Mixer> mixer_;
    bool open_ = false;
};

// Mixes the playing clips into interleaved stereo 16-bit output at the output rate.
// The audio backend pulls from it on its own thread; it locks internally.
class Mixer {
public:
    explicit Mixer(uint32_t outputRate);
    ~Mixer();
    void Render(int16_t* stereoOut, size_t frames);
    uint32_t OutputRate() const { return outputRate_; }

    struct Voice {
        const WaveData* wave = nullptr;
        uint32_t flags = 0;
        double position = 0;   // source frames
        bool playing = false;
        bool looping = false;
        int32_t volume = 0;
        int32_t frequency = 0; // 0 = the wave's own rate
        bool live = false;
    };
    int AddVoice(const WaveData* wave, uint32_t flags);
    void RemoveVoice(int id);
    // Runs f with the voice under the mixer's lock.
    template <class F> auto WithVoice(int id, F f) -> decltype(f(*(Voice*)nullptr));
private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    uint32_t outputRate_;
    Voice* VoiceAt(int id);
    void Lock();
    void Unlock();
};

template <class F> auto Mixer::WithVoice(int id, F f) -> decltype(f(*(Voice*)nullptr)) {
    Lock();
    struct Unlocker { Mixer* m; ~Unlocker() { m->Unlock(); } } unlock{this};
    return f(*VoiceAt(id));
}

}  // namespace plat
