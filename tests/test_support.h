// Shared helpers for tests that run the game on the headless backend.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include "platform/d3dx.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"
#include "shell/game_app.h"

// A started game on a fresh headless backend; closes and destroys it at the end of the test.
// The backend is the platform's one global backend and owns the device, so it must outlive the
// game: only one HeadlessGame may live at a time (a second one would delete the first one's device
// under its fonts and textures). The random generator is seeded before the game is made (it draws
// the gulls' headings) and again after its start (which seeds it from the clock), so that no test
// depends on the time or on the tests that ran before it in the process.
struct HeadlessGame {
    plat::HeadlessBackend* backend;
    std::unique_ptr<GameApp> app;

    explicit HeadlessGame(uint32_t startTick = 100000) {
        if (Live()) {
            std::fprintf(stderr, "test support: only one HeadlessGame at a time\n");
            std::abort();
        }
        Live() = true;
        backend = plat::InstallHeadlessBackend(startTick);
        plat::GameSrand(1);
        app = std::make_unique<GameApp>();
    }
    ~HeadlessGame() {
        if (app) app->Close();
        app.reset();
        plat::InstallBackend(nullptr);
        Live() = false;
    }
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;
    static bool& Live() {
        static bool live = false;
        return live;
    }
    bool Start() {
        const bool started = !plat::Failed(app->StartUp());
        plat::GameSrand(1);
        return started;
    }
    plat::HeadlessDevice* Device() { return backend->GetDevice(); }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) app->RunOneFrame();
    }
};

// The file name of a recorded draw's texture, without its folder ("" when none).
inline std::string FileOf(const plat::DrawRecord& d) {
    return d.textureFile.substr(d.textureFile.find_last_of("\\/") + 1);
}

// Where the point (x, y, z) of a recorded draw's model lands on the 800 x 600 picture: through the
// draw's world, view and projection, then the viewport.
struct PicturePoint {
    double x, y;
};
inline PicturePoint OnPicture(const plat::DrawRecord& d, float x, float y, float z) {
    plat::Matrix wv, wvp;
    plat::MatrixMultiply(&wv, &d.world, &d.view);
    plat::MatrixMultiply(&wvp, &wv, &d.projection);
    const plat::Vector3 p = plat::TransformCoord(plat::Vector3{x, y, z}, wvp);
    return {(p.x + 1.0) * 400.0, (1.0 - p.y) * 300.0};
}

// A 1-pixel grey texture named after `file`, for a slot the headless game leaves empty.
inline plat::Texture* StandInTexture(plat::Device* device, const char* file) {
    plat::TextureImage image;
    image.width = image.height = image.sourceWidth = image.sourceHeight = 1;
    image.argb = {0xFF808080u};
    plat::Texture* t = nullptr;
    device->CreateTextureFromImage(image, file, &t);
    return t;
}
