// Physical keys (SDL scan codes) to the key positions the action map binds.
#pragma once
#include <SDL.h>
#include "platform/input.h"

namespace plat {
KeyId KeyFromScancode(SDL_Scancode scancode);
}
