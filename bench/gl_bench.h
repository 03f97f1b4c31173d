// Start-up shared by the GL benchmarks: the game on the SDL + OpenGL backend, with frame pacing
// and the swap interval off so that a frame takes as long as its work.
#pragma once
#include <SDL.h>
#include <cstdio>
#include "platform/backend.h"
#include "platform/sdl/sdl_backend.h"
#include "shell/game_app.h"

namespace lakebench {

// Installs the SDL backend and returns it.
inline plat::SdlBackend* InstallGlBackend() {
    plat::InstallBackend(plat::CreateSdlBackend());
    return static_cast<plat::SdlBackend*>(plat::CurrentBackend());
}

// Starts `app` unpaced; false, with a line naming `bench` on the standard error, when it does not
// start (no display).
inline bool StartUnpaced(GameApp& app, plat::SdlBackend* backend, const char* bench) {
    if (plat::Failed(app.StartUp())) {
        std::fprintf(stderr, "%s: the game did not start (no display?)\n", bench);
        app.Close();
        return false;
    }
    backend->SetFramePacing(false);
    SDL_GL_SetSwapInterval(0);
    return true;
}

}  // namespace lakebench
