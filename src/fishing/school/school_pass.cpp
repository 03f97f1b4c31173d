// The per-frame fish school pass and the drawing of fish bodies.
#include "shell/game_app.h"

void GameApp::UpdateFishSchool() {}
void GameApp::DrawFishBody(int32_t) {}
void GameApp::DrawRecordsFishModel(int32_t, double, double) {}
