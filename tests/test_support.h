// Shared helpers for tests that run the game on the headless backend.
#pragma once
#include <memory>
#include "platform/headless/headless_backend.h"
#include "shell/game_app.h"

// A started game on a fresh headless backend; closes and destroys it at the end of the test.
struct HeadlessGame {
    plat::HeadlessBackend* backend;
    std::unique_ptr<GameApp> app;

    explicit HeadlessGame(uint32_t startTick = 100000) {
        backend = plat::InstallHeadlessBackend(startTick);
        app = std::make_unique<GameApp>();
    }
    ~HeadlessGame() {
        if (app) app->Close();
        app.reset();
        plat::InstallBackend(nullptr);
    }
    bool Start() { return !plat::Failed(app->StartUp()); }
    plat::HeadlessDevice* Device() { return backend->GetDevice(); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) app->RunOneFrame();
    }
};
