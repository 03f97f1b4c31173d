// The SDL backend: the window and back buffer in and out of full screen, frame keys and input
// events, focus loss, the hidden-pointer cursor model, frame pacing and audio output.
#include <SDL.h>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>
#include "gl_fixture.h"
#include "platform/input.h"
#include "platform/sound.h"

using namespace gltest;
using namespace plat;

namespace {

struct RecordingSink : FrameEventSink {
    int closes = 0, toggles = 0, paints = 0;
    std::vector<bool> activations;
    void OnCloseRequest() override { ++closes; }
    void OnToggleFullscreen() override { ++toggles; }
    void OnActivate(bool active) override { activations.push_back(active); }
    void OnPaint() override { ++paints; }
    void OnTerminate(int32_t code) override { terminations.push_back(code); }
    std::vector<int32_t> terminations;
};

enum : uint32_t { MOUSE_Y = 2, MOUSE_X = 3, KEY_X = 22, KEY1 = 11 };

void PushKey(SDL_Scancode sc, bool down, uint16_t mod = 0, bool repeat = false) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = sc;
    e.key.keysym.sym = SDL_GetKeyFromScancode(sc);
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

void PushWindowEvent(uint8_t what) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = what;
    SDL_PushEvent(&e);
}

// (action, data) of each event waiting on a device.
std::vector<std::pair<uint32_t, int32_t>> Drain(InputDevice* d) {
    std::vector<std::pair<uint32_t, int32_t>> out;
    DeviceEvent events[64];
    for (uint32_t n = 64; d->GetDeviceData(sizeof(DeviceEvent), events, &n, 0) == OK && n > 0; n = 64)
        for (uint32_t i = 0; i < n; ++i) out.emplace_back(events[i].appData, static_cast<int32_t>(events[i].data));
    return out;
}
using Events = std::vector<std::pair<uint32_t, int32_t>>;

class BackendTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!backend) return;
        backend->PumpEvents(&sink);  // whatever the display sent so far
        sink = RecordingSink{};
        format.mapName = "test";
        format.actions = {{MOUSE_Y, InputSource::MouseAxisY, KeyId::None, 0, "y"},
                          {MOUSE_X, InputSource::MouseAxisX, KeyId::None, 0, "x"},
                          {KEY_X, InputSource::Key, KeyId::X, 0, "X"},
                          {KEY1, InputSource::Key, KeyId::Num1, 0, "1"}};
        ASSERT_EQ(manager.Create(nullptr, &format, nullptr, nullptr), OK);
    }
    InputDevice* Keyboard() { return manager.Devices()[0].device; }
    InputDevice* Mouse() { return manager.Devices()[1].device; }

    RecordingSink sink;
    ActionFormat format;
    InputActionManager manager;
};

}  // namespace

