// angler: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::FishingFrameStart() {}
void GameApp::UpdateWalkingSpeedAndAngles() {}
void GameApp::StepAnglerAndView() {}
void GameApp::SpawnWadingEffects() {}
void GameApp::FindNearbySwimAndWalk() {}
void GameApp::DrawBinocularMask() {}
