// swim_furniture: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::DrawSwimFurniture() {}
void GameApp::DrawRodsOnRestsAndFloats() {}
