// A fishing table for tests: a started headless game at the lake on a scripted bed, with helpers
// to place fish, cast rods and run the school pass without chance spawns.
#pragma once
#include <gtest/gtest.h>
#include "fishing/school/bait_attraction.h"
#include "platform/system.h"
#include "rand_script.h"
#include "scripted_lake.h"
#include "test_support.h"

// A started headless game at the lake with no fish and no bait items yet, on a flat bed 3 deep;
// the clock is frozen so that fish and items do not tick unless a test moves it on.
struct FishingTable : HeadlessGame {
    ScriptedLake lake;
    GameApp& app;

    FishingTable() : HeadlessGame(50000), app(*HeadlessGame::app) {
        EXPECT_TRUE(Start());
        app.lakeView = &lake;
        app.gameMode = MODE_FISHING;
        app.fishingState = FISHING_BOTH_RODS_OUT;
        app.eyeX = 20;
        app.eyeY = 2;
        app.eyeZ = 20;
        plat::SetFixedTickCount(50000);
    }
    ~FishingTable() { app.lakeView = &app.gameLakeView; }

    // The next free fish, cruising at (x, y, z) with a heading; its clock is the frozen one.
    Fish& AddFish(double x, double y, double z, double heading = 0) {
        app.SpawnFish(x, y, z, 20, 15, heading, 28, 30);
        for (int i = FISH_COUNT - 1; i >= 0; --i)
            if (app.fish[i]->active) {
                app.fish[i]->lastTick = plat::GetTickCount();
                return *app.fish[i];
            }
        return *app.fish[0];
    }
    int Index(const Fish& f) const {
        for (int i = 0; i < FISH_COUNT; ++i)
            if (app.fish[i] == &f) return i;
        return -1;
    }
    // Rod `rod` fishing with a hook bait at (x, z), its hook at height y.
    BaitAttraction& CastRod(int rod, double x, double z, double y, int32_t method = 4) {
        app.method = method;
        const int32_t item = app.SpawnBaitAttraction(static_cast<float>(x), 0, static_cast<float>(z), BAIT_HOOK, method,
                                                     10, 2, 10, 8, 1);
        app.rodBaitItem[rod] = item;
        app.rodInWater[rod] = 1;
        app.hookBaitPos[rod][0] = x;
        app.hookBaitPos[rod][1] = z;
        app.hookBaitHeight[rod] = y;
        return *app.baitAttractions[item];
    }
    // One pass with no natural feed spot appearing (their draws are the pass's first six).
    void Pass() {
        randscript::UseStateWhere(6, [](int, int r) { return r >= 10; }, plat::GameRandState() + 1);
        app.UpdateFishSchool();
    }
};

