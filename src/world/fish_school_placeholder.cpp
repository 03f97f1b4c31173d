// PLACEHOLDER until the fish school pass lands: the lake world's tour and duck orders call it.
// Remove this file when the fishing area defines GameApp::UpdateFishSchool.
#include "shell/game_app.h"

void GameApp::UpdateFishSchool() {}
