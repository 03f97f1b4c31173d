// Sound system (placeholder until the mixer lands).
#include "sound.h"

namespace plat {
bool LoadWaveFile(const char*, WaveData*) { return false; }
bool LoadWaveMemory(const uint8_t*, size_t, WaveData*) { return false; }
SoundSystem::SoundSystem() = default;
SoundSystem::~SoundSystem() = default;
HResult SoundSystem::Initialize(WindowHandle, uint32_t) { return FAIL; }
HResult SoundSystem::SetPrimaryBufferFormat(uint32_t, uint32_t, uint32_t) { return FAIL; }
HResult SoundSystem::Create(SoundClip** out, const char*, uint32_t, const void*, uint32_t) {
    *out = nullptr;
    return FAIL;
}
SoundClip::~SoundClip() = default;
HResult SoundClip::Play(uint32_t, uint32_t, int32_t, int32_t, int32_t) { return OK; }
HResult SoundClip::Stop() { return OK; }
HResult SoundClip::Rewind() { return OK; }
struct Mixer::Impl {};
Mixer::~Mixer() = default;
}  // namespace plat
