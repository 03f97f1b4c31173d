// photo: fishing-frame steps, to be filled.
#include "shell/game_app.h"

void GameApp::UpdatePhotoMode() {}
