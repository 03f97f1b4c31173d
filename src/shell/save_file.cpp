// Save file of photos and best weights (to be filled in).
#include "shell/game_app.h"

void GameApp::ReadSaveFile() {}
void GameApp::WriteSaveFile() {}
