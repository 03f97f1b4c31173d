// The map screen's input step: tackle buttons and their cycles, choices, the swim pick, the orbit
// view's keys, the pan pad and the ways off the map.
#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <tuple>
#include <vector>
#include "platform/d3dx.h"
#include "lake_fixture.h"
#include "map_fixture.h"

using mapfix::MapGame;

namespace {

// Everything a map click may change, for "this and nothing else" checks.
auto Snapshot(const GameApp& a) {
    return std::make_tuple(a.rodReel, a.method, a.mainlineLb, a.leadOz, a.hooklengthLb, a.hookSize, a.wagglerShot,
                           a.floatDepth, a.controllerOz, a.hookBait, a.groundbait, a.currentSwim, a.gameMode, a.eyeX,
                           a.eyeY, a.eyeZ, a.orbitView);
}

// The middle of a recorded panel picture (the flat 2 x 2 quad) on the picture: of its corners' bounds.
PicturePoint MiddleOnPicture(const plat::DrawRecord& d) {
    double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
    for (float x : {-1.0f, 1.0f})
        for (float z : {-1.0f, 1.0f}) {
            const PicturePoint p = OnPicture(d, x, 0, z);
            left = std::min(left, p.x);
            right = std::max(right, p.x);
            top = std::min(top, p.y);
            bottom = std::max(bottom, p.y);
        }
    return {(left + right) / 2, (top + bottom) / 2};
}

}  // namespace

