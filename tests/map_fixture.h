// Map screen test helpers: a started game standing on the map with its lake taken as prepared,
// known swims, stand-in textures named after their files, the two button sounds, and lookups
// into what the headless device recorded.
//
// Two kinds of coordinates: screen pixels, measured from the corner of the framed window (808 x 634,
// the 800 x 600 picture at (4, 30) inside it), are what the map's input step and its buttons work in
// (Press, Click, Draw's cursor); picture pixels are where things are drawn and where the headless
// backend puts the pointer (Left, Top, ClickPicture, the recorded text rectangles).
#pragma once
#include <cmath>
#include <cstring>
#include <string>
#include <vector>
#include "byte_writer.h"
#include "platform/headless/headless_backend.h"
#include "scratch_dir.h"
#include "test_support.h"

namespace mapfix {

// The framed window's outer size (the picture stands at (4, 30) inside it).
constexpr double SCREEN_W = 808, SCREEN_H = 634;

struct MapGame : ScratchDir, HeadlessGame {
    // Swims 1..9 at (20 n, 30 + 10 n) facing n / 2, unless a test says otherwise.
    MapGame() {
        for (const char* clip : {"sounds/button.wav", "sounds/button2.wav"}) Write(clip, MakeWav(22050, 1, 16, {1, 2}));
        EXPECT_TRUE(Start());
        backend->msPerFrame = 0;
        app->lakeInitialised = 1;
        app->gameMode = MODE_MAP;
        for (int n = 1; n <= SWIM_COUNT; ++n) *app->swims[n - 1] = {20.0f * n, 30.0f + 10 * n, n / 2.0f};
        // Every empty slot of the groups the map draws with gets a 1-pixel texture named after its file.
        for (const TextureInfo& info : TEXTURE_TABLE) {
            plat::Texture*& slot = app->textures[info.name];
            if (!slot && (info.group == TEXGROUP_RESIDENT || info.group == TEXGROUP_MAP))
                slot = StandInTexture(Device(), info.file);
        }
        app->mapTexturesLoaded = 1;
    }

    GameApp& App() { return *app; }

    // The left button held at screen point (x, y) for one call of the map's input step.
    void Press(int32_t x, int32_t y, InputDeviceState keys = {}) {
        app->leftButtonDown = 1;
        app->inputLock = 0;
        app->UpdateMapScreen(&keys, x, y);
    }
    // The same at the centre of button (kx, ky): (808 / kx, 634 / ky) on the screen.
    void Click(float kx, float ky, InputDeviceState keys = {}) {
        Press(static_cast<int32_t>(std::lround(SCREEN_W / kx)), static_cast<int32_t>(std::lround(SCREEN_H / ky)), keys);
    }
    // A click through the whole input path at picture pixel (x, y): the backend's pointer moved
    // there, the left button pressed for a frame and released for a frame (each frame polls the
    // devices, dispatches and draws), then time enough for any lock to run out.
    void ClickPicture(int32_t x, int32_t y) {
        backend->MoveCursor(x, y);
        backend->QueueMouseButton(0, true);
        Frames(1);
        backend->QueueMouseButton(0, false);
        Frames(1);
    }
    void LetLockRunOut() {
        plat::AdvanceTickCount(1000);
        Frames(1);
    }
    // One call of the input step with these keys and no button.
    void Keys(const InputDeviceState& keys) {
        InputDeviceState k = keys;
        app->leftButtonDown = 0;
        app->inputLock = 0;
        app->UpdateMapScreen(&k, 400, 300);
    }
    // One map frame drawn on its own, with the cursor at screen position (x, y) (the position the
    // game keeps: one less than the pointer's screen position).
    void Draw(int32_t cursorX, int32_t cursorY, uint8_t overMap = 1) {
        app->cursorX = cursorX;
        app->cursorY = cursorY;
        app->cursorOverMap = overMap;
        Device()->ClearLog();
        app->DrawMapScreen();
    }
    // Stops both button sounds, so that a later call shows whether it played them.
    void Silence() {
        for (plat::SoundClip* c : {app->clickSound, app->panSound}) {
            c->Stop();
            c->Rewind();
        }
    }
    bool ClickPlayed() const { return app->clickSound->IsPlaying(); }
    bool PanPlayed() const { return app->panSound->IsPlaying(); }

    // The recorded text with exactly this content, or null.
    const plat::TextRecord* Text(const std::string& text) {
        for (const plat::TextRecord& t : Device()->texts)
            if (t.text == text) return &t;
        return nullptr;
    }
    // The draws whose texture came from this file.
    std::vector<const plat::DrawRecord*> DrawsOf(const std::string& file) {
        std::vector<const plat::DrawRecord*> found;
        for (const plat::DrawRecord& d : Device()->draws)
            if (FileOf(d) == file) found.push_back(&d);
        return found;
    }
};

// Where a text of DrawTextAt at (x %, y %) starts on the picture: percentages of the window's
// outer size, 808 by 634.
inline int32_t Left(double xPercent) { return static_cast<int32_t>(static_cast<float>(SCREEN_W / 100 * xPercent)); }
inline int32_t Top(double yPercent) { return static_cast<int32_t>(static_cast<float>(SCREEN_H / 100 * yPercent)); }

}  // namespace mapfix
