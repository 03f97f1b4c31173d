// lakeside: the game with full scenery detail.
#include "platform/sdl/sdl_backend.h"
#include "shell/entry.h"

extern const bool HIGH_DETAIL_SCENERY = true;

int main() {
    plat::InstallBackend(plat::CreateSdlBackend());
    return GameMain();
}
