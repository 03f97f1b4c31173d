// Duck mode on the headless backend: the speed and look on the 100-ms duck step, land, water and
// diving, splashes and quacks, a long steered swim against the bank lines and the hut, the bank
// test where it would divide by zero, and X back to the map.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <vector>
#include "byte_writer.h"
#include "scratch_dir.h"
#include "screens/duck/duck_banks.h"
#include "scripted_lake.h"
#include "test_support.h"

namespace {

// Water inside a circle of 60 round (100, 100), 1 deep; banks 0.4 high beyond.
float PondHeight(double x, double z) { return std::hypot(x - 100, z - 100) < 60 ? -1.0f : 0.4f; }

// A started game in duck mode, entered from the map, on the pond; every frame is drawn with
// real input through the game's frame.
struct DuckGame : ScratchDir, HeadlessGame {
    ScriptedLake pond;

    DuckGame() {
        for (const char* clip : {"sounds/button.wav", "sounds/splash.wav", "sounds/duck.wav", "sounds/duckfoot.wav"})
            Write(clip, MakeWav(22050, 1, 16, {1, 2}));
        EXPECT_TRUE(Start());
        plat::GameSrand(7);
        backend->msPerFrame = 0;
        Device()->recordCallLines = false;
        pond.height = PondHeight;
        app->lakeView = &pond;
        app->lakeInitialised = 1;
        app->gameMode = MODE_MAP;
        app->eyeY = 120.0;  // a map zoom that leaving duck mode must not restore
        app->EnterDuckMode();
        EXPECT_EQ(app->gameMode, MODE_DUCK);
        app->inputLock = 0;
    }
    GameApp& App() { return *app; }
    // One frame `ms` after the last one (101: a duck step in every frame).
    void Frame(uint32_t ms = 101) {
        plat::AdvanceTickCount(ms);
        Device()->ClearLog();
        app->RunOneFrame();
    }
    // Whether the clip was played since the last look (it is stopped and rewound again).
    static bool Played(plat::SoundClip* clip) {
        const bool played = clip->IsPlaying();
        clip->Stop();
        clip->Rewind();
        return played;
    }
    void Button(int button, bool down) { backend->QueueMouseButton(button, down); }
    void Key(plat::KeyId key, bool down) { backend->QueueKey(key, down); }
};

// Perpendicular distance of (x, z) from the line through a and b, negative on the lake's side.
double SideOfLine(double ax, double az, double bx, double bz, double x, double z) {
    const double dx = bx - ax, dz = bz - az;
    return ((x - ax) * dz - (z - az) * dx) / std::hypot(dx, dz) * (((100 - ax) * dz - (100 - az) * dx) > 0 ? -1 : 1);
}

}  // namespace

TEST(DuckMode, SpeedRisesAndFallsOnTheDuckStepAndTheMouseLookIsLostBetweenSteps) {
    DuckGame g;
    GameApp& app = g.App();
    app.pitch = 6.2831853;
    g.Button(1, true);  // right button: forward
    std::vector<float> speeds;
    for (int i = 0; i < 7; ++i) {
        g.Frame();
        speeds.push_back(static_cast<float>(app.moveSpeed));
    }
    g.Button(1, false);
    for (int i = 0; i < 3; ++i) {
        g.Frame();
        speeds.push_back(static_cast<float>(app.moveSpeed));
    }
    // Six steps of 0.05 to 0.3 with no decay while held; then a third off a step until below 0.1.
    const std::vector<float> expected{0.05f, 0.1f, 0.15f, 0.2f, 0.25f, 0.3f, 0.3f, 0.2f, 0.13333334f, 0.0f};
    ASSERT_EQ(speeds.size(), expected.size());
    for (size_t i = 0; i < speeds.size(); ++i) EXPECT_FLOAT_EQ(speeds[i], expected[i]) << "step " << i;

    // Between duck steps the duck stands still and mouse movement is lost; arrows turn every frame.
    app.moveSpeed = 0.3;
    g.Button(1, true);
    g.Frame();
    const double x = app.eyeX, z = app.eyeZ, heading = app.heading;
    g.backend->QueueMouseMotion(40, 0);
    g.Key(plat::KeyId::Left, true);
    g.Frame(30);
    EXPECT_EQ(app.eyeX, x);
    EXPECT_EQ(app.eyeZ, z);
    EXPECT_FLOAT_EQ(static_cast<float>(app.heading), static_cast<float>(heading - 0.05));
    g.Key(plat::KeyId::Left, false);
    g.Frame(30);
    g.Frame(101);  // the next step turns by this frame's mouse movement only (none)
    EXPECT_FLOAT_EQ(static_cast<float>(app.heading), static_cast<float>(heading - 0.05));
    EXPECT_NE(app.eyeX, x);
}

