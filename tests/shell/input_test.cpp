// Input: the poll of the two devices, the merged axes, the input lock and the dispatch's own screens,
// driven through scripted events on the headless backend.
#include <gtest/gtest.h>
#include "scratch_dir.h"
#include "test_support.h"

namespace {

// Pointer positions are picture pixels (the backend's); the game reads them 4 right and 30 lower,
// from the framed window's outer corner.
// On the bottom-centre button of the title, instructions and records screens (centre (808 / 2,
// 634 / 1.1) = (404, 576.4) on the screen, (400, 546.4) on the picture, radius 100), below the
// overhead map and clear of the map screen's tackle row.
constexpr int32_t BUTTON_X = 400, BUTTON_Y = 530;

InputDeviceState& Record(GameApp& app, size_t device) {
    return *static_cast<InputDeviceState*>(app.inputManager->Devices()[device].userData);
}
InputDeviceState& Keyboard(GameApp& app) { return Record(app, 0); }
InputDeviceState& Mouse(GameApp& app) { return Record(app, 1); }

// A started game in a folder of its own (its save file stays there), with the clock under the
// test's control (no advance per frame).
struct InputGame : ScratchDir, HeadlessGame {
    InputGame() {
        EXPECT_TRUE(Start());
        backend->msPerFrame = 0;
        // The scratch folder holds no lake: the map screen takes its lake as prepared.
        app->lakeInitialised = 1;
        Frames(1);
    }
    GameApp& App() { return *app; }
};

}  // namespace

TEST(Input, KeysAndAxesFromEvents) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_STOCKING_RECORDS;  // reads no key

    // Two moves in one frame: the last one counts, not the sum; Y is negated; both / 500.
    g.backend->QueueMouseMotion(100, 50);
    g.backend->QueueMouseMotion(-250, 30);
    g.backend->QueueKey(plat::KeyId::Up, true);
    g.backend->QueueKey(plat::KeyId::Num2, true);
    g.backend->QueueKey(plat::KeyId::T, true);
    g.Frames(1);
    EXPECT_FLOAT_EQ(Mouse(app).axisX, -0.5f);
    EXPECT_FLOAT_EQ(Mouse(app).axisY, -0.06f);
    EXPECT_FLOAT_EQ(app.horizontalAxis, -0.5f);
    EXPECT_FLOAT_EQ(app.verticalAxis, -0.06f);
    EXPECT_EQ(Keyboard(app).axisX, 0.0f);
    EXPECT_EQ(Keyboard(app).keyUp, 1);
    EXPECT_EQ(Keyboard(app).key2, 1);
    EXPECT_EQ(Keyboard(app).keyT, 1);
    EXPECT_EQ(Keyboard(app).keyP, 0);

    // Axes last one frame; keys stay held until released.
    g.backend->QueueKey(plat::KeyId::Up, false);
    g.Frames(1);
    EXPECT_EQ(Mouse(app).axisX, 0.0f);
    EXPECT_EQ(app.horizontalAxis, 0.0f);
    EXPECT_EQ(Keyboard(app).keyUp, 0);
    EXPECT_EQ(Keyboard(app).key2, 1);

    // Only 0x80 is a press; codes outside the map are ignored.
    plat::InputDevice* keyboard = app.inputManager->Devices()[0].device;
    keyboard->Push(22, 0x80, 0);
    keyboard->Push(25, 0x81, 0);
    keyboard->Push(99, 0x80, 0);
    g.Frames(1);
    EXPECT_EQ(Keyboard(app).keyX, 1);
    EXPECT_EQ(Keyboard(app).keyD, 0);
}

TEST(Input, AtMost23EventsPerFrameTheRestWaitAndATapIsHeldForOneFrame) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_STOCKING_RECORDS;
    plat::InputDevice* keyboard = app.inputManager->Devices()[0].device;
    for (int i = 0; i < 15; ++i) {  // 30 events: X pressed, D released, ...
        keyboard->Push(22, 0x80, 0);
        keyboard->Push(25, 0, 0);
    }
    g.Frames(1);
    EXPECT_EQ(Keyboard(app).keyX, 1);  // event 23 is a press
    EXPECT_EQ(keyboard->Pending(), 7u);
    g.Frames(1);
    EXPECT_EQ(keyboard->Pending(), 0u);

    // A key pressed and released within one frame is held for that frame, released in the next.
    g.backend->QueueKey(plat::KeyId::X, false);
    g.Frames(1);
    g.backend->QueueKey(plat::KeyId::T, true);
    g.backend->QueueKey(plat::KeyId::T, false);
    g.Frames(1);
    EXPECT_EQ(Keyboard(app).keyT, 1);
    g.Frames(1);
    EXPECT_EQ(Keyboard(app).keyT, 0);
    EXPECT_EQ(keyboard->Pending(), 0u);
}

