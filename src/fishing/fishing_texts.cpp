// fishing_texts: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::DrawFishingTexts() {}
void GameApp::UpdateFishingAmbientSound() {}