TEST(DuckMode, WaddlesOnLandSwimsDivesAndSplashesOncePerEntryIntoTheWater) {
    DuckGame g;
    GameApp& app = g.App();
    // On the bank at 0.4: the eye 1.25 above it.
    app.pitch = 6.2;  // looking a little up: swimming, not diving
    g.Frame();
    EXPECT_FLOAT_EQ(static_cast<float>(app.eyeY), 1.65f);
    EXPECT_EQ(app.duckOnLand, 1);
    g.Played(app.splashSound);

    // Walk north-east into the pond and out again, twice: one splash each time in.
    auto walkTo = [&](double x, double z) {
        app.eyeX = x;
        app.eyeZ = z;
        g.Frame();
        return g.Played(app.splashSound);
    };
    EXPECT_TRUE(walkTo(100, 45));    // water (55 from the middle)
    EXPECT_FALSE(walkTo(100, 46));
    EXPECT_FLOAT_EQ(static_cast<float>(app.eyeY), 0.3f);
    EXPECT_FALSE(walkTo(100, 38));   // land
    EXPECT_TRUE(walkTo(100, 45));

    // Looking down past level dives to -0.2 behind a sheet of water; no quacks under water.
    app.textures[TEX_WATER3] = StandInTexture(g.Device(), "water3.tga");
    app.pitch = 6.5;
    g.Played(app.quackSound);
    int quacks = 0, sheets = 0;
    for (int i = 0; i < 200; ++i) {
        g.Frame();
        quacks += g.Played(app.quackSound);
        const plat::DrawRecord& last = g.Device()->draws.back();  // the sheet comes after the water
        sheets += FileOf(last) == "water3.tga" && last.alphaRef == 0;
        EXPECT_EQ(app.underwater, 1);
        EXPECT_EQ(app.waterSurfaceVisible, 0);
    }
    EXPECT_FLOAT_EQ(static_cast<float>(app.eyeY), -0.2f);
    EXPECT_EQ(quacks, 0);
    EXPECT_EQ(sheets, 200);
    // Looking up again surfaces on the next duck step; at the surface the duck quacks now and then.
    app.pitch = 6.2;
    for (int i = 0; i < 200; ++i) {
        g.Frame();
        quacks += g.Played(app.quackSound);
    }
    EXPECT_FLOAT_EQ(static_cast<float>(app.eyeY), 0.3f);
    EXPECT_EQ(app.underwater, 0);
    EXPECT_GT(quacks, 0);
}

