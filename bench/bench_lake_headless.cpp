// Benchmark: game-side CPU time on the headless backend of the lake view (terrain, backdrop, sky
// and water) and of the whole lake world with the scenery pass after a minute at the lake (both
// programs' detail), from swim 1 on the generated lake, or from the bank of a synthetic lake when
// the build made no media. Prints markdown table rows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include "lake_bench.h"
#include "lake_fixture.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"

extern const bool HIGH_DETAIL_SCENERY = true;

using lakebench::MsSince;

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 300;
    const bool generated = lakebench::GeneratedMediaPresent();
    std::optional<lakebench::MediaFolder> media;
    std::optional<lakefix::ScratchFolder> synthetic;
    if (generated) {
        media.emplace();
    } else {
        synthetic.emplace();
        synthetic->WriteModel(lakefix::ModelText(lakefix::SyntheticLakeValues()));
    }

    plat::HeadlessBackend* backend = plat::InstallHeadlessBackend();
    int status = 0;
    {
        GameApp app;
        if (plat::Failed(app.StartUp())) {
            std::fprintf(stderr, "bench_lake_headless: the game did not start\n");
            return 1;
        }
        plat::HeadlessDevice* device = backend->GetDevice();
        device->recordCallLines = false;
        {
            // Without media the lake world's meshes and textures are stand-ins.
            std::unique_ptr<lakefix::WorldStandIns> standIns;
            if (!generated) standIns = std::make_unique<lakefix::WorldStandIns>(app);
            auto start = std::chrono::steady_clock::now();
            LakeModelResult loaded = app.LoadLakeModel(LAKE_MODEL_NUMBER);
            const double loadMs = MsSince(start);
            std::string error;
            if (!loaded.ok) {
                std::fprintf(stderr, "bench_lake_headless: %s\n", loaded.error.c_str());
                status = 1;
            } else if (generated && !app.StockLake(&error)) {
                std::fprintf(stderr, "bench_lake_headless: %s\n", error.c_str());
                status = 1;
            } else {
                if (generated) {
                    lakebench::GoFishing(app, 1);
                } else {
                    // On the bank south-west of the lake, looking out over the water.
                    app.gameMode = MODE_FISHING;
                    app.SetViewCamera(62, 2, 40, 100, 0, 100, 0, 1, 0);
                }
                // Five rounds of `draw`; the median is the least disturbed by a shared machine.
                auto measure = [&](const std::function<void()>& draw) {
                    auto frame = [&] {
                        device->ClearLog();
                        draw();
                        plat::AdvanceTickCount(16);
                    };
                    for (int i = 0; i < 20; ++i) frame();
                    std::vector<double> rounds;
                    for (int r = 0; r < 5; ++r) {
                        start = std::chrono::steady_clock::now();
                        for (int i = 0; i < frames; ++i) frame();
                        rounds.push_back(MsSince(start) / frames);
                    }
                    std::sort(rounds.begin(), rounds.end());
                    return rounds[2];
                };
                auto row = [&](const char* what, double ms) {
                    std::printf("| game-side CPU, headless backend (%s) | %.3f | %.0f | %.3f | %zu draw calls |\n", what,
                                ms, 1000.0 / ms, ms, device->draws.size());
                };
                const double viewMs = measure([&] { lakebench::DrawLakeView(app); });
                std::printf("lake: %s; load %.1f ms (read, commit, terrain mesh); %zu draw calls a frame\n",
                            generated ? "generated, swim 1" : "synthetic, from the bank", loadMs, device->draws.size());
                row("lake view, draws recorded", viewMs);

                lakebench::AMinuteAtTheLake(app);
                std::printf("after a minute at the lake: %d wildlife and water-effect objects busy\n",
                            lakebench::BusyPoolObjects(app));
                const double worldMs = measure([&] { lakebench::DrawLakeWorldFrame(app); });
                row("lake world with the scenery pass, lakeside", worldMs);
                app.highDetailScenery = 0;
                const double liteMs = measure([&] { lakebench::DrawLakeWorldFrame(app); });
                row("lake world with the scenery pass, lakeside-lite", liteMs);
                app.highDetailScenery = 1;
            }
        }
        app.Close();
    }
    plat::InstallBackend(nullptr);
    return status;
}