// Quick clicks, the press and release within one frame (a touchpad tap): each is taken.
TEST(Input, AQuickClickOnTheTitleGoesToTheMap) {
    // Picture points on the title's button (centre (400, 546.4), radius 100).
    const plat::Point points[] = {{400, 546}, {310, 546}, {490, 546}, {400, 460}, {400, 599}};
    for (const plat::Point& p : points) {
        SCOPED_TRACE(testing::Message() << p.x << ", " << p.y);
        InputGame g;
        GameApp& app = g.App();
        g.backend->MoveCursor(p.x, p.y);
        g.backend->QueueMouseButton(0, true);
        g.backend->QueueMouseButton(0, false);
        g.Frames(1);
        EXPECT_EQ(app.gameMode, MODE_MAP);
        g.Frames(1);
        EXPECT_EQ(app.leftButtonDown, 0);
    }
}

// A 1,000 Hz mouse moves about 16 times a frame; 100 moves (200 events) a frame far outrun the 23
// events a frame takes, yet no press or release is lost, and the axes keep the frame's last move.
TEST(Input, AFloodOfMotionLosesNoPressOrRelease) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_MAP;
    app.eyeY = 350;
    auto flood = [&] {
        for (int i = 1; i <= 100; ++i) g.backend->QueueMouseMotion(i, -2 * i);
    };
    flood();
    g.Frames(1);
    flood();
    g.Frames(1);
    g.backend->MoveCursor(58, 119);  // zoom 30, centre (62.2, 149.2) - (4, 30)
    flood();
    g.backend->QueueMouseButton(0, true);
    g.backend->QueueMouseButton(0, false);
    flood();
    g.Frames(1);
    EXPECT_EQ(app.eyeY, 30.0);
    EXPECT_FLOAT_EQ(Mouse(app).axisX, 0.2f);
    EXPECT_FLOAT_EQ(Mouse(app).axisY, 0.4f);
    flood();
    g.Frames(1);
    EXPECT_EQ(app.leftButtonDown, 0);

    // A button held through the flood is released with it.
    g.backend->MoveCursor(400, 300);
    g.backend->QueueMouseButton(0, true);
    for (int frame = 0; frame < 3; ++frame) {
        flood();
        g.Frames(1);
        EXPECT_EQ(app.leftButtonDown, 1);
    }
    flood();
    g.backend->QueueMouseButton(0, false);
    flood();
    g.Frames(1);
    EXPECT_EQ(app.leftButtonDown, 0);
}

// The mouse buttons are shared: the keyboard's pass, which runs first, already acts on a click,
// and the lock it sets keeps the mouse's pass from acting again.
TEST(Input, ButtonsAreSharedAndALockBlocksTheLaterPass) {
    {
        InputGame g;
        GameApp& app = g.App();
        app.gameMode = MODE_STOCKING_RECORDS;
        app.stockingPage = 1;
        g.backend->MoveCursor(BUTTON_X, BUTTON_Y);
        g.backend->QueueMouseButton(0, true);
        g.Frames(1);
        EXPECT_EQ(app.leftButtonDown, 1);
        EXPECT_EQ(app.stockingPage, 2);
        EXPECT_EQ(app.inputLock, 6);
    }
    // On the instructions the click also clears the keyX of the record whose pass took it.
    InputGame h;
    GameApp& b = h.App();
    b.gameMode = MODE_INSTRUCTIONS;
    b.instructionsPage = 1;
    h.backend->MoveCursor(BUTTON_X, BUTTON_Y);
    h.backend->QueueKey(plat::KeyId::X, true);
    h.backend->QueueMouseButton(0, true);
    h.Frames(1);
    EXPECT_EQ(Keyboard(b).keyX, 0);
    EXPECT_EQ(b.instructionsPage, 2);
    EXPECT_EQ(b.inputLock, 5);
}

