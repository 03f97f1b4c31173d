// The lake as the real OpenGL backend draws it: the game object on the SDL backend, in a folder
// with the generated media, looks from swim 1 over the water; the picture shows water where the
// camera looks at the lake and ground on the bank, and the merged draws give the same picture as
// one GL draw per call. With the scenery pass, the billboards and the scenery items show.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop
#include "lake_bench.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_backend.h"
#include "scratch_dir.h"
#include "fishing/stock/stock_file.h"
#include "shell/game_app.h"

extern const bool HIGH_DETAIL_SCENERY = true;

namespace {

namespace fs = std::filesystem;

struct Share {
    double water = 0, ground = 0;
};

// Share of water-coloured and grass-coloured pixels in a region of an ARGB picture.
Share Colours(const std::vector<uint32_t>& px, int x0, int y0, int x1, int y1) {
    Share s;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x, ++n) {
            const uint32_t c = px[static_cast<size_t>(y) * 800 + x];
            const int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
            // The lake is a muted grey-green or blue; grass a saturated green.
            if (b > r + 5 && g < b + 20) s.water += 1;
            if (g > b + 25 && g > r + 15) s.ground += 1;
        }
    s.water /= n;
    s.ground /= n;
    return s;
}

void SavePng(const std::string& path, const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> rgb(argb.size() * 3);
    for (size_t i = 0; i < argb.size(); ++i) {
        rgb[i * 3] = static_cast<uint8_t>(argb[i] >> 16);
        rgb[i * 3 + 1] = static_cast<uint8_t>(argb[i] >> 8);
        rgb[i * 3 + 2] = static_cast<uint8_t>(argb[i]);
    }
    stbi_write_png(path.c_str(), 800, 600, 3, rgb.data(), 800 * 3);
}

// Pixels whose colour differs by more than 8 in a channel.
size_t Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    size_t n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)) > 8) {
                ++n;
                break;
            }
    return n;
}

void SaveInBuild(const char* name, const std::vector<uint32_t>& argb) {
    fs::create_directories(fs::path(LAKESIDE_BUILD_DIR) / "e2e");
    SavePng((fs::path(LAKESIDE_BUILD_DIR) / "e2e" / name).string(), argb);
}

// The game on the SDL backend in a folder linked to the generated media, the lake loaded and
// stocked as on the map's first frame, the lakeside textures and lights in place, the eye 2 high
// four units behind swim 1 as going fishing puts the angler.
class LakeGl : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* sub : {"textures", "sounds", "models", "data", "fonts"})
            fs::create_directory_symlink(fs::path(LAKESIDE_GAME_DIR) / sub, sub);
        plat::InstallBackend(plat::CreateSdlBackend());
        backend = static_cast<plat::SdlBackend*>(plat::CurrentBackend());
        ASSERT_NE(backend, nullptr);
        app = std::make_unique<GameApp>();
        ASSERT_FALSE(plat::Failed(app->StartUp())) << "no display or no device";
        backend->SetFramePacing(false);
        app->InitialiseLake();
        ASSERT_FALSE(app->IsCloseRequested());
        app->LoadTextureSet(TEXTURE_SET_LAKE);
        app->gameMode = MODE_FISHING;  // the backdrop belongs to the lake screens
        device = app->Device();
        device->LightEnable(0, false);
        device->LightEnable(1, true);
        swim = app->swims[0];
        app->eyeX = swim->x + std::sin(swim->facing + 3.5) * 4;
        app->eyeY = 2.0;
        app->eyeZ = swim->z + std::cos(swim->facing + 3.5) * 4;
    }
    void TearDown() override {
        if (app) app->Close();
        app.reset();
        plat::InstallBackend(nullptr);
        plat::SetTickSource(nullptr);
    }

    // One frame looking out along the swim's facing: `world` draws, the picture is read back.
    std::vector<uint32_t> Frame(const std::function<void()>& world) {
        device->BeginScene();
        device->Clear(0, nullptr, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER, 0x00323232u, 1.0f, 0);
        device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);  // as the lake screens start a frame
        device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
        app->SetViewCamera(app->eyeX, 2.0, app->eyeZ, app->eyeX + std::sin(swim->facing) * 10, 1.0,
                           app->eyeZ + std::cos(swim->facing) * 10, 0, 1, 0);
        world();
        device->EndScene();
        std::vector<uint32_t> px;
        EXPECT_TRUE(backend->ReadBackBuffer(&px));
        backend->Present();
        EXPECT_EQ(px.size(), 800u * 600u);
        return px;
    }

    ScratchDir folder;
    plat::SdlBackend* backend = nullptr;
    std::unique_ptr<GameApp> app;
    plat::Device* device = nullptr;
    const SwimRecord* swim = nullptr;
};

}  // namespace

