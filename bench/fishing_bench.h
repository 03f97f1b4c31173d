// Set-up shared by the fishing benchmarks: the generated lake stocked, the angler at swim 1 with
// both rods out, and a fish on rod 1 being played in front of the rods.
#pragma once
#include <cmath>
#include "lake_bench.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace fishingbench {

constexpr int SWIM = 1;

// The fish played on rod 1: the first fish, kept 12 units out along the swim's facing.
inline void HookFishOnRod1(GameApp& app) {
    const SwimRecord& s = *app.swims[SWIM - 1];
    Fish& f = *app.fish[0];
    f.x = s.x + std::sin(s.facing) * 12;
    f.z = s.z + std::cos(s.facing) * 12;
    f.y = -1.2;
    f.state = FISH_HOOKED;
    f.strength = 40;
    app.fishingState = FISHING_ROD_IN_HAND;
    app.rodStruck[0] = 1;
    app.rodFish[0] = 0;
    app.rodHasFish[0] = 1;
    app.fishLost = app.lineSnapped = 0;
}

// Both rods cast 15 units out (each with its hook bait), rod 1 then struck with a fish on.
inline void SetUpFight(GameApp& app) {
    lakebench::GoFishing(app, SWIM);
    const SwimRecord& s = *app.swims[SWIM - 1];
    app.currentSwim = SWIM;
    app.atSwim = 1;
    app.podYaw = s.facing;
    app.rodPodX = s.x;
    app.rodPodZ = s.z;
    app.rodPitch = 0.7;
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        const double a = s.facing + 0.2 * (rod + 1);
        const double x = s.x + std::sin(a) * 15, z = s.z + std::cos(a) * 15;
        app.rodBaitItem[rod] =
            app.SpawnBaitAttraction(static_cast<float>(x), 0, static_cast<float>(z), BAIT_HOOK, 1, 10, 2, 10, 8, 1);
        app.hookBaitPos[rod][0] = x;
        app.hookBaitPos[rod][1] = z;
        app.hookBaitHeight[rod] = -1.5;
        app.rodInWater[rod] = 1;
    }
    app.rodInWater[0] = 0;  // rod 1 is in the hand
    HookFishOnRod1(app);
}

// One game frame as the program runs it (input step, then the fishing frame), with the fight
// kept going: a fish that is lost, netted or snapped off is hooked again.
inline void FightFrame(GameApp& app) {
    if (!app.rodHasFish[0] || app.fishingState != FISHING_ROD_IN_HAND) HookFishOnRod1(app);
    app.RunOneFrame();
    plat::AdvanceTickCount(16);
}

}  // namespace fishingbench