// Each of the map's 37 button pictures, found in a drawn frame by its texture and its scale on the
// panel, clicked in its middle as a player would: the pointer on the picture, the button pressed
// for a frame and released, through the whole input path. Hovering there first does nothing.
TEST(MapInput, AClickOnTheMiddleOfEachButtonPictureActsOnThatButton) {
    enum Does { CHOOSE, ZOOM, RECENTRE, OPENS, CONTOURS };
    struct ButtonPicture {
        const char* file;
        float sx, sz;  // the picture's scale on the panel
        int nth;       // which of the pictures with this texture and scale, in drawing order
        Does does;
        int32_t GameApp::*member;  // CHOOSE: the member set ...
        int32_t value;             // ... to this; ZOOM: the zoom height; OPENS: the mode
    };
    const ButtonPicture buttons[] = {
        {"mode.bmp", 0.35f, 0.33f, 0, OPENS, nullptr, MODE_FISHING},
        {"mode.bmp", 0.35f, 0.33f, 1, OPENS, nullptr, MODE_INSTRUCTIONS},
        {"mode.bmp", 0.24f, 0.2f, 0, OPENS, nullptr, MODE_TOUR},
        {"mode.bmp", 0.24f, 0.2f, 1, OPENS, nullptr, MODE_DUCK},
        {"mode.bmp", 0.15f, 0.15f, 0, ZOOM, nullptr, 350},
        {"mode.bmp", 0.15f, 0.15f, 1, ZOOM, nullptr, 200},
        {"mode.bmp", 0.15f, 0.15f, 2, ZOOM, nullptr, 80},
        {"mode.bmp", 0.15f, 0.15f, 3, ZOOM, nullptr, 30},
        {"move.bmp", 0.3f, 0.3f, 0, RECENTRE, nullptr, 0},
        {"reel1.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::rodReel, 1},
        {"reel2.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::rodReel, 2},
        {"reel3.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::rodReel, 3},
        {"reel4.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::rodReel, 4},
        {"boilie1.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 1},
        {"boilie2.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 2},
        {"popup1.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 3},
        {"popup2.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 4},
        {"pellets.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 5},
        {"tigers.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 6},
        {"meat.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 8},
        {"corn.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 9},
        {"maggot.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 10},
        {"casters.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 11},
        {"worms.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 12},
        {"bread.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::hookBait, 13},
        {"mgbait.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::groundbait, 1},
        {"fgbait.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::groundbait, 2},
        {"hemp.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::groundbait, 3},
        {"mode.bmp", 0.45f, 0.18f, 0, OPENS, nullptr, MODE_STOCKING_RECORDS},
        {"mode.bmp", 0.45f, 0.18f, 1, CONTOURS, nullptr, 0},
        {"inline.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 1},
        {"ledger.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 2},
        {"method.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 3},
        {"feeder.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 4},
        {"float.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 5},
        {"controler.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 6},
        {"hook1.bmp", 0.15f, 0.15f, 0, CHOOSE, &GameApp::method, 7},
    };
    static_assert(sizeof buttons / sizeof buttons[0] == 37, "the panel's button pictures");

    // Their middles in a frame the game drew (at zoom height 350; the panel hangs under the eye, so
    // they stand there at every zoom and pan).
    std::vector<PicturePoint> middles;
    {
        MapGame g;
        g.Device()->ClearLog();
        g.Frames(1);
        for (const ButtonPicture& b : buttons) {
            std::vector<const plat::DrawRecord*> found;
            for (const plat::DrawRecord* d : g.DrawsOf(b.file))
                if (std::fabs(d->world.m[0][0] - b.sx) < 1e-4f && std::fabs(d->world.m[2][2] - b.sz) < 1e-4f)
                    found.push_back(d);
            ASSERT_GT(found.size(), static_cast<size_t>(b.nth)) << b.file << " " << b.sx;
            middles.push_back(MiddleOnPicture(*found[b.nth]));
        }
    }

    std::unique_ptr<MapGame> g;
    for (size_t i = 0; i < std::size(buttons); ++i) {
        const ButtonPicture& b = buttons[i];
        const int32_t x = static_cast<int32_t>(std::lround(middles[i].x));
        const int32_t y = static_cast<int32_t>(std::lround(middles[i].y));
        SCOPED_TRACE(testing::Message() << b.file << " " << b.sx << " #" << b.nth << " at " << x << ", " << y);
        if (!g || g->App().gameMode != MODE_MAP || g->App().orbitView) {
            g.reset();  // one game at a time
            g = std::make_unique<MapGame>();
            g->Device()->recordDraws = g->Device()->recordCallLines = false;
        }
        GameApp& app = g->App();
        // Something other than what the button sets before, what the click must leave after
        // (nothing else changed); the pan pad's middle centres a map that is off the centre.
        const int32_t other = b.does == ZOOM ? (b.value == 350 ? 200 : 350) : b.value == 1 ? 2 : 1;
        auto set = [&](int32_t v) {
            if (b.does == CHOOSE) app.*b.member = v;
            if (b.does == ZOOM) app.eyeY = v;
        };
        set(b.value);
        app.eyeX = 100;
        app.eyeZ = 92;
        const auto wanted = Snapshot(app);
        set(other);
        if (b.does == RECENTRE) {
            app.eyeX = 120;
            app.eyeZ = 80;
        }
        const auto before = Snapshot(app);

        g->backend->MoveCursor(x, y);  // the button up: nothing happens
        g->Frames(1);
        EXPECT_EQ(Snapshot(app), before) << "on hover";

        g->ClickPicture(x, y);
        switch (b.does) {
            case CHOOSE:
            case ZOOM:
            case RECENTRE: EXPECT_EQ(Snapshot(app), wanted); break;
            case OPENS: EXPECT_EQ(app.gameMode, b.value); break;
            case CONTOURS:
                EXPECT_EQ(app.gameMode, MODE_MAP);
                EXPECT_TRUE(app.orbitView);
                break;
        }
        g->LetLockRunOut();
    }
}

TEST(MapInput, RigRowStepsThePartOfTheCurrentMethodUnderEachButton) {
    MapGame g;
    GameApp& app = g.App();
    struct Case {
        int32_t method;
        float kx;
        int32_t GameApp::*field;  // null: the controller weight
        double before, after;     // before == after: the button does nothing for this method
    } cases[] = {
        // Each part's cycle and wrap; the chod rig (3) has its own order; some buttons are idle.
        {1, 4.05f, &GameApp::mainlineLb, 16, 10},   {1, 2.48f, &GameApp::leadOz, 4, 1},
        {1, 2.13f, &GameApp::hooklengthLb, 12, 13}, {1, 1.78f, &GameApp::hookSize, 4, 10},
        {4, 1.78f, &GameApp::hookSize, 10, 8},      {3, 4.05f, &GameApp::hooklengthLb, 16, 10},
        {3, 2.6f, &GameApp::hookSize, 8, 6},        {3, 2.01f, &GameApp::mainlineLb, 10, 11},
        {5, 2.48f, &GameApp::wagglerShot, 4, 1},    {5, 2.13f, &GameApp::floatDepth, 4, 1},
        {6, 2.48f, nullptr, 2.0, 0.5},              {6, 2.48f, nullptr, 1.0, 1.5},
        {7, 2.48f, &GameApp::leadOz, 2, 2},         {1, 2.01f, &GameApp::mainlineLb, 10, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << " kx " << c.kx);
        app.method = c.method;
        auto set = [&](double v) {
            if (c.field) app.*c.field = static_cast<int32_t>(v);
            else app.controllerOz = v;
        };
        set(c.after);
        const auto expected = Snapshot(app);
        set(c.before);
        g.Silence();
        g.Click(c.kx, 1.08f);
        EXPECT_EQ(Snapshot(app), expected);
        const bool acts = c.before != c.after;
        EXPECT_EQ(app.inputLock, acts ? 3 : 0);
        EXPECT_EQ(g.ClickPlayed(), acts);
    }

    // A click through the whole input path on the middle of each value drawn in the tackle row
    // steps that value. The game's face at 16 pixels averages about 6 pixels a character ("11 lb"
    // is 28 wide, "size 8" 32, "2 x AAA" 45).
    struct Drawn {
        int32_t method;
        const char* text;
        int32_t GameApp::*field;  // null: the controller weight
        double after;
    } drawn[] = {
        {1, "11 lb", &GameApp::mainlineLb, 12}, {1, "2 oz", &GameApp::leadOz, 3},
        {1, "13 lb", &GameApp::hooklengthLb, 14}, {1, "size 8", &GameApp::hookSize, 6},
        {3, "13 lb", &GameApp::hooklengthLb, 14}, {3, "size 8", &GameApp::hookSize, 6},
        {3, "11 lb", &GameApp::mainlineLb, 12}, {3, "2 oz", &GameApp::leadOz, 3},
        {5, "2 x AAA", &GameApp::wagglerShot, 4}, {5, "Deep", &GameApp::floatDepth, 4},
        {6, "1.0 oz", nullptr, 1.5},              {6, "13 lb", &GameApp::hooklengthLb, 14},
        {7, "11 lb", &GameApp::mainlineLb, 12},  {7, "size 8", &GameApp::hookSize, 6},
    };
    g.Device()->recordDraws = g.Device()->recordCallLines = false;
    for (const Drawn& c : drawn) {
        SCOPED_TRACE(testing::Message() << "method " << c.method << " \"" << c.text << '"');
        std::tie(app.method, app.mainlineLb, app.hooklengthLb, app.leadOz, app.hookSize, app.wagglerShot,
                 app.floatDepth, app.controllerOz) = std::make_tuple(c.method, 11, 13, 2, 8, 3, 3, 1.0);
        auto set = [&](double v) {
            if (c.field) app.*c.field = static_cast<int32_t>(v);
            else app.controllerOz = v;
        };
        const double before = c.field ? app.*c.field : app.controllerOz;
        set(c.after);
        const auto expected = Snapshot(app);
        set(before);
        g.Device()->ClearLog();
        g.Frames(1);
        const plat::TextRecord* t = g.Text(c.text);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->rect.top, mapfix::Top(87.0));
        g.ClickPicture(t->rect.left + 3 * static_cast<int32_t>(std::strlen(c.text)), t->rect.top + t->fontHeight / 2);
        EXPECT_EQ(Snapshot(app), expected);
        g.LetLockRunOut();
    }
}

TEST(MapInput, ChoiceButtonsSetTheirValueClickOnlyOnChangeAndAlwaysLock) {
    MapGame g;
    GameApp& app = g.App();
    struct Choice {
        int32_t GameApp::*member;  // null: the zoom height
        int32_t value;
        float kx, ky;
    } choices[] = {  // the ends of each group of buttons
        {&GameApp::method, 1, 30, 1.31f},         {&GameApp::method, 7, 19, 1.11f},
        {&GameApp::hookBait, 1, 1.08f, 3.9f},     {&GameApp::hookBait, 6, 1.08f, 2.05f},
        {&GameApp::hookBait, 8, 1.04f, 3.9f},     {&GameApp::hookBait, 13, 1.04f, 2.05f},
        {&GameApp::groundbait, 1, 1.08f, 1.285f}, {&GameApp::groundbait, 3, 1.06f, 1.21f},
        {&GameApp::rodReel, 1, 1.52f, 1.09f},     {&GameApp::rodReel, 4, 1.44f, 1.05f},
        {nullptr, 350, 35, 5.6f},                 {nullptr, 30, 13, 4.25f},
    };
    for (const Choice& c : choices) {
        SCOPED_TRACE(testing::Message() << "value " << c.value << " at " << c.kx << ", " << c.ky);
        auto set = [&](int32_t v) {
            if (c.member) app.*c.member = v;
            else app.eyeY = v;
        };
        set(c.value == 3 ? 2 : 3);  // something else first
        set(c.value);
        const auto expected = Snapshot(app);
        set(c.value == 3 ? 2 : 3);
        g.Silence();
        g.Click(c.kx, c.ky);
        EXPECT_EQ(Snapshot(app), expected);
        EXPECT_EQ(app.inputLock, 3);
        EXPECT_TRUE(g.ClickPlayed());

        g.Silence();  // the same value again: no click, still a lock
        g.Click(c.kx, c.ky);
        EXPECT_EQ(Snapshot(app), expected);
        EXPECT_EQ(app.inputLock, 3);
        EXPECT_FALSE(g.ClickPlayed());
    }
}

TEST(MapInput, SwimPickTakesTheNearestWithin25AndTiesKeepTheLowerNumber) {
    MapGame g;
    GameApp& app = g.App();
    for (int n = 0; n < SWIM_COUNT; ++n) *app.swims[n] = {190.0f, 20.0f * n, 0.0f};  // out of the way
    *app.swims[3] = {100, 100, 0};  // swim 4
    *app.swims[6] = {112, 100, 0};  // swim 7
    struct Case {
        int32_t column, row;  // the cell under the mouse: point (2 column, 200 - 2 row)
        uint8_t overMap;
        int32_t swim;  // 0: none picked
    } cases[] = {
        {53, 50, 1, 4},  // (106, 100): 6 from both
        {54, 50, 1, 7},  // (108, 100): 8 and 4
        {50, 45, 1, 4},  // (100, 110)
        {50, 38, 1, 4},  // (100, 124): 24 from swim 4
        {80, 50, 1, 0},  // (160, 100): 48 from swim 7
        {53, 50, 0, 0},  // off the map rectangle
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << ", " << c.row);
        app.currentSwim = 1;
        app.mapCursorColumn = c.column;
        app.mapCursorRow = c.row;
        app.cursorOverMap = c.overMap;
        g.Silence();
        g.Press(400, 300);  // on the map, clear of every button
        EXPECT_EQ(app.currentSwim, c.swim ? c.swim : 1);
        EXPECT_EQ(app.inputLock, c.swim ? 3 : 0);
        EXPECT_EQ(g.ClickPlayed(), c.swim != 0);
    }
    // 25 away is too far; picking the swim already chosen locks without a click.
    app.mapCursorColumn = 50;
    app.mapCursorRow = 50;
    app.cursorOverMap = 1;
    app.currentSwim = 7;
    for (float z : {75.0f, 76.0f}) {
        *app.swims[3] = {100, 125, 0};
        *app.swims[6] = {100, z, 0};
        g.Silence();
        g.Press(400, 300);
        EXPECT_EQ(app.currentSwim, 7);
        EXPECT_EQ(app.inputLock, z == 75 ? 0 : 3);
        EXPECT_FALSE(g.ClickPlayed());
    }
}

TEST(MapInput, OrbitKeysSpeedUpWhileHeldFallBackAfterThreeIdleCallsAndWrap) {
    MapGame g;
    GameApp& app = g.App();
    app.orbitView = 1;
    InputDeviceState left{}, up{}, none{}, plus{}, minus{};
    left.keyLeft = 1;
    up.keyUp = 1;
    plus.keyEquals = 1;
    minus.keyMinus = 1;

    g.Keys(left);
    EXPECT_FLOAT_EQ(app.orbitAngle, 3.147f);
    EXPECT_FLOAT_EQ(app.orbitTurnSpeed, 0.015f);
    EXPECT_EQ(app.orbitHoldFrames, 3);
    for (int i = 0; i < 80; ++i) g.Keys(left);
    EXPECT_GE(app.orbitTurnSpeed, 0.5);
    EXPECT_LT(app.orbitTurnSpeed, 0.51);  // stops rising once it reaches 0.5
    for (int i = 0; i < 60; ++i) g.Keys(up);
    EXPECT_GE(app.orbitClimbSpeed, 15.0);
    EXPECT_LT(app.orbitClimbSpeed, 15.5);
    EXPECT_EQ(app.orbitHeight, 500);  // clamped
    EXPECT_TRUE(app.orbitView);

    g.Keys(none);
    g.Keys(none);
    EXPECT_GE(app.orbitTurnSpeed, 0.5);
    g.Keys(none);
    EXPECT_EQ(app.orbitTurnSpeed, 0.005);
    EXPECT_EQ(app.orbitClimbSpeed, 1.0);

    for (int i = 0; i < 40; ++i) g.Keys(plus);
    EXPECT_EQ(app.orbitZoom, 20);
    for (int i = 0; i < 40; ++i) g.Keys(minus);
    EXPECT_EQ(app.orbitZoom, 4);

    app.orbitAngle = -0.1;
    g.Keys(none);
    EXPECT_FLOAT_EQ(app.orbitAngle, 6.184f);
    app.orbitAngle = 6.3;
    g.Keys(none);
    EXPECT_NEAR(app.orbitAngle, 0.016, 1e-5);
    app.orbitHeight = 2;
    g.Keys(none);
    EXPECT_EQ(app.orbitHeight, 5);
    EXPECT_EQ(app.eyeX, 100);  // the orbit keys never pan the map
}

TEST(MapInput, LeavingTheOrbitViewResetsItAndGoesOnWithTheOverheadStep) {
    MapGame g;
    GameApp& app = g.App();
    app.orbitView = 1;
    app.orbitHeight = 300;
    app.orbitZoom = 12;
    app.orbitClimbSpeed = 9;
    g.Draw(400, 300);  // the orbit view's own projection
    InputDeviceState right{};
    right.keyRight = 1;
    g.Silence();
    g.Click(2, 1.1f, right);  // "Click here to play"
    EXPECT_FALSE(app.orbitView);
    EXPECT_EQ(app.orbitHeight, 50);
    EXPECT_EQ(app.orbitZoom, 4);
    EXPECT_EQ(app.orbitClimbSpeed, 1.0);
    EXPECT_EQ(app.eyeX, 101);  // the same call pans the overhead map
    EXPECT_EQ(app.inputLock, 0);
    EXPECT_FALSE(g.ClickPlayed());
    plat::Matrix quarter;
    plat::MatrixPerspectiveFovLH(&quarter, 0.7853982f, 800.0f / 600.0f, 1.0f, 5000.0f);
    EXPECT_EQ(std::memcmp(&g.Device()->State().projection, &quarter, sizeof quarter), 0);

    g.Click(2, 1.1f);  // on the overhead map the same place does nothing
    EXPECT_FALSE(app.orbitView);
    EXPECT_EQ(app.inputLock, 0);
}

TEST(MapInput, PanPadPansWhileHeldWithThePanSoundAndRecentresWithAClick) {
    MapGame g;
    GameApp& app = g.App();
    struct Arrow {
        float kx, ky;
        double dx, dz;
    } arrows[] = {{20, 3.35f, 0, 1},   {20, 2.85f, 0, -1}, {29, 3.06f, -1, 0},  {14, 3.06f, 1, 0},
                  {29, 2.85f, -1, -1}, {14, 2.85f, 1, -1}, {14, 3.35f, 1, 1},   {29, 3.35f, -1, 1}};
    for (const Arrow& a : arrows) {
        SCOPED_TRACE(testing::Message() << a.kx << ", " << a.ky);
        app.eyeX = 100;
        app.eyeZ = 92;
        g.Silence();
        g.Click(a.kx, a.ky);
        g.Click(a.kx, a.ky);  // held: every call pans again
        EXPECT_EQ(app.eyeX, 100 + 2 * a.dx);
        EXPECT_EQ(app.eyeZ, 92 + 2 * a.dz);
        EXPECT_EQ(app.inputLock, 0);
        EXPECT_TRUE(g.PanPlayed());
        EXPECT_FALSE(g.ClickPlayed());
    }
    g.Silence();
    g.Click(19, 3.06f);
    EXPECT_EQ(app.eyeX, 100);
    EXPECT_EQ(app.eyeZ, 92);
    EXPECT_TRUE(g.ClickPlayed());
    EXPECT_FALSE(g.PanPlayed());
    g.Silence();
    g.Click(19, 3.06f);  // already centred
    EXPECT_FALSE(g.ClickPlayed());

    InputDeviceState keys{};
    keys.keyLeft = keys.keyUp = 1;
    g.Keys(keys);
    EXPECT_EQ(app.eyeX, 99);
    EXPECT_EQ(app.eyeZ, 93);
}

TEST(MapInput, ExitsSetTheirModeTextureSetLightsEyeAndLock) {
    struct Exit {
        const char* what;
        float kx, ky;
        int32_t mode, lock;
        bool lakeSet, clicks;
        double eyeX, eyeY, eyeZ;
    } exits[] = {
        // swim 3 (facing 0): the eye 4 back from the swim along 3.5 radians
        {"go fishing", 20, 11, MODE_FISHING, 3, true, true, 50 + std::sin(3.5f) * 4.0f, 2.0,
         60 + std::cos(3.5f) * 4.0f},
        {"tour", 20, 2.57f, MODE_TOUR, 3, true, true, 60, 2, 0},
        {"duck mode", 20, 2.28f, MODE_DUCK, 3, true, true, 67.5, 1.0, 32.5},
        {"instructions", 8.8f, 11, MODE_INSTRUCTIONS, 0, false, false, 110, 80, 90},
        {"stocking records", 1.06f, 1.1f, MODE_STOCKING_RECORDS, 0, false, true, 100, 1000, 100},
        {"contours", 1.06f, 1.04f, MODE_MAP, 0, false, false, 110, 80, 90},
    };
    for (const Exit& e : exits) {
        SCOPED_TRACE(e.what);
        MapGame g;
        GameApp& app = g.App();
        *app.swims[2] = {50, 60, 0};
        app.currentSwim = 3;
        app.eyeX = 110;
        app.eyeY = 80;
        app.eyeZ = 90;
        app.instructionsPage = 2;
        app.stockingPage = 4;
        g.Silence();
        g.Click(e.kx, e.ky);
        EXPECT_EQ(app.gameMode, e.mode);
        EXPECT_EQ(app.inputLock, e.lock);
        EXPECT_EQ(app.lakeTexturesLoaded, e.lakeSet ? 1 : 0);
        EXPECT_EQ(app.mapTexturesLoaded, e.lakeSet ? 0 : 1);
        EXPECT_EQ(g.Device()->State().lightEnabled[0], !e.lakeSet);
        EXPECT_EQ(g.Device()->State().lightEnabled[1], e.lakeSet);
        EXPECT_EQ(g.ClickPlayed(), e.clicks);
        EXPECT_FLOAT_EQ(app.eyeX, e.eyeX);
        EXPECT_EQ(app.eyeY, e.eyeY);
        EXPECT_FLOAT_EQ(app.eyeZ, e.eyeZ);
        const bool savesHeight = e.mode == MODE_FISHING || e.mode == MODE_TOUR || e.mode == MODE_STOCKING_RECORDS;
        EXPECT_EQ(app.savedMapHeight, savesHeight ? 80 : 0);
        EXPECT_EQ(app.instructionsPage, e.mode == MODE_INSTRUCTIONS ? 1 : 2);
        EXPECT_EQ(app.stockingPage, e.mode == MODE_STOCKING_RECORDS ? 1 : 4);
        EXPECT_EQ(app.orbitView, e.what == std::string("contours"));
        if (e.mode == MODE_FISHING) {  // the rod pod on the swim, the next fishing step skips the platform
            EXPECT_EQ(app.rodPodX, 50);
            EXPECT_EQ(app.rodPodZ, 60);
            EXPECT_EQ(app.skipPlatformStep, 1);
        }
    }
}

TEST(MapInput, NothingActsBeforeTheLakeIsPrepared) {
    MapGame g;
    GameApp& app = g.App();
    app.lakeInitialised = 0;
    const auto before = Snapshot(app);
    InputDeviceState keys{};
    keys.keyLeft = 1;
    g.Click(20, 11, keys);  // go fishing
    g.Click(1.06f, 1.04f);  // contours
    EXPECT_EQ(Snapshot(app), before);
    EXPECT_EQ(app.inputLock, 0);
    EXPECT_EQ(app.mapTexturesLoaded, 1);
}

// X leaves the title in the keyboard's pass; the mouse's pass of the same frame runs the map's
// input step, before the map has ever been drawn, with a click held on "Go fishing" since the title
// (which the map takes only once it has been pressed again).
TEST(MapInput, AClickHeldWhileXLeavesTheTitleDoesNotGoFishing) {
    lakefix::ScratchFolder folder;
    folder.WriteModel(lakefix::ModelText(lakefix::SyntheticLakeValues()));
    std::string stock;
    for (int i = 0; i < FISH_COUNT; ++i) stock += "Fish" + std::to_string(i) + " T" + std::to_string(i) + " 12.5 0 28 30\n";
    for (int n = 1; n <= SWIM_COUNT; ++n) stock += std::to_string(20 * n) + " 100 1.0\n";
    ScratchDir::WriteText("data/data.qd", stock);

    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    g.backend->msPerFrame = 0;
    g.Frames(1);
    g.backend->MoveCursor(36, 28);  // "Go fishing": (808 / 20, 634 / 11) on the screen, less (4, 30)
    g.backend->QueueKey(plat::KeyId::X, true);
    g.backend->QueueMouseButton(0, true);
    g.Frames(1);
    EXPECT_EQ(g.app->gameMode, MODE_MAP);
    EXPECT_EQ(g.app->lakeInitialised, 1);  // prepared by that frame's drawing
    EXPECT_FALSE(g.app->IsCloseRequested());
    EXPECT_EQ(g.app->swims[8]->x, 180.0f);

    g.Frames(1);  // the click held from the title is not taken; a fresh one acts, with the swims read
    EXPECT_EQ(g.app->gameMode, MODE_MAP);
    g.backend->QueueMouseButton(0, false);
    g.backend->QueueMouseButton(0, true);
    g.Frames(1);
    EXPECT_EQ(g.app->gameMode, MODE_FISHING);
    EXPECT_EQ(g.app->rodPodX, 20.0);
}