TEST_F(BackendTest, BackBufferStaysTheLogicalSizeAndFullScreenMapsThePointerBack) {
    SDL_Window* window = static_cast<SDL_Window*>(backend->Window());
    int x = -1, y = -1, w = 0, h = 0;
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(std::vector<int>({x, y, w, h}), std::vector<int>({0, 0, 800, 600}));
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(backend->WindowToLogical(123, 456).x, 123);

    backend->SetFullscreen(true);
    for (int i = 0; i < 50 && w != 1024; ++i) {  // let the display resize the window
        backend->PumpEvents(&sink);
        SDL_GetWindowSize(window, &w, &h);
        SDL_Delay(20);
    }
    EXPECT_TRUE(backend->IsFullscreen());
    device->Clear(0, nullptr, CLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
    backend->Present();
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(px.size(), 800u * 600u);
    EXPECT_EQ(Rgb(px[0]), 0x00FF00u);
    const Point corner = backend->WindowToLogical(1023, 767), middle = backend->WindowToLogical(512, 384);
    EXPECT_EQ(std::vector<int>({corner.x, corner.y, middle.x, middle.y}), std::vector<int>({799, 599, 400, 300}));
    backend->SetFullscreen(false);
    EXPECT_FALSE(backend->IsFullscreen());
}

TEST_F(BackendTest, FrameKeysReachTheSinkAndOtherKeysTheInput) {
    PushKey(SDL_SCANCODE_ESCAPE, true);
    PushKey(SDL_SCANCODE_ESCAPE, false);
    PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    PushKey(SDL_SCANCODE_RETURN, false, KMOD_LALT);
    backend->PumpEvents(&sink);
    EXPECT_EQ(sink.closes, 1);
    EXPECT_EQ(sink.toggles, 1);
    EXPECT_TRUE(Drain(Keyboard()).empty());

    // Key 1: a press (auto-repeat ignored) and a release; Alt+X: the X press and a close.
    PushKey(SDL_SCANCODE_1, true);
    PushKey(SDL_SCANCODE_1, true, 0, true);
    PushKey(SDL_SCANCODE_1, false);
    PushKey(SDL_SCANCODE_X, true, KMOD_LALT);
    backend->PumpEvents(&sink);
    EXPECT_EQ(sink.closes, 2);
    EXPECT_EQ(Drain(Keyboard()), (Events{{KEY1, 0x80}, {KEY1, 0}, {KEY_X, 0x80}}));

    // Losing focus releases the held X and deactivates; regaining it activates.
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    backend->PumpEvents(&sink);
    EXPECT_EQ(Drain(Keyboard()), (Events{{KEY_X, 0}}));
    EXPECT_EQ(sink.activations, std::vector<bool>({false, true}));
    EXPECT_EQ(sink.paints, 1);
}

TEST_F(BackendTest, HiddenPointerMovesOnlyTheLogicalCursor) {
    backend->SetCursorVisible(false);
    EXPECT_TRUE(backend->RelativeMouse());
    backend->SetCursorPos(500, 500);
    Point p{};
    backend->GetCursorPos(&p);
    EXPECT_EQ(p.x, 500);
    EXPECT_EQ(p.y, 500);
    backend->PumpEvents(&sink);
    EXPECT_TRUE(Drain(Mouse()).empty());  // setting the cursor made no movement

    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.xrel = 12;
    e.motion.yrel = -7;
    SDL_PushEvent(&e);
    backend->PumpEvents(&sink);
    backend->GetCursorPos(&p);
    EXPECT_EQ(p.x, 512);
    EXPECT_EQ(p.y, 493);
    EXPECT_EQ(Drain(Mouse()), (Events{{MOUSE_X, 12}, {MOUSE_Y, -7}}));

    // A frame that hides it keeps it hidden; the next frame that does not shows it again, where
    // the hidden one was, and putting it there is no mouse movement.
    SDL_SetWindowInputFocus(static_cast<SDL_Window*>(backend->Window()));
    SDL_Delay(50);
    backend->PumpEvents(&sink);
    Drain(Mouse());
    backend->SetFramePacing(false);
    backend->SetCursorVisible(false);
    backend->SetCursorPos(300, 200);
    backend->Present();
    EXPECT_TRUE(backend->RelativeMouse());
    backend->Present();
    EXPECT_FALSE(backend->RelativeMouse());
    backend->SetFramePacing(true);
    for (int i = 0; i < 5; ++i) {
        SDL_Delay(20);
        backend->PumpEvents(&sink);
    }
    EXPECT_TRUE(Drain(Mouse()).empty());
    backend->GetCursorPos(&p);
    EXPECT_EQ(p.x, 300);
    EXPECT_EQ(p.y, 200);
}

TEST_F(BackendTest, FramesArePacedToSixtyASecond) {
    backend->SetFramePacing(true);
    backend->Present();  // starts the cadence
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 20; ++i) backend->Present();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(ms, 20 * 16.667 - 20);
    EXPECT_LT(ms, 20 * 16.667 + 600);  // generous: a loaded machine may run late, never early
}

TEST_F(BackendTest, AudioOpensWithAWorkingDriverAndFailsCleanlyWithout) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = old ? old : "";
    Mixer mixer(22050);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(backend->OpenAudio(&mixer, 22050));
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(backend->OpenAudio(&mixer, 22050));
    SDL_Delay(50);
    backend->CloseAudio();
    old ? setenv("SDL_AUDIODRIVER", saved.c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
}
