// The lake as the real OpenGL backend draws it: the game object on the SDL backend, in a folder
// with the generated media, looks from swim 1 over the water; the picture shows water where the
// camera looks at the lake and ground on the bank, and the merged draws give the same picture as
// one GL draw per call.
#include <gtest/gtest.h>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#pragma GCC diagnostic pop
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

}  // namespace

TEST(LakeView, WaterAheadGroundOnTheBankAndMergedDrawsDrawTheSame) {
    ScratchDir folder;
    for (const char* sub : {"textures", "sounds", "models", "data", "fonts"})
        fs::create_directory_symlink(fs::path(LAKESIDE_GAME_DIR) / sub, sub);
    plat::InstallBackend(plat::CreateSdlBackend());
    auto* backend = static_cast<plat::SdlBackend*>(plat::CurrentBackend());
    ASSERT_NE(backend, nullptr);
    std::vector<uint32_t> merged, single;
    {
        GameApp app;
        ASSERT_FALSE(plat::Failed(app.StartUp())) << "no display or no device";
        backend->SetFramePacing(false);
        app.InitialiseLake();  // the lake model and the stock file, as the map's first frame
        ASSERT_FALSE(app.IsCloseRequested());
        app.LoadTextureSet(TEXTURE_SET_LAKE);
        app.gameMode = MODE_FISHING;      // the backdrop belongs to the lake screens
        plat::SetFixedTickCount(500000);  // the water stands still between the two frames
        plat::Device* device = app.Device();
        device->LightEnable(0, false);
        device->LightEnable(1, true);

        // Standing behind swim 1 as going fishing puts the angler, looking out along its facing.
        const SwimRecord& s = *app.swims[0];
        const double ex = s.x + std::sin(s.facing + 3.5) * 4, ez = s.z + std::cos(s.facing + 3.5) * 4;
        auto frame = [&]() {
            device->BeginScene();
            device->Clear(0, nullptr, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER, 0x00323232u, 1.0f, 0);
            device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);  // as the lake screens start a frame
            device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
            app.SetViewCamera(ex, 2.0, ez, ex + std::sin(s.facing) * 10, 1.0, ez + std::cos(s.facing) * 10, 0,
                              1, 0);
            app.DrawTerrain(0);
            app.AnimateAndDrawWater();
            device->EndScene();
            std::vector<uint32_t> px;
            EXPECT_TRUE(backend->ReadBackBuffer(&px));
            backend->Present();
            return px;
        };
        auto* gl = static_cast<plat::GlDevice*>(device);
        gl->SetBatching(true);
        frame();  // the water and sky meshes take this frame's texture coordinates
        merged = frame();
        gl->SetBatching(false);
        single = frame();
        gl->SetBatching(true);
        app.Close();
    }
    plat::InstallBackend(nullptr);
    plat::SetTickSource(nullptr);
    ASSERT_EQ(merged.size(), 800u * 600u);
    ASSERT_EQ(single.size(), merged.size());
    fs::create_directories(fs::path(LAKESIDE_BUILD_DIR) / "e2e");
    SavePng((fs::path(LAKESIDE_BUILD_DIR) / "e2e" / "lake_view.png").string(), merged);
    SavePng((fs::path(LAKESIDE_BUILD_DIR) / "e2e" / "lake_view_single.png").string(), single);

    // Ahead and below the horizon lies the lake; the whole view has bank somewhere.
    Share ahead = Colours(merged, 300, 330, 500, 420);
    Share all = Colours(merged, 0, 0, 800, 600);
    EXPECT_GT(ahead.water, 0.6) << "water where the camera looks at the lake";
    EXPECT_GT(all.ground, 0.03) << "grass on the bank";

    size_t differing = 0;
    for (size_t i = 0; i < merged.size(); ++i) {
        const uint32_t a = merged[i], b = single[i];
        for (int shift : {0, 8, 16})
            if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 8) {
                ++differing;
                break;
            }
    }
    EXPECT_LT(differing, merged.size() / 1000) << "merged draws change the picture";
}