TEST(Input, LockRunsFromTheLastFrameItWasZero) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_STOCKING_RECORDS;
    app.stockingPage = 1;
    g.backend->MoveCursor(BUTTON_X, BUTTON_Y);

    plat::AdvanceTickCount(1000);
    g.Frames(1);  // lock 0: the frame restamps
    plat::AdvanceTickCount(400);
    g.backend->QueueMouseButton(0, true);  // held from here on
    g.Frames(1);
    EXPECT_EQ(app.stockingPage, 2);
    EXPECT_EQ(app.inputLock, 6);
    plat::AdvanceTickCount(199);  // 599 ms since the lock was last 0
    g.Frames(1);
    EXPECT_EQ(app.inputLock, 6);
    EXPECT_EQ(app.stockingPage, 2);
    plat::AdvanceTickCount(1);  // 600 ms: this frame's input is still locked, its draw clears it
    g.Frames(1);
    EXPECT_EQ(app.stockingPage, 2);
    EXPECT_EQ(app.inputLock, 0);
    g.Frames(1);
    EXPECT_EQ(app.stockingPage, 3);
    EXPECT_EQ(app.inputLock, 6);
}

TEST(Input, FocusLossPausesAndReleasesEverythingHeld) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_STOCKING_RECORDS;
    g.backend->MoveCursor(10, 10);
    g.backend->QueueKey(plat::KeyId::Up, true);
    g.backend->QueueKey(plat::KeyId::B, true);
    g.backend->QueueMouseButton(0, true);
    g.Frames(1);
    ASSERT_EQ(Keyboard(app).keyUp, 1);
    ASSERT_EQ(app.leftButtonDown, 1);

    // Paused: no frames are drawn until the focus comes back.
    const uint32_t drawn = app.FramesRendered();
    g.backend->QueueActivate(false);
    g.Frames(3);
    EXPECT_TRUE(app.IsPaused());
    EXPECT_EQ(app.FramesRendered(), drawn);
    EXPECT_EQ(Keyboard(app).keyUp, 0);
    EXPECT_EQ(Keyboard(app).keyB, 0);

    g.backend->QueueActivate(true);
    g.Frames(2);
    EXPECT_FALSE(app.IsPaused());
    EXPECT_EQ(app.FramesRendered(), drawn + 2);
    EXPECT_EQ(Keyboard(app).keyUp, 0);
    EXPECT_EQ(app.leftButtonDown, 0);

    // The same key works again after the focus comes back.
    g.backend->QueueKey(plat::KeyId::Up, true);
    g.Frames(1);
    EXPECT_EQ(Keyboard(app).keyUp, 1);
}

TEST(Input, CursorPositionWarpAndClickSound) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_MAP;
    // cursorX, cursorY: the screen position minus 1, i.e. the picture position + (3, 29); the map's
    // rectangle is 84..714 by 84..524 of them.
    struct Case {
        int32_t x, y;  // on the picture
        uint8_t overMap;
    } cases[] = {{81, 55, 1}, {80, 300, 0}, {711, 495, 1}, {712, 300, 0}, {300, 54, 0}, {300, 496, 0}};
    for (const Case& c : cases) {
        g.backend->MoveCursor(c.x, c.y);
        app.playClickSound = 1;
        g.Frames(1);
        EXPECT_EQ(app.cursorX, c.x + 3);
        EXPECT_EQ(app.cursorY, c.y + 29);
        EXPECT_EQ(app.cursorOverMap, c.overMap) << c.x << "," << c.y;
        EXPECT_EQ(app.playClickSound, 0);
    }
    for (int32_t mode : {MODE_FISHING, MODE_TOUR, MODE_DUCK}) {
        app.gameMode = mode;
        app.inputLock = 9;  // the warp happens whatever the lock
        g.backend->MoveCursor(20, 30);
        g.Frames(1);
        plat::Point p{};
        plat::GetCursorPos(&p);
        EXPECT_EQ(p.x, 500) << mode;
        EXPECT_EQ(p.y, 500) << mode;
        g.backend->GetCursorPos(&p);  // screen (500, 500) is picture (496, 470)
        EXPECT_EQ(p.x, 496) << mode;
        EXPECT_EQ(p.y, 470) << mode;
    }
}

