// landing: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::UpdateHookBaitTakenFlags() {}
void GameApp::UpdateLandingNet() {}
void GameApp::DrawFishingWorldAndGauge() {}
void GameApp::DrawFishOnMat() {}
