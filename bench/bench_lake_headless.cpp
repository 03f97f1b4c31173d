// Benchmark: loads a lake and draws terrain, water and sky from a swim on the headless backend.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include "lake_fixture.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"
#include "shell/game_app.h"

extern const bool kHighDetailScenery = true;

namespace {

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 300;

    // Run in a scratch folder so that nothing is written into the game folder; use the generated
    // lake when the build made one.
    const std::filesystem::path generated = std::filesystem::path(LAKESIDE_GAME_DIR) / "models" / "lake.qd";
    std::string model;
    const char* source = "synthetic lake";
    if (std::filesystem::exists(generated)) {
        std::ifstream in(generated, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        model = text.str();
        source = "generated lake (build/game/models/lake.qd)";
    } else {
        model = lakefix::ModelText(lakefix::SyntheticLakeValues());
    }
    lakefix::ScratchFolder folder;
    folder.WriteModel(model);

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
            lakefix::WorldStandIns standIns(app);
            auto start = std::chrono::steady_clock::now();
            LakeModelResult loaded = app.LoadLakeModel(LAKE_MODEL_NUMBER);
            const double loadMs = MsSince(start);
            if (!loaded.ok) {
                std::fprintf(stderr, "bench_lake_headless: %s\n", loaded.error.c_str());
                status = 1;
            } else {
                // On the bank south-west of the lake, looking out over the water.
                app.gameMode = MODE_FISHING;
                app.SetViewCamera(62, 2, 40, 100, 0, 100, 0, 1, 0);
                auto frame = [&] {
                    device->ClearLog();
                    app.DrawTerrain(0);
                    app.AnimateAndDrawWater();
                    plat::AdvanceTickCount(16);
                };
                for (int i = 0; i < 20; ++i) frame();
                start = std::chrono::steady_clock::now();
                for (int i = 0; i < frames; ++i) frame();
                const double total = MsSince(start);
                std::printf("lake: %s\n", source);
                std::printf("load: %.1f ms (read, commit, terrain mesh)\n", loadMs);
                std::printf("frame: terrain + water + sky, %zu draw calls\n", device->draws.size());
                std::printf("%.3f ms per frame over %d frames (game side and headless recording)\n", total / frames,
                            frames);
            }
        }
        app.Close();
    }
    plat::InstallBackend(nullptr);
    return status;
}
