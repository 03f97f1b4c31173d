// lakeside-lite: the game with the scenery-detail option off.
#include "platform/sdl/sdl_backend.h"
#include "shell/entry.h"

extern const bool HIGH_DETAIL_SCENERY = false;

int main() {
    plat::InstallBackend(plat::CreateSdlBackend());
    return GameMain();
}
