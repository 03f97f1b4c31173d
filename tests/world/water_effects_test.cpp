// Water-surface effects, splash sound slots and the ambient sound ticker.
#include <gtest/gtest.h>
#include <vector>
#include "byte_writer.h"
#include "rand_script.h"
#include "scratch_dir.h"
#include "test_support.h"

namespace {

template <class T> void Step(T& o) {
    plat::AdvanceTickCount(51);
    o.Update();
}

// A started-up game whose splash, bird, crow and background clips are short tones.
struct SoundGame {
    ScratchDir dir;
    HeadlessGame g;
    GameApp& app;
    SoundGame() : app(*g.app) {
        for (const char* f : {"splosh", "bird1", "bird2", "bird3", "bird4", "bird5", "crow", "back"})
            ScratchDir::Write(std::string("sounds/") + f + ".wav", MakeWav(22050, 1, 16, std::vector<int>(2000, 100)));
        app.LoadSounds(nullptr);
    }
};

}  // namespace

TEST(WaterEffects, RingsAndWakesGrowThroughTheirStagesAndEnd) {
    plat::SetFixedTickCount(1000);
    RippleRing ring;
    ring.Start(10, 0, 10, 2);
    EXPECT_FLOAT_EQ(ring.radius, 0.2f);
    EXPECT_EQ(ring.maxRadius, 10);
    const int ringStage[10] = {1, 1, 1, 2, 2, 2, 3, 3, 3, 3};
    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(ring.active, 1) << i;
        Step(ring);
        EXPECT_EQ(ring.stage, ringStage[i]) << i;
        ASSERT_GE(ring.spinAngle, 0);
        ASSERT_LE(ring.spinAngle, 6.284);
    }
    EXPECT_FLOAT_EQ(ring.radius, 10.2f);
    EXPECT_EQ(ring.active, 0);

    // The spin wraps round the full turn either way.
    ring.Start(10, 0, 10, 2);
    ring.spinAngle = 6.25;
    ring.spinUp = 1;
    Step(ring);
    EXPECT_NEAR(ring.spinAngle, 0.026, 1e-5);
    ring.spinAngle = 0.02;
    ring.spinUp = 0;
    Step(ring);
    EXPECT_NEAR(ring.spinAngle, 6.244, 1e-5);

    Wake wake;
    wake.Start(5, -1, 5, 3, 1.5);
    for (int i = 1; i <= 30; ++i) {
        ASSERT_EQ(wake.active, 1) << i;
        Step(wake);
        EXPECT_EQ(wake.stage, i < 10 ? 1 : i < 20 ? 2 : 3) << i;
    }
    EXPECT_EQ(wake.active, 0);
    EXPECT_EQ(wake.heading, 1.5);
}

TEST(WaterEffects, AFeedingBubbleEndsBelowTheSurface) {
    plat::SetFixedTickCount(1000);
    FeedingBubble b;
    b.Start(1, -3, 1, 0.4);
    Step(b);
    EXPECT_FLOAT_EQ(b.y, -2.8f);
    EXPECT_EQ(b.active, 1);
    b.Start(1, -1.3, 1, 0.4);
    Step(b);
    EXPECT_FLOAT_EQ(b.y, -1.1f);
    EXPECT_EQ(b.active, 0);
    EXPECT_EQ(b.surfaced, 1);
    b.Start(1, -3, 1, 0.4);
    EXPECT_EQ(b.surfaced, 0);
}

TEST(WaterEffects, SpawnsTakeTheFirstFreeSlotAndIgnoreAFullPool) {
    HeadlessGame g;
    GameApp& app = *g.app;
    for (int i = 0; i < RIPPLE_RING_COUNT; ++i) app.SpawnRippleRing(float(i), 0, 0, 1);
    app.SpawnRippleRing(-5, 0, 0, 1);
    EXPECT_EQ(app.rippleRings[RIPPLE_RING_COUNT - 1]->x, RIPPLE_RING_COUNT - 1);
    app.rippleRings[7]->active = 0;
    app.SpawnRippleRing(-5, 0, 0, 1);
    EXPECT_EQ(app.rippleRings[7]->x, -5);

    for (int i = 0; i < WAKE_COUNT; ++i) app.SpawnWake(float(i), 0, 0, 1, 2);
    app.SpawnWake(-5, 0, 0, 1, 2);
    EXPECT_EQ(app.wakes[WAKE_COUNT - 1]->x, WAKE_COUNT - 1);
    for (int i = 0; i < FEEDING_BUBBLE_COUNT; ++i) app.SpawnFeedingBubble(i, -2, 0, 0.3);
    app.SpawnFeedingBubble(-5, -2, 0, 0.3);
    EXPECT_EQ(app.feedingBubbles[FEEDING_BUBBLE_COUNT - 1]->x, FEEDING_BUBBLE_COUNT - 1);
}

