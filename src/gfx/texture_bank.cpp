// The texture bank: texture slots, groups and sets (to be filled in).
#include "shell/game_app.h"

void GameApp::LoadBaseTextures() {}
void GameApp::LoadTextureSet(int32_t) {}
void GameApp::SetTextureById(int32_t) {}
void GameApp::ReleaseTitleTextures() {}
void GameApp::ReleaseResidentTextures() {}
void GameApp::ReleaseLoadedTextureSets() {}
