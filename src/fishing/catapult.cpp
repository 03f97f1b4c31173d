// catapult: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::DrawCatapultInHand() {}
void GameApp::AimCatapult() {}
void GameApp::LandCatapultShot() {}
