// What a soak checks on the running game after every frame: every float of the fish, the camera,
// the rods and the pools finite, and every index the game keeps into a pool or table in range.
#pragma once
#include <string>
#include "shell/game_app.h"

namespace soak {

// The first value found wrong, named ("fish[3].heading = nan"), or "" when all are sound.
std::string FindBadValue(const GameApp& app);

}  // namespace soak
