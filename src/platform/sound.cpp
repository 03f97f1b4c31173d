// The sound system and its clips: opening the audio output, loading clips and the play,
// stop and rewind rules of a one-buffer clip.
#include <algorithm>
#include "backend.h"
#include "file_bytes.h"
#include "sound.h"

namespace plat {
namespace {

constexpr uint32_t OUTPUT_RATE = 22050;
constexpr int32_t MIN_FREQUENCY = 100, MAX_FREQUENCY = 200000;

}  // namespace

// ---- SoundClip ----

SoundClip::SoundClip(Mixer* mixer, const std::string& file, WaveData wave, uint32_t flags)
    : mixer_(mixer), file_(file), wave_(std::move(wave)), creationFlags_(flags) {
    id_ = mixer_->AddVoice(&wave_, flags);
}

SoundClip::~SoundClip() { mixer_->RemoveVoice(id_); }

HResult SoundClip::Play(uint32_t priority, uint32_t flags, int32_t volume, int32_t frequency, int32_t pan) {
    (void)priority;  // one buffer: nothing to choose between
    (void)pan;       // no clip is made with pan control
    const uint32_t created = creationFlags_;
    mixer_->WithVoice(id_, [&](Mixer::Voice& v) {
        if (created & SOUND_CTRL_VOLUME) v.volume = std::min(SOUND_VOLUME_MAX, std::max(SOUND_VOLUME_MIN, volume));
        if ((created & SOUND_CTRL_FREQUENCY) && frequency >= 0)
            v.frequency = frequency == 0 ? 0 : std::min(MAX_FREQUENCY, std::max(MIN_FREQUENCY, frequency));
        // A playing clip goes on from where it is; a stopped one resumes at its position.
        v.looping = (flags & SOUND_PLAY_LOOPING) != 0;
        v.playing = true;
    });
    return OK;
}

HResult SoundClip::Stop() {
    mixer_->WithVoice(id_, [](Mixer::Voice& v) { v.playing = false; });
    return OK;
}

HResult SoundClip::Rewind() {
    mixer_->WithVoice(id_, [](Mixer::Voice& v) { v.position = 0; });
    return OK;
}

bool SoundClip::IsPlaying() const {
    return mixer_->WithVoice(id_, [](Mixer::Voice& v) { return v.playing; });
}
bool SoundClip::IsLooping() const {
    return mixer_->WithVoice(id_, [](Mixer::Voice& v) { return v.looping; });
}
size_t SoundClip::Position() const {
    return mixer_->WithVoice(id_, [](Mixer::Voice& v) { return size_t(v.position); });
}
int32_t SoundClip::AppliedVolume() const {
    return mixer_->WithVoice(id_, [](Mixer::Voice& v) { return v.volume; });
}

// ---- SoundSystem ----

SoundSystem::SoundSystem() = default;

SoundSystem::~SoundSystem() {
    // The audio thread must stop pulling before the mixer goes.
    if (open_ && CurrentBackend()) CurrentBackend()->CloseAudio();
}

HResult SoundSystem::Initialize(WindowHandle window, uint32_t cooperativeLevel) {
    (void)window;
    (void)cooperativeLevel;
    if (mixer_) return OK;
    auto mixer = std::make_unique<Mixer>(OUTPUT_RATE);
    // Without a backend (unit tests) the mixer runs with no output; it is pulled by hand.
    if (Backend* backend = CurrentBackend()) {
        if (!backend->OpenAudio(mixer.get(), OUTPUT_RATE)) return FAIL;
        open_ = true;
    }
    mixer_ = std::move(mixer);
    return OK;
}

HResult SoundSystem::SetPrimaryBufferFormat(uint32_t channels, uint32_t rate, uint32_t bits) {
    // The output stays stereo 16-bit at the opened rate; the mixer converts every clip to it.
    if (!mixer_) return FAIL;
    if (channels < 1 || channels > 2 || (bits != 8 && bits != 16)) return FAIL;
    if (rate < uint32_t(MIN_FREQUENCY) || rate > uint32_t(MAX_FREQUENCY)) return FAIL;
    return OK;
}

HResult SoundSystem::Create(SoundClip** out, const char* file, uint32_t creationFlags,
                            const void* algorithm3d, uint32_t numBuffers) {
    (void)algorithm3d;
    (void)numBuffers;  // every clip has one buffer
    if (!out) return FAIL;
    *out = nullptr;
    if (!mixer_ || !file) return FAIL;
    std::vector<uint8_t> bytes;
    std::string why, path;
    if (ReadGameFile(file, MAX_WAVE_BYTES, &bytes, &why, &path) != FileRead::OK) {
        ReportFileNotLoaded("sound", path, why);
        return FAIL;
    }
    WaveData wave;
    if (!LoadWaveMemory(bytes.data(), bytes.size(), &wave)) {
        ReportFileNotLoaded("sound", path, "it is not a wave file the game can play");
        return FAIL;
    }
    *out = new SoundClip(mixer_.get(), file, std::move(wave), creationFlags);
    return OK;
}

}  // namespace plat
