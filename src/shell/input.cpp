// Input polling and the per-device screen-input dispatch (to be filled in).
#include "shell/game_app.h"

plat::HResult GameApp::InitInput(plat::WindowHandle) { return plat::OK; }
void GameApp::PollInput() {}
void GameApp::ShutdownInput() {}
void GameApp::ZeroInputRecords() {}
