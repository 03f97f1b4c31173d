// EnterFishingScreen: going fishing from the map, four units behind the current swim.
#include <cmath>
#include "common/single_precision.h"
#include "shell/game_app.h"

void GameApp::EnterFishingScreen() {
    playClickSound = 1;
    moveSpeed = 0;
    moveForward = 0;
    moveBack = 0;
    arrivalCountdown = 20;
    savedMapHeight = eyeY;
    skipPlatformStep = 1;
    double x = eyeX, z = eyeZ, h = heading, p = pitch;
    if (currentSwim >= 1 && currentSwim <= SWIM_COUNT) {
        const SwimRecord& s = *swims[currentSwim - 1];
        x = F32(s.x + std::sin(s.facing + 3.5f) * 4.0f);
        z = F32(s.z + std::cos(s.facing + 3.5f) * 4.0f);
        h = s.facing;
        p = 6.4;
        podYaw = s.facing;
        rodPodX = s.x;
        rodPodZ = s.z;
    }
    EnterLakeScreen(MODE_FISHING, x, 2.0, z, h, p);
}