// The duck steered by the mouse with the right button held toward points beyond its bank lines,
// into the hut and into the corners: it never crosses a line, never comes within 1.5 of one or
// within 2.5 of the hut and never leaves 2..198.
TEST(DuckMode, ALongSteeredSwimNeverCrossesTheBanksOrEntersTheHut) {
    DuckGame g;
    GameApp& app = g.App();
    const double targets[][2] = {{0, 70},  {25, 24},  {-5, -5}, {60, 0},   {135, -5}, {200, 60},
                                 {205, 205}, {113, 205}, {57.5, 114}, {166, 55}, {25, 24}, {100, 100}};
    g.Button(1, true);
    for (const auto& t : targets) {
        for (int step = 0; step < 250; ++step) {
            double turn = std::atan2(t[0] - app.eyeX, t[1] - app.eyeZ) - app.heading;
            turn = std::remainder(turn, 2 * M_PI);
            const int dx = static_cast<int>(std::lround(std::fmax(-150.0, std::fmin(150.0, turn * 100))));
            if (dx != 0) g.backend->QueueMouseMotion(dx, 0);
            g.Frame();
            SCOPED_TRACE(testing::Message() << "toward (" << t[0] << ", " << t[1] << ") step " << step << " at ("
                                            << app.eyeX << ", " << app.eyeZ << ")");
            ASSERT_TRUE(app.eyeX >= 2 && app.eyeX <= 198 && app.eyeZ >= 2 && app.eyeZ <= 198);
            ASSERT_LT(SideOfLine(2, 30, 113, 198, app.eyeX, app.eyeZ), -1.45);
            ASSERT_LT(SideOfLine(198, 109, 135, 2, app.eyeX, app.eyeZ), -1.45);
            ASSERT_GT(std::hypot(app.eyeX - 25, app.eyeZ - 24), 2.5);
        }
    }
}

// Where the bank test has a cosine past 1 (on a line) or no angle at all (on a line's second end,
// at distance 0), the step is undone like any other that comes too close.
TEST(DuckMode, AStepOntoALineOrItsEndIsUndoneWithoutANaN) {
    EXPECT_EQ(DuckBankDistance(113, 198), 0.0f);
    EXPECT_EQ(DuckBankDistance(135, 2), 0.0f);
    EXPECT_EQ(DuckBankDistance(57.5, 114), 0.0f);  // halfway along the first line
    EXPECT_NEAR(DuckBankDistance(100, 100),
                std::min(std::fabs(SideOfLine(2, 30, 113, 198, 100, 100)), std::fabs(SideOfLine(198, 109, 135, 2, 100, 100))),
                0.01);

    DuckGame g;
    GameApp& app = g.App();
    struct Jump {
        double fromX, fromZ, heading, length;  // landing on (113, 198), (135, 2) or the line's middle
    } jumps[] = {{113, 190, 0.0, 10}, {135, 10, M_PI, 10}, {61.5, 114, 4.71238898, 4}};
    g.Button(1, true);
    for (const Jump& j : jumps) {
        SCOPED_TRACE(testing::Message() << "from (" << j.fromX << ", " << j.fromZ << ")");
        app.eyeX = j.fromX;
        app.eyeZ = j.fromZ;
        app.heading = j.heading;
        app.pitch = 6.2831853;
        app.moveSpeed = j.length;  // held by the button: one step of this length
        g.Frame();
        EXPECT_EQ(app.eyeX, j.fromX);
        EXPECT_EQ(app.eyeZ, j.fromZ);
    }
}

TEST(DuckMode, XReturnsToTheMapsHighestViewWhateverTheZoomButNotWithBinoculars) {
    DuckGame g;
    GameApp& app = g.App();
    g.Frame();
    app.binocularState = 1;
    g.Key(plat::KeyId::X, true);
    g.Frame();
    EXPECT_EQ(app.gameMode, MODE_DUCK);
    app.binocularState = 0;
    g.Frame();
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(app.inputLock, 9);
    EXPECT_EQ(app.eyeX, 100.0);
    EXPECT_EQ(app.eyeY, 350.0);
    EXPECT_EQ(app.eyeZ, 92.0);
    EXPECT_EQ(app.waterSurfaceVisible, 1);
    const plat::DeviceState& s = g.Device()->State();
    EXPECT_TRUE(s.lightEnabled[LIGHT_MAP]);
    EXPECT_FALSE(s.lightEnabled[LIGHT_LAKESIDE]);
}