TEST_F(LakeGl, WaterAheadGroundOnTheBankAndMergedDrawsDrawTheSame) {
    plat::SetFixedTickCount(500000);  // the water stands still between the frames
    auto view = [&] {
        app->DrawTerrain(0);
        app->AnimateAndDrawWater();
    };
    auto* gl = static_cast<plat::GlDevice*>(device);
    Frame(view);  // the water and sky meshes take this frame's texture coordinates
    const std::vector<uint32_t> merged = Frame(view);
    gl->SetBatching(false);
    const std::vector<uint32_t> single = Frame(view);
    gl->SetBatching(true);
    SaveInBuild("lake_view.png", merged);
    SaveInBuild("lake_view_single.png", single);

    // Ahead, below the horizon and beyond the dry bank in front of the standing point (where the
    // unhooking mat lies), lies the lake; the whole view has bank somewhere.
    Share ahead = Colours(merged, 300, 280, 500, 360);
    Share all = Colours(merged, 0, 0, 800, 600);
    EXPECT_GT(ahead.water, 0.6) << "water where the camera looks at the lake";
    EXPECT_GT(all.ground, 0.03) << "grass on the bank";
    EXPECT_LT(Differing(merged, single), merged.size() / 1000) << "merged draws change the picture";
}

TEST_F(LakeGl, TheWholeLakeWorldShowsBillboardsAndItemsFromSwimOne) {
    // A minute at the lake: every pool busy.
    uint32_t tick = 500000;
    for (int i = 0; i < 60 * 20; ++i) {
        plat::SetFixedTickCount(tick += 50);
        app->DrawSceneryAndWildlife();
    }
    // The pictures: the clock stands still, so nothing moves between them, and the rings the
    // aerators start each frame find their pool full.
    plat::SetFixedTickCount(tick);
    for (RippleRing* r : app->rippleRings) r->active = 1;
    auto world = [&] { app->DrawLakeWorld(GameApp::LAKE_WORLD_FISHING); };
    Frame(world);
    const std::vector<uint32_t> full = Frame(world);
    auto without = [&](auto& pool, auto draw) {
        std::vector<uint8_t> active(std::size(pool));
        for (size_t n = 0; n < active.size(); ++n) std::swap(active[n], pool[n]->active);
        std::vector<uint32_t> px = Frame(draw);
        for (size_t n = 0; n < active.size(); ++n) std::swap(active[n], pool[n]->active);
        return px;
    };
    const std::vector<uint32_t> noBillboards = without(app->billboards, world);
    const std::vector<uint32_t> noItems = without(app->sceneryItems, world);
    app->highDetailScenery = 0;
    const std::vector<uint32_t> lite = Frame(world);
    SaveInBuild("lake_world.png", full);
    SaveInBuild("lake_world_lite.png", lite);

    // Trees, reeds and flowers cover a good part of the view; the platform at the swim and the
    // lily beds show too.
    EXPECT_GT(Differing(full, noBillboards), full.size() / 20) << "billboards in the picture";
    EXPECT_GT(Differing(full, noItems), full.size() / 500) << "scenery items in the picture";
    EXPECT_GT(Differing(full, lite), 0u) << "the lite detail draws less";
}

TEST_F(LakeGl, TheTurningOrbitViewLooksAsOneCallPerDrawAtEveryHeading) {
    // The map's wireframe orbit view as the game draws it (its own frame: clear, terrain, texts),
    // with the map's lights, at headings round the lake and once zoomed in low, where part of the
    // lake lies outside the window. The terrain's one layered run is kept from frame to frame
    // while the eye moves, and handed to GL in parts.
    auto* gl = static_cast<plat::GlDevice*>(device);
    device->LightEnable(0, true);
    device->LightEnable(1, false);
    app->gameMode = MODE_MAP;
    app->orbitView = 1;
    auto frame = [&] {
        app->DrawFrame();
        std::vector<uint32_t> px;
        EXPECT_TRUE(backend->ReadBackBuffer(&px));
        backend->Present();
        return px;
    };
    struct Eye {
        double angle, height, zoom;
    };
    const Eye eyes[] = {{0.0, 50, 4}, {1.3, 50, 4}, {2.9, 120, 4}, {4.6, 50, 4}, {5.5, 20, 12}};
    for (const Eye& eye : eyes) {
        SCOPED_TRACE(eye.angle);
        app->orbitAngle = eye.angle;
        app->orbitHeight = eye.height;
        app->orbitZoom = eye.zoom;
        const uint64_t before = gl->GlDrawCalls();
        const std::vector<uint32_t> layered = frame();
        EXPECT_LT(gl->GlDrawCalls() - before, 40u) << "the terrain in one run";
        gl->SetBatching(false);
        const std::vector<uint32_t> single = frame();
        gl->SetBatching(true);
        if (eye.angle == 0.0) SaveInBuild("orbit_view.png", layered);
        size_t differing = 0, lines = 0;
        for (size_t i = 0; i < layered.size() && i < single.size(); ++i) {
            differing += (layered[i] & 0xFFFFFFu) != (single[i] & 0xFFFFFFu);
            lines += (layered[i] & 0xFFFFFFu) != (layered[0] & 0xFFFFFFu);
        }
        EXPECT_EQ(differing, 0u);
        EXPECT_GT(lines, layered.size() / 10) << "the lake's lines fill a good part of the window";
    }
    app->orbitView = 0;
}

