// Playing a short clip: the click, pan and other one-shot sounds of the screens.
#pragma once
#include "platform/sound.h"

// The clip from its start at the screens' button volume (-10 dB); nothing when it was not loaded.
inline void PlayFromStart(plat::SoundClip* clip) {
    if (!clip) return;
    clip->Rewind();
    clip->Play(0, 0, -1000, 0, 0);
}

// The clip once at this volume (hundredths of a decibel). Without `rewindFirst` a clip still playing
// carries on; with it the clip starts again from its beginning. Nothing when it was not loaded.
inline void PlayAtVolume(plat::SoundClip* clip, int32_t volume, bool rewindFirst = false) {
    if (!clip) return;
    if (rewindFirst) clip->Rewind();
    clip->Play(0, 0, volume, plat::SOUND_FREQUENCY_UNCHANGED, 0);
}
