// DrawPhotoAlbumScreen: not built yet; the mode shows its clear colour.
#include "shell/game_app.h"

void GameApp::DrawPhotoAlbumScreen() {}
