// UpdateFishingScreen (the fishing screen's keys and clicks) and WalkToSwim.
#include "shell/game_app.h"

void GameApp::UpdateFishingScreen(InputDeviceState*) {}
void GameApp::WalkToSwim() {}
