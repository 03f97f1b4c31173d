// Benchmark: fishing frames on the SDL + OpenGL backend (no pacing, no vsync): all 75 fish in the
// school pass, both rods out, a fish played on rod 1 with its line, the held rod and the dial.
// Prints a markdown table row. With a folder argument it also writes pictures of the fight, a few
// fish near the surface and the fish on the mat there (PPM), for looking at.
#include <SDL.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "fishing_bench.h"
#include "platform/sdl/gl_device.h"
#include "gl_bench.h"
#include "platform/sdl/sdl_backend.h"

extern const bool HIGH_DETAIL_SCENERY = true;

namespace {
void WritePicture(plat::SdlBackend* backend, const std::string& path) {
    std::vector<uint32_t> px;
    if (!backend->ReadBackBuffer(&px) || px.empty()) return;
    const int w = 800, h = static_cast<int>(px.size() / w);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", w, h);
    for (uint32_t p : px) {
        const unsigned char rgb[3] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                      static_cast<unsigned char>(p)};
        std::fwrite(rgb, 1, 3, f);
    }
    std::fclose(f);
}

// One frame drawn and read back before it is shown.
void Shot(GameApp& app, plat::SdlBackend* backend, const std::string& path) {
    app.StepFrame();
    app.DrawFrame();
    WritePicture(backend, path);
    backend->Present();
    plat::AdvanceTickCount(16);
}
}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    const std::string shots = argc > 2 ? argv[2] : "";
    if (!lakebench::GeneratedMediaPresent()) {
        std::fprintf(stderr, "bench_fishing_gl: no generated media (build the game first)\n");
        return 1;
    }
    lakebench::MediaFolder folder;
    plat::SdlBackend* backend = lakebench::InstallGlBackend();
    int status = 0;
    {
        GameApp app;
        if (!lakebench::StartUnpaced(app, backend, "bench_fishing_gl")) return 1;
        plat::SetFixedTickCount(1000000);
        plat::GameSrand(7);
        app.InitialiseLake();
        if (!app.lakeInitialised || app.IsCloseRequested()) {
            std::fprintf(stderr, "bench_fishing_gl: the lake could not be loaded and stocked\n");
            status = 1;
        } else {
            fishingbench::SetUpFight(app);
            for (int i = 0; i < 30; ++i) fishingbench::FightFrame(app);
            backend->GetGlDevice()->Finish();
            // The fishing frame, and the lake view alone as a yardstick under the same load; they
            // take turns in every round.
            std::vector<double> fight, lake;
            auto time = [&](auto frame) {
                const auto start = std::chrono::steady_clock::now();
                for (int i = 0; i < frames; ++i) frame();
                backend->GetGlDevice()->Finish();
                return lakebench::MsSince(start) / frames;
            };
            for (int r = 0; r < 5; ++r) {
                fight.push_back(time([&] { fishingbench::FightFrame(app); }));
                lake.push_back(time([&] {
                    lakebench::DrawLakeView(app);
                    backend->Present();
                }));
            }
            std::sort(fight.begin(), fight.end());
            std::sort(lake.begin(), lake.end());
            std::printf("| fishing frame, GL at 800x600: 75 fish, a fish played, line and held rod | %.2f | %.1f |\n",
                        fight[2], 1000.0 / fight[2]);
            std::printf("| lake view alone (terrain, backdrop, water), same run | %.2f | %.1f |\n", lake[2],
                        1000.0 / lake[2]);
            // At the swim with both rods cast and on their rests, waiting for a bite.
            fishingbench::SetUpRodsOut(app);
            for (int i = 0; i < 30; ++i) fishingbench::RodsOutFrame(app);
            std::vector<double> rodsOut, lakeAgain;
            for (int r = 0; r < 5; ++r) {
                rodsOut.push_back(time([&] { fishingbench::RodsOutFrame(app); }));
                lakeAgain.push_back(time([&] {
                    lakebench::DrawLakeView(app);
                    backend->Present();
                }));
            }
            std::sort(rodsOut.begin(), rodsOut.end());
            std::sort(lakeAgain.begin(), lakeAgain.end());
            std::printf("| fishing frame, GL at 800x600: at the swim, both rods cast on their rests | %.2f | %.1f |\n",
                        rodsOut[2], 1000.0 / rodsOut[2]);
            std::printf("| lake view alone, taking turns with the frame above | %.2f | %.1f |\n", lakeAgain[2],
                        1000.0 / lakeAgain[2]);
            if (!shots.empty()) Shot(app, backend, shots + "/rods_out.ppm");
            fishingbench::SetUpFight(app);
            if (!shots.empty()) {
                Shot(app, backend, shots + "/fight.ppm");
                // A few fish in front of the rods, just under the surface.
                const SwimRecord& s = *app.swims[fishingbench::SWIM - 1];
                for (int i = 1; i < 6; ++i) {
                    Fish& f = *app.fish[i];
                    f.x = s.x + std::sin(s.facing - 0.3 + i * 0.12) * (6 + i);
                    f.z = s.z + std::cos(s.facing - 0.3 + i * 0.12) * (6 + i);
                    f.y = -0.3;
                    f.state = FISH_CRUISE;
                    f.fear = 0;
                }
                app.fish[0]->x = s.x + std::sin(s.facing) * 5;
                app.fish[0]->z = s.z + std::cos(s.facing) * 5;
                app.fish[0]->y = -0.4;
                Shot(app, backend, shots + "/fish.ppm");
                // Netted and on the mat.
                app.fishingState = FISHING_FISH_LANDED;
                app.rodHasFish[0] = 0;
                app.playedFish = 0;
                for (int i = 0; i < 3; ++i) Shot(app, backend, shots + "/sling.ppm");
                app.fishingState = FISHING_PHOTO_MODE;
                app.pitch = 6.6;
                for (int i = 0; i < 3; ++i) Shot(app, backend, shots + "/mat.ppm");
            }
        }
        app.Close();
    }
    plat::InstallBackend(nullptr);
    return status;
}
