// casting: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::LandCasts() {}
void GameApp::AimCast() {}
void GameApp::CountDownFlightAndPull() {}