TEST(SplashSlots, VolumeByDistanceSlotsInTurnAndHeldForTwentyPasses) {
    EXPECT_EQ(SploshVolume(0), 0);
    EXPECT_EQ(SploshVolume(10.01), -500);
    EXPECT_EQ(SploshVolume(99.99), -4999);
    EXPECT_EQ(SploshVolume(150), -5000);

    SoundGame s;
    GameApp& app = s.app;
    ASSERT_NE(app.sploshSounds[4], nullptr);
    for (int i = 0; i < SOUND_SLOT_COUNT; ++i) app.PlaySplosh(-100 * (i + 1));
    for (int i = 0; i < SOUND_SLOT_COUNT; ++i) {
        EXPECT_EQ(app.soundSlots[i]->busy, 1);
        EXPECT_TRUE(app.sploshSounds[i]->IsPlaying());
        EXPECT_EQ(app.sploshSounds[i]->AppliedVolume(), -100 * (i + 1));
    }
    app.sploshSounds[0]->Stop();
    app.PlaySplosh(-50);  // all five busy: silent
    EXPECT_FALSE(app.sploshSounds[0]->IsPlaying());

    for (int pass = 1; pass < 20; ++pass) app.FreeFinishedSoundSlots();
    EXPECT_EQ(app.soundSlots[0]->busy, 1);
    app.FreeFinishedSoundSlots();
    EXPECT_EQ(app.soundSlots[0]->busy, 0);
    app.PlaySplosh(-50);
    EXPECT_EQ(app.soundSlots[0]->busy, 1);
    EXPECT_EQ(app.sploshSounds[0]->AppliedVolume(), -50);

    // Without its clip a slot is still held for its frames.
    delete app.sploshSounds[1];
    app.sploshSounds[1] = nullptr;
    app.PlaySplosh(-50);
    EXPECT_EQ(app.soundSlots[1]->busy, 1);
    EXPECT_EQ(app.soundSlots[1]->framesLeft, 20);
}

TEST(AmbientSound, CallsAreHeldOffForTwentyNineFramesAndSilencedUnderWater) {
    SoundGame s;
    GameApp& app = s.app;
    ASSERT_NE(app.crowSound, nullptr);

    // The crow's chance hits: it plays at a volume from -3000 to -1976 and waits.
    randscript::UseStateWhere(1, [](int, int v) { return v < 100; });
    app.UpdateAmbientSound();
    EXPECT_TRUE(app.crowSound->IsPlaying());
    EXPECT_GE(app.crowSound->AppliedVolume(), -3000);
    EXPECT_LE(app.crowSound->AppliedVolume(), -1976);
    EXPECT_EQ(app.ambientCooldowns[0], 29);
    EXPECT_TRUE(app.ambienceSound->IsLooping());
    EXPECT_EQ(app.ambienceSound->AppliedVolume(), -2000);

    // Its chance hitting on each of the next 29 frames starts nothing.
    for (int frame = 1; frame <= 29; ++frame) {
        randscript::UseStateWhere(1, [](int, int v) { return v < 100; });
        app.UpdateAmbientSound();
        ASSERT_EQ(app.ambientCooldowns[0], 29 - frame) << frame;
    }
    randscript::UseStateWhere(1, [](int, int v) { return v < 100; });
    app.UpdateAmbientSound();
    EXPECT_EQ(app.ambientCooldowns[0], 29);

    // Every call's chance is drawn while it is held off, and only that.
    for (int32_t& c : app.ambientCooldowns) c = 5;
    uint32_t before = plat::GameRandState();
    app.UpdateAmbientSound();
    EXPECT_EQ(randscript::DrawsSince(before), AMBIENT_CALL_COUNT);

    // Under water: the loop drops to -5000, nothing is drawn, the hold-offs stand still; the
    // alarm's hold-off still runs down.
    app.underwater = 1;
    app.alarmRetrigger = 2;
    before = plat::GameRandState();
    app.UpdateAmbientSound();
    EXPECT_EQ(randscript::DrawsSince(before), 0);
    EXPECT_EQ(app.ambientCooldowns[1], 4);
    EXPECT_EQ(app.ambienceSound->AppliedVolume(), -5000);
    EXPECT_EQ(app.alarmRetrigger, 1);
    app.underwater = 0;
    app.UpdateAmbientSound();
    app.UpdateAmbientSound();
    EXPECT_EQ(app.alarmRetrigger, 0);

    // The crow's chance is 100 in 32,768, each bird's 150: draws of 100..149 start only bird 1
    // (its second draw is the volume).
    for (int32_t& c : app.ambientCooldowns) c = 0;
    randscript::UseStateWhere(7, [](int i, int v) { return i == 2 || (i < 2 ? v >= 100 && v < 150 : v >= 150); });
    app.UpdateAmbientSound();
    EXPECT_EQ(app.ambientCooldowns[0], 0);
    EXPECT_EQ(app.ambientCooldowns[1], 29);
    for (int k = 2; k < AMBIENT_CALL_COUNT; ++k) EXPECT_EQ(app.ambientCooldowns[k], 0) << k;
}
