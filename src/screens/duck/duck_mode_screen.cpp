// Duck mode: entry from the map; draw and input not built yet (the mode shows its clear colour).
#include "shell/game_app.h"

void GameApp::EnterDuckMode() {
    playClickSound = 1;
    EnterLakeScreen(MODE_DUCK, 67.5, 1.0, 32.5, 4.5, 6.3);
}

void GameApp::DrawDuckModeScreen() {}

void GameApp::UpdateDuckModeScreen(InputDeviceState*) {}
