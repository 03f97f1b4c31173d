// Benchmark: game-side CPU time of a fishing frame on the headless backend: all 75 fish in the
// school pass, both rods out, a fish played on rod 1 with its line and the held rod. Prints a
// markdown table row.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>
#include "fishing_bench.h"
#include "platform/headless/headless_backend.h"

extern const bool HIGH_DETAIL_SCENERY = true;

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 600;
    if (!lakebench::GeneratedMediaPresent()) {
        std::fprintf(stderr, "bench_fishing_headless: no generated media (build the game first)\n");
        return 1;
    }
    lakebench::MediaFolder folder;
    plat::HeadlessBackend* backend = plat::InstallHeadlessBackend();
    int status = 0;
    {
        GameApp app;
        if (plat::Failed(app.StartUp())) {
            std::fprintf(stderr, "bench_fishing_headless: the game did not start\n");
            return 1;
        }
        backend->GetDevice()->recordCallLines = false;
        plat::GameSrand(7);
        app.InitialiseLake();
        if (!app.lakeInitialised || app.IsCloseRequested()) {
            std::fprintf(stderr, "bench_fishing_headless: the lake could not be loaded and stocked\n");
            status = 1;
        } else {
            fishingbench::SetUpFight(app);
            auto frame = [&] {
                backend->GetDevice()->ClearLog();
                fishingbench::FightFrame(app);
            };
            for (int i = 0; i < 60; ++i) frame();
            std::vector<double> rounds;
            for (int r = 0; r < 5; ++r) {
                const auto start = std::chrono::steady_clock::now();
                for (int i = 0; i < frames; ++i) frame();
                rounds.push_back(lakebench::MsSince(start) / frames);
            }
            std::sort(rounds.begin(), rounds.end());
            std::printf("| fishing frame, headless: 75 fish, a fish played, line and held rod | %.3f | %zu draws |\n",
                        rounds[2], backend->GetDevice()->draws.size());
        }
        app.Close();
    }
    plat::InstallBackend(nullptr);
    return status;
}
