// The static meshes and the per-cell terrain buffers (to be filled in).
#include "shell/game_app.h"

void GameApp::CreateStaticMeshes() {}
void GameApp::ReleaseStaticMeshes() {}
void GameApp::ReleaseTerrainCellBuffers() {}
