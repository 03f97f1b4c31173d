// Playing a short clip from its start: the click, pan and other one-shot sounds of the screens.
#pragma once
#include "platform/sound.h"

// The clip from its start at the screens' button volume (-10 dB); nothing when it was not loaded.
inline void PlayFromStart(plat::SoundClip* clip) {
    if (!clip) return;
    clip->Rewind();
    clip->Play(0, 0, -1000, 0, 0);
}
