// strike_line: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::ResolveStrikes() {}
void GameApp::RunSchoolPassAndHeldRod() {}
void GameApp::UpdateLineEndAndReelSounds() {}
void GameApp::DrawLineAndTestSnags() {}
