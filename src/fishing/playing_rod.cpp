// playing_rod: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::UpdateTensionDialAndViewLock() {}