TEST(Input, TitleClickGoesToTheMapWithoutLock) {
    InputGame g;
    GameApp& app = g.App();
    ASSERT_EQ(app.gameMode, MODE_TITLE);
    g.backend->MoveCursor(BUTTON_X, BUTTON_Y - 110);  // outside the button
    g.backend->QueueMouseButton(0, true);
    g.Frames(1);
    EXPECT_EQ(app.gameMode, MODE_TITLE);

    g.backend->QueueMouseButton(0, false);
    g.Frames(1);
    g.backend->MoveCursor(BUTTON_X, BUTTON_Y);
    g.backend->QueueKey(plat::KeyId::X, true);  // X in the same frame as the click
    g.backend->QueueMouseButton(0, true);
    g.Frames(1);
    EXPECT_EQ(app.gameMode, MODE_MAP);
    EXPECT_EQ(app.inputLock, 0);
}

// A click that leaves the title or the orbit view (the same bottom button) is not taken again by
// the overhead map it opens, where the rig row lies under that button: a normal click held for
// 150 ms or a slow one of 400 ms leaves the tackle alone. A fresh press then acts.
TEST(Input, AClickHeldFromTheTitleOrTheOrbitViewLeavesTheTackleAlone) {
    struct Case {
        const char* what;
        bool orbitView;
        int32_t x, y;  // picture point on the bottom button and on a rig number
        int frames;    // held, at 60 frames a second
    } cases[] = {
        {"title, hooklength, 150 ms", false, 375, 557, 9},
        {"title, hooklength, 400 ms", false, 375, 557, 24},
        {"orbit view, hook, 150 ms", true, 450, 557, 9},
        {"orbit view, hook, 400 ms", true, 450, 557, 24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InputGame g;
        GameApp& app = g.App();
        g.backend->msPerFrame = 17;
        if (c.orbitView) {
            app.gameMode = MODE_MAP;
            app.orbitView = 1;
        }
        g.backend->MoveCursor(c.x, c.y);
        g.backend->QueueMouseButton(0, true);
        g.Frames(c.frames);
        g.backend->QueueMouseButton(0, false);
        g.Frames(1);
        EXPECT_EQ(app.gameMode, MODE_MAP);
        EXPECT_EQ(app.orbitView, 0);
        EXPECT_EQ(app.hooklengthLb, 10);
        EXPECT_EQ(app.hookSize, 8);
        EXPECT_EQ(app.mainlineLb, 10);
        EXPECT_EQ(app.leadOz, 2);

        g.backend->QueueMouseButton(0, true);
        g.Frames(1);
        EXPECT_EQ(app.hooklengthLb, c.orbitView ? 10 : 11);
        EXPECT_EQ(app.hookSize, c.orbitView ? 6 : 8);
    }
}

TEST(Input, CatchRecordRowsFollowTheCursorWithoutClickOrLock) {
    InputGame g;
    GameApp& app = g.App();
    app.gameMode = MODE_CATCH_RECORDS;
    app.inputLock = 10;
    // Row r is within 10 of 634 / k(r) on the screen, 30 less on the picture; only left of the
    // screen's middle, 808 / 2 = 404, which is picture x 400.
    struct Case {
        int32_t x, y, row;  // on the picture
    } cases[] = {
        {100, 53, 0},    // 634 / 7.6 - 30 = 53.4
        {100, 44, 0},
        {100, 43, -1},   // above row 0 by more than 10
        {100, 539, 25},  // rows 25 (531.1) and 26 (546.4) overlap: the lower wins
        {100, 548, 26},
        {100, 300, 13},  // 634 / 1.92 - 30 = 300.2
        {399, 185, 7},   // 634 / 2.95 - 30 = 184.9
    };
    for (const Case& c : cases) {
        app.recordsSelection = -1;
        g.backend->MoveCursor(c.x, c.y);
        g.Frames(1);
        EXPECT_EQ(app.recordsSelection, c.row) << c.y;
    }
    app.recordsSelection = -1;
    g.backend->MoveCursor(400, 53);  // right half: no row
    g.Frames(1);
    EXPECT_EQ(app.recordsSelection, -1);
    EXPECT_EQ(app.gameMode, MODE_CATCH_RECORDS);
}

// The screens without an input step of their own: their keys and clicks.
TEST(Input, SimpleScreensLeaveWithTheirLocks) {
    struct Case {
        const char* what;
        int32_t mode;
        plat::KeyId key;  // None: a click on the bottom button
        int32_t page;     // the last page of the records or instructions
        int32_t modeAfter, lockAfter;
    };
    const Case cases[] = {
        {"catch records, X", MODE_CATCH_RECORDS, plat::KeyId::X, 0, MODE_FISHING, 10},
        {"catch records, click", MODE_CATCH_RECORDS, plat::KeyId::None, 0, MODE_FISHING, 10},
        {"stocking records, last page", MODE_STOCKING_RECORDS, plat::KeyId::None, 7, MODE_MAP, 6},
        {"instructions, last page", MODE_INSTRUCTIONS, plat::KeyId::None, 3, MODE_MAP, 5},
        {"tour, X", MODE_TOUR, plat::KeyId::X, 0, MODE_MAP, 9},
        {"photo album, P", MODE_PHOTO_ALBUM, plat::KeyId::P, 0, MODE_FISHING, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InputGame g;
        GameApp& app = g.App();
        app.gameMode = c.mode;
        app.stockingPage = app.instructionsPage = c.page;
        app.savedMapHeight = 420.0;
        app.savedEyeX = 11.0;
        g.Device()->LightEnable(0, false);
        g.Device()->LightEnable(3, true);
        g.backend->MoveCursor(BUTTON_X, BUTTON_Y);
        if (c.key == plat::KeyId::None)
            g.backend->QueueMouseButton(0, true);
        else
            g.backend->QueueKey(c.key, true);
        g.Frames(1);
        EXPECT_EQ(app.gameMode, c.modeAfter);
        EXPECT_EQ(app.inputLock, c.lockAfter);
        EXPECT_EQ(app.instructionsPage, c.page);  // the last page stays
        const plat::DeviceState& state = g.Device()->State();
        if (c.mode == MODE_STOCKING_RECORDS || c.mode == MODE_TOUR) { EXPECT_EQ(app.eyeY, 420.0); }  // map zoom
        if (c.mode == MODE_TOUR) { EXPECT_TRUE(state.lightEnabled[0] && !state.lightEnabled[3]); }
        if (c.mode == MODE_PHOTO_ALBUM) { EXPECT_EQ(app.eyeX, 11.0); }  // the view the album was opened from
    }
}

TEST(Input, DeletingPhotosKeepsThemPackedAtMostOnePer500ms) {
    InputGame g;
    GameApp& app = g.App();
    for (int slot = 0; slot < 50; ++slot) {
        *app.photos[slot] = PhotoRecord{};
        app.photos[slot]->inUse = 1;
        app.photos[slot]->swim = slot + 1;
    }
    auto inUse = [&] {
        int n = 0;
        for (const PhotoRecord* p : app.photos) n += p->inUse ? 1 : 0;
        return n;
    };
    app.gameMode = MODE_PHOTO_ALBUM;
    app.currentPhoto = 0;
    g.backend->QueueKey(plat::KeyId::D, true);  // held throughout
    g.Frames(1);
    EXPECT_EQ(inUse(), 50);  // not 500 ms since construction yet

    plat::AdvanceTickCount(501);
    g.Frames(1);
    EXPECT_EQ(inUse(), 49);
    for (int slot = 0; slot < 49; ++slot) EXPECT_EQ(app.photos[slot]->swim, slot + 2);
    EXPECT_EQ(app.photos[49]->inUse, 0);

    plat::AdvanceTickCount(500);  // exactly 500: not more than 500
    g.Frames(1);
    EXPECT_EQ(inUse(), 49);
    plat::AdvanceTickCount(1);
    g.Frames(1);
    EXPECT_EQ(inUse(), 48);
    EXPECT_EQ(app.photos[0]->swim, 3);

    // The last photo in use goes without moving the others.
    app.currentPhoto = 47;
    plat::AdvanceTickCount(501);
    g.Frames(1);
    EXPECT_EQ(inUse(), 47);
    EXPECT_EQ(app.photos[46]->swim, 49);
    EXPECT_EQ(app.photos[47]->inUse, 0);

    // No photo shown (past the last one): nothing is deleted.
    app.currentPhoto = 47;
    plat::AdvanceTickCount(501);
    g.Frames(1);
    EXPECT_EQ(inUse(), 47);
    EXPECT_EQ(app.photos[46]->swim, 49);
}
