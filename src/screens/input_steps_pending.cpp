// Input steps of the screens not built yet: they do nothing until their screens replace them.
#include "shell/game_app.h"

void GameApp::UpdateDuckModeScreen(InputDeviceState*) {}
