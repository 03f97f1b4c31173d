// A started game standing on the bank of a scripted lake in the fishing screen, with its input
// scripted as key presses and clicks of whole frames.
#pragma once
#include <gtest/gtest.h>
#include <cmath>
#include "platform/headless/headless_backend.h"
#include "scratch_dir.h"
#include "scripted_lake.h"
#include "test_support.h"

namespace fishsession {

// The swims of the scripted bowl: swim n on the rim at angle n * 0.7, facing the centre. Swim 9
// faces just above 0 and swim 8 just below a full turn, where the walks' angle tests wrap.
inline void SwimPosition(int n, float* x, float* z, float* facing) {
    if (n == 9) {
        *x = 100.0f, *z = 45.0f, *facing = 0.02f;  // south rim, looking north
        return;
    }
    if (n == 8) {
        *x = 60.0f, *z = 55.0f, *facing = 6.27f;
        return;
    }
    const double a = n * 0.7;
    *x = static_cast<float>(100 + 56 * std::sin(a));
    *z = static_cast<float>(100 + 56 * std::cos(a));
    *facing = static_cast<float>(std::fmod(a + 3.14159265, 6.28318531));
}

struct FishingGame : ScratchDir, HeadlessGame {
    // A round lake 6 deep in the middle; the water's edge (-0.3) is about 53 units from (100, 100).
    ScriptedLake lake = ScriptedLake::Bowl(100, 100, 60, -6, 1.5f);

    FishingGame() {
        EXPECT_TRUE(Start());
        Device()->recordCallLines = false;
        backend->msPerFrame = 16;
        plat::SetGameRandState(12345);
        app->lakeInitialised = 1;
        app->lakeView = &lake;
        for (int n = 1; n <= SWIM_COUNT; ++n) {
            SwimRecord& s = *app->swims[n - 1];
            SwimPosition(n, &s.x, &s.z, &s.facing);
        }
        app->gameMode = MODE_FISHING;
        app->eyeY = 2.0;
        app->pitch = 6.4;
        app->fishingState = FISHING_ROAMING;
    }

    GameApp& App() { return *app; }

    // Frames with the device's record holding the last frame only.
    void Frames(int n) {
        for (int i = 0; i < n; ++i) {
            Device()->ClearLog();
            app->RunOneFrame();
        }
    }

    // The angler standing where going fishing puts him at `swim`, F already allowed.
    void StandAt(int swim) {
        app->currentSwim = swim;
        const SwimRecord& s = *app->swims[swim - 1];
        app->eyeX = static_cast<float>(s.x + std::sin(s.facing + 3.5f) * 4.0f);
        app->eyeZ = static_cast<float>(s.z + std::cos(s.facing + 3.5f) * 4.0f);
        app->heading = s.facing;
        app->arrivalCountdown = 0;
        app->inputLock = 0;
    }

    // The key held for `frames` frames, released, and the lock let run out.
    void Tap(plat::KeyId key, int frames = 1) {
        backend->QueueKey(key, true);
        Frames(frames);
        backend->QueueKey(key, false);
        Frames(1);
        UnlockInput();
    }
    // A left click held for one frame.
    void Click() {
        backend->QueueMouseButton(0, true);
        Frames(1);
        backend->QueueMouseButton(0, false);
        Frames(1);
        UnlockInput();
    }
    // Frames until the input lock has run out (at most 2 s).
    void UnlockInput() {
        for (int i = 0; i < 130 && app->inputLock != 0; ++i) Frames(1);
    }
    // Frames until `done` holds, at most `limit`; true when it held.
    template <class Done>
    bool FramesUntil(Done done, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Frames(1);
        }
        return done();
    }

    // At swim 1 with rod 1 being aimed: F and the walk to the pod.
    void SetUpAtSwim(int swim = 1) {
        StandAt(swim);
        Frames(1);
        Tap(plat::KeyId::F);
        ASSERT_TRUE(FramesUntil([&] { return app->fishingState == FISHING_CASTING_ROD1; }));
    }
    // Both rods cast at the aim straight out, both landed.
    void CastBoth() {
        Frames(2);  // the aim step has placed the aim point
        Click();
        ASSERT_TRUE(FramesUntil([&] { return app->castFlight[0] == 0; }));
        Click();
        ASSERT_TRUE(FramesUntil([&] { return app->fishingState == FISHING_BOTH_RODS_OUT; }));
    }
};

}  // namespace fishsession