// The device's merging, regrouping and early flushes must not change a single pixel of the lake
// world: at every swim, with full and thinned scenery, early at the lake and after a minute, the
// merged picture equals the one drawn with one GL call per draw and no early flush, byte for byte. Crossing sprites of different
// textures meet at exactly equal depth in a few pixels, where the later draw wins.
TEST_F(LakeGl, RegroupedLakeWorldIsTheOneCallPerDrawPictureAtEverySwim) {
    auto* gl = static_cast<plat::GlDevice*>(device);
    gl->SetEarlyFlushes(plat::FlushChoice::Always);
    plat::SetFixedTickCount(500000);
    // The pictures of one frame drawn both ways from the same pools and random draws.
    auto compare = [&](const std::string& where) {
        // The water drifts once on the first frame with the clock standing, and the sky takes the
        // texture positions the frame before wrote: two frames before the pictures.
        const lakebench::PoolSnapshot pools(*app);
        uint64_t flushes = 0;
        for (int settle = 0; settle < 3; ++settle) {
            pools.Restore(*app);
            flushes = gl->GlFlushes();
            lakebench::DrawLakeWorldFrame(*app);
        }
        EXPECT_GT(gl->GlFlushes(), flushes) << where << ": the frame was handed to GL in parts";
        std::vector<uint32_t> merged, single;
        ASSERT_TRUE(backend->ReadBackBuffer(&merged));
        pools.Restore(*app);
        // The plainest way: one GL call per draw, flushed only when shown.
        gl->SetBatching(false);
        gl->SetEarlyFlushes(plat::FlushChoice::Never);
        lakebench::DrawLakeWorldFrame(*app);
        ASSERT_TRUE(backend->ReadBackBuffer(&single));
        gl->SetBatching(true);
        gl->SetEarlyFlushes(plat::FlushChoice::Always);
        backend->Present();
        std::vector<std::string> off;
        for (size_t i = 0; i < merged.size(); ++i)
            if ((merged[i] & 0xFFFFFFu) != (single[i] & 0xFFFFFFu)) {
                char text[64];
                std::snprintf(text, sizeof text, "(%zu,%zu) %06x/%06x", i % 800, i / 800, merged[i] & 0xFFFFFFu,
                              single[i] & 0xFFFFFFu);
                off.push_back(text);
            }
        if (!off.empty()) {
            SaveInBuild(("regrouped_" + where + ".png").c_str(), merged);
            SaveInBuild(("single_" + where + ".png").c_str(), single);
        }
        std::string first;
        for (size_t k = 0; k < off.size() && k < 8; ++k) first += " " + off[k];
        EXPECT_EQ(off.size(), 0u) << where << ":" << first;
    };
    auto atTheLake = [&](int frames) {
        for (int frame = 0; frame < frames; ++frame) {
            plat::SetFixedTickCount(plat::GetTickCount() + 16);
            lakebench::FishStandIns(*app);
            app->DrawSceneryAndWildlife();
            app->DrawAeratorsAndHut();
        }
    };
    lakebench::GoFishing(*app, 1);
    atTheLake(600);
    for (const uint8_t detail : {1, 0}) {
        app->highDetailScenery = detail;
        compare("swim1_ten_seconds_detail" + std::to_string(detail));
    }
    atTheLake(3000);
    for (int swim = 1; swim <= SWIM_COUNT; ++swim) {
        lakebench::GoFishing(*app, swim);
        atTheLake(30);
        for (const uint8_t detail : {1, 0}) {
            app->highDetailScenery = detail;
            compare("swim" + std::to_string(swim) + "_detail" + std::to_string(detail));
        }
        app->highDetailScenery = 1;
    }
}
