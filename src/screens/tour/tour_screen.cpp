// The lake tour: entry from the map, draw (not built yet) and input (X back to the map).
#include "shell/game_app.h"

void GameApp::EnterTour() {
    playClickSound = 1;
    tourWaypoint = 0;
    tourFade = -0.5f;
    tourTicks = 0;
    savedMapHeight = eyeY;
    moveSpeed = 0.7;
    EnterLakeScreen(MODE_TOUR, 60, 2, 0, 0.3, 6.6);
}

void GameApp::DrawTourScreen() {}

void GameApp::UpdateTourScreen(InputDeviceState& input) {
    if (input.keyX != 0) ReturnToMap(9);
}
