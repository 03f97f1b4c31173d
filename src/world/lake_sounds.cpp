// The lake's sounds: the five splash slots and the ambient ticker (bird and crow calls, the
// background loop).
#include "shell/game_app.h"

void GameApp::PlaySplosh(int32_t volume) {
    for (int32_t i = 0; i < SOUND_SLOT_COUNT; ++i) {
        SoundSlot& slot = *soundSlots[i];
        if (slot.busy) continue;
        // The slot is held for its frames even when its clip could not be loaded.
        slot.busy = 1;
        slot.framesLeft = 20.0;
        if (sploshSounds[i]) sploshSounds[i]->Play(0, 0, volume, plat::SOUND_FREQUENCY_UNCHANGED, 0);
        return;
    }
}

void GameApp::FreeFinishedSoundSlots() {
    for (SoundSlot* slot : soundSlots) {
        if (slot->busy != 1) continue;
        slot->framesLeft -= 1;
        if (slot->framesLeft == 0) slot->busy = 0;
    }
}

void GameApp::UpdateAmbientSound() {
    if (underwater) {
        if (ambienceSound)
            ambienceSound->Play(0, plat::SOUND_PLAY_LOOPING, -5000, plat::SOUND_FREQUENCY_UNCHANGED, 0);
    } else {
        for (int32_t k = 0; k < AMBIENT_CALL_COUNT; ++k) {
            const int chance = k == 0 ? 100 : 150;
            plat::SoundClip* clip = k == 0 ? crowSound : birdSounds[k - 1];
            // The chance is drawn every frame, also while the call is held off.
            if (plat::GameRand() < chance && ambientCooldowns[k] == 0) {
                const int32_t volume = static_cast<int32_t>(plat::GameRand() / 32.0 - 3000);
                if (clip) clip->Play(0, 0, volume, plat::SOUND_FREQUENCY_UNCHANGED, 0);
                ambientCooldowns[k] = 30;
            }
        }
        for (int32_t& c : ambientCooldowns)
            if (c > 0) --c;
        if (ambienceSound)
            ambienceSound->Play(0, plat::SOUND_PLAY_LOOPING, -2000, plat::SOUND_FREQUENCY_UNCHANGED, 0);
    }
    if (alarmRetrigger > 0) --alarmRetrigger;
}
