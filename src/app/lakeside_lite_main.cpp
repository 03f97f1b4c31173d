// lakeside-lite: the game with the scenery-detail option off.
#include "platform/sdl/sdl_backend.h"
#include "shell/entry.h"

extern const bool kHighDetailScenery = false;

int main() {
    plat::InstallBackend(plat::CreateSdlBackend());
    return GameMain();
}
