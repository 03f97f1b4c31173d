// EnterLakeScreen and ReturnToMap: the way from the map into a lake screen and back.
#include "shell/game_app.h"

void GameApp::EnterLakeScreen(int32_t mode, double x, double y, double z, double heading_, double pitch_) {
    gameMode = mode;
    inputLock = CLICK_LOCK;
    eyeX = x;
    eyeY = y;
    eyeZ = z;
    heading = heading_;
    pitch = pitch_;
    LoadTextureSet(TEXTURE_SET_LAKE);
    SwitchLight(LIGHT_MAP, false);
    SwitchLight(LIGHT_LAKESIDE, true);
}

// Both lake lights go off, whichever one the screen left on: the sun, or the tour's own faded-in
// sun, which takes the sun's place from the tour's first tick.
void GameApp::ReturnToMap(int32_t lock) {
    if (ambienceSound) ambienceSound->Stop();
    LoadTextureSet(TEXTURE_SET_MAP);
    gameMode = MODE_MAP;
    inputLock = lock;
    eyeY = savedMapHeight;
    moveSpeed = 0.0;
    eyeX = 100.0;
    eyeZ = 92.0;
    SwitchLight(LIGHT_LAKESIDE, false);
    SwitchLight(LIGHT_TOUR, false);
    SwitchLight(LIGHT_MAP, true);
}
