// A game object on a device the test makes itself (one that records or refuses what it is asked),
// with the headless backend installed for its lifetime. The game is never started: the test calls
// the steps it checks. The device is detached before the game goes, and outlives it.
#pragma once
#include "platform/headless/headless_backend.h"
#include "shell/game_app.h"

struct HeadlessBackendScope {
    HeadlessBackendScope() { plat::InstallHeadlessBackend(); }
    ~HeadlessBackendScope() { plat::InstallBackend(nullptr); }
};

template <class DeviceType>
struct GameOnDevice : private HeadlessBackendScope {
    struct Game : GameApp {
        void Use(plat::Device* d) { device = d; }
    };
    DeviceType device;
    Game game;
    GameOnDevice() { game.Use(&device); }
    ~GameOnDevice() { game.Use(nullptr); }
};
