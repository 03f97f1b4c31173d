// Set-up shared by the lake benchmarks: a scratch game folder on the generated media, the angler
// put at a swim as going fishing does, one lake view drawn as the fishing screen draws it, and
// the whole lake world with the scenery pass after a minute at the lake.
#pragma once
#include <unistd.h>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>
#include "platform/device.h"
#include "platform/device_state.h"
#include "scratch_dir.h"
#include "shell/game_app.h"

namespace lakebench {

inline std::filesystem::path GeneratedGameDir() { return LAKESIDE_GAME_DIR; }

// The build made the lake model, the stock file and the textures.
inline bool GeneratedMediaPresent() {
    const std::filesystem::path game = GeneratedGameDir();
    return std::filesystem::exists(game / "models" / "lake.qd") && std::filesystem::exists(game / "data" / "data.qd") &&
           std::filesystem::exists(game / "textures" / "grass1.bmp");
}

// A fresh working folder whose media folders link to the generated ones; the save file goes to
// its own photos folder, so nothing is written into the build.
class MediaFolder : public ScratchDir {
public:
    MediaFolder() {
        for (const char* sub : {"models", "textures", "data", "fonts", "sounds"}) {
            const std::filesystem::path from = GeneratedGameDir() / sub;
            if (std::filesystem::exists(from)) std::filesystem::create_directory_symlink(from, sub);
        }
        std::filesystem::create_directories("photos");
    }
};

// Into the fishing screen at a swim (1..9): lake textures, light 1 instead of light 0, the eye
// 2 high four units behind the swim, looking along its facing with the starting pitch, and the
// blending and alpha testing the fishing screen's frame starts with.
inline void GoFishing(GameApp& app, int swim) {
    plat::Device* device = app.Device();
    app.LoadTextureSet(TEXTURE_SET_LAKE);
    app.gameMode = MODE_FISHING;
    const SwimRecord& s = *app.swims[swim - 1];
    app.eyeX = static_cast<float>(s.x + std::sin(s.facing + 3.5f) * 4.0f);
    app.eyeY = 2.0;
    app.eyeZ = static_cast<float>(s.z + std::cos(s.facing + 3.5f) * 4.0f);
    app.heading = s.facing;
    app.pitch = 6.4;
    device->LightEnable(0, false);
    device->LightEnable(1, true);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    // The look vector of the fishing camera: larger pitch looks down.
    const double e = app.pitch - 4.712388975;
    const double c = std::cos(1.570796325 - e);
    app.SetViewCamera(app.eyeX, app.eyeY, app.eyeZ, app.eyeX + std::sin(app.heading) * c, app.eyeY + std::cos(e),
                      app.eyeZ + std::cos(app.heading) * c, 0, 1, 0);
}

inline void ClearFrame(GameApp& app) {
    app.Device()->Clear(0, nullptr, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER, app.ClearColourForMode(MODE_FISHING),
                        1.0f, 0);
}

// The lake view as the fishing screen draws it: terrain with its backdrop and sky, then the water.
inline void DrawLakeView(GameApp& app) {
    app.Device()->BeginScene();
    ClearFrame(app);
    app.DrawTerrain(0);
    app.AnimateAndDrawWater();
    app.Device()->EndScene();
}

// The terrain cells alone: the terrain pass in a mode that draws no backdrop.
inline void DrawTerrainOnly(GameApp& app) {
    const int32_t mode = app.gameMode;
    app.gameMode = MODE_TITLE;
    app.Device()->BeginScene();
    ClearFrame(app);
    app.DrawTerrain(0);
    app.Device()->EndScene();
    app.gameMode = mode;
}

// What the fish do to the pools, until the fish school pass runs: about two wakes and two
// feeding bubbles a frame, somewhere within 60 of the eye.
inline void FishStandIns(GameApp& app) {
    for (int k = 0; k < 2; ++k) {
        const double x = app.eyeX + plat::GameRand() / 273.0 - 60, z = app.eyeZ + plat::GameRand() / 273.0 - 60;
        app.SpawnWake(static_cast<float>(x), 0, static_cast<float>(z), 0.6, plat::GameRand() / 5214.35);
        app.SpawnFeedingBubble(x, -3.0, z, 0.1 + plat::GameRand() / 163835.0);
    }
}

// The world of one fishing frame: terrain, the scenery pass, aerators and hut, water.
inline void DrawLakeWorldFrame(GameApp& app) {
    app.Device()->BeginScene();
    ClearFrame(app);
    FishStandIns(app);
    app.DrawLakeWorld(GameApp::LAKE_WORLD_FISHING);
    app.Device()->EndScene();
}

// A minute at the lake at 60 frames a second: every pool busy. The clock is left standing at
// the minute's end.
inline void AMinuteAtTheLake(GameApp& app) {
    const uint32_t start = plat::GetTickCount();
    for (uint32_t frame = 0; frame < 3600; ++frame) {
        plat::SetFixedTickCount(start + frame * 16);
        FishStandIns(app);
        app.DrawSceneryAndWildlife();
        app.DrawAeratorsAndHut();
    }
}

// Active objects of the wildlife and water-effect pools.
inline int BusyPoolObjects(const GameApp& app) {
    int n = 0;
    for (const InsectSwarm* s : app.insectSwarms) n += s->active != 0;
    for (const BubbleSpot* s : app.bubbleSpots) n += s->active != 0;
    for (const Dragonfly* d : app.dragonflies) n += d->active != 0;
    for (const RippleRing* r : app.rippleRings) n += r->active != 0;
    for (const Wake* w : app.wakes) n += w->active != 0;
    for (const FeedingBubble* f : app.feedingBubbles) n += f->active != 0;
    return n + GULL_COUNT;
}

// The pools and the random generator as they stand, to draw the same frame again.
class PoolSnapshot {
public:
    explicit PoolSnapshot(const GameApp& app) : rand_(plat::GameRandState()) {
        for (const RippleRing* r : app.rippleRings) rings_.push_back(*r);
        for (const FeedingBubble* f : app.feedingBubbles) bubbles_.push_back(*f);
        for (const Wake* w : app.wakes) wakes_.push_back(*w);
    }
    void Restore(GameApp& app) const {
        for (size_t i = 0; i < rings_.size(); ++i) *app.rippleRings[i] = rings_[i];
        for (size_t i = 0; i < bubbles_.size(); ++i) *app.feedingBubbles[i] = bubbles_[i];
        for (size_t i = 0; i < wakes_.size(); ++i) *app.wakes[i] = wakes_[i];
        plat::SetGameRandState(rand_);
    }

private:
    uint32_t rand_;
    std::vector<RippleRing> rings_;
    std::vector<FeedingBubble> bubbles_;
    std::vector<Wake> wakes_;
};

// One frame of the map's orbiting wireframe view while it turns, drawn by the game's own frame
// (clear, wireframe terrain, texts), with the map's lights; the lake view's camera, projection,
// lights and fill are put back afterwards. `s` is the device's state; the eye turns by `turn`
// radians first.
inline void DrawOrbitFrame(GameApp& app, const plat::DeviceState& s, double turn = 0.05) {
    plat::Device* device = app.Device();
    const plat::Matrix view = s.view, projection = s.projection;
    const bool light0 = s.lightEnabled[0], light1 = s.lightEnabled[1];
    const int32_t mode = app.gameMode;
    device->LightEnable(0, true);
    device->LightEnable(1, false);
    app.gameMode = MODE_MAP;
    app.orbitView = 1;
    app.orbitAngle += turn;  // an arrow held: the eye turns round the lake
    if (app.orbitAngle > 6.284) app.orbitAngle -= 6.284;
    app.DrawFrame();
    app.orbitView = 0;
    app.gameMode = mode;
    device->LightEnable(0, light0);
    device->LightEnable(1, light1);
    device->SetTransform(plat::TS_VIEW, &view);
    device->SetTransform(plat::TS_PROJECTION, &projection);
    device->SetRenderState(plat::RS_FILLMODE, plat::FILL_SOLID);
}

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace lakebench
