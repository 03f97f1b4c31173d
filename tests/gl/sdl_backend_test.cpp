// The SDL backend: window and back buffer, full screen letter-boxing, frame keys and input
// events, the hidden-pointer cursor model, frame pacing and audio output.
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
};

enum : uint32_t { kMouseY = 2, kMouseX = 3, kLeft = 1, kRight = 21, kKeyX = 22, kKey1 = 11 };

ActionFormat TestFormat() {
    ActionFormat f;
    f.mapName = "test";
    f.actions = {
        {kMouseY, InputSource::MouseAxisY, KeyId::None, 0, "y"},
        {kMouseX, InputSource::MouseAxisX, KeyId::None, 0, "x"},
        {kLeft, InputSource::MouseButtonLeft, KeyId::None, 0, "left"},
        {kRight, InputSource::MouseButtonRight, KeyId::None, 0, "right"},
        {kKeyX, InputSource::Key, KeyId::X, 0, "X"},
        {kKey1, InputSource::Key, KeyId::Num1, 0, "1"},
    };
    return f;
}

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

std::vector<DeviceEvent> Drain(InputDevice* d) {
    std::vector<DeviceEvent> out(64);
    uint32_t n = 64;
    d->GetDeviceData(sizeof(DeviceEvent), out.data(), &n, 0);
    out.resize(n);
    return out;
}

class BackendTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!backend) return;
        RecordingSink drain;
        backend->PumpEvents(&drain);  // whatever the display sent so far
    }
};

}  // namespace

TEST_F(BackendTest, WindowIsTheLogicalBackBufferAtTheTopLeft) {
    int x = -1, y = -1, w = 0, h = 0;
    SDL_Window* window = static_cast<SDL_Window*>(backend->Window());
    SDL_GetWindowPosition(window, &x, &y);
    SDL_GetWindowSize(window, &w, &h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);
    EXPECT_EQ(backend->BackBufferWidth(), 800u);
    EXPECT_EQ(backend->BackBufferHeight(), 600u);
    SDL_DisplayMode mode;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &mode), 0);
    EXPECT_EQ(backend->DesktopWidth(), mode.w);
    Point p = backend->WindowToLogical(123, 456);
    EXPECT_EQ(p.x, 123);
    EXPECT_EQ(p.y, 456);
}

TEST_F(BackendTest, FullScreenKeepsTheBackBufferAndMapsThePointerBack) {
    backend->SetFullscreen(true);
    for (int i = 0; i < 50; ++i) {  // let the display resize the window
        RecordingSink sink;
        backend->PumpEvents(&sink);
        int w = 0, h = 0;
        SDL_GetWindowSize(static_cast<SDL_Window*>(backend->Window()), &w, &h);
        if (w == 1024) break;
        SDL_Delay(20);
    }
    EXPECT_TRUE(backend->IsFullscreen());
    EXPECT_EQ(backend->BackBufferWidth(), 800u);
    device->Clear(0, nullptr, CLEAR_TARGET, 0xFF00FF00u, 1.0f, 0);
    backend->Present();
    std::vector<uint32_t> px = Read();
    EXPECT_EQ(px.size(), 800u * 600u);
    EXPECT_EQ(Rgb(px[0]), 0x00FF00u);
    Point corner = backend->WindowToLogical(1023, 767);
    EXPECT_EQ(corner.x, 799);
    EXPECT_EQ(corner.y, 599);
    Point middle = backend->WindowToLogical(512, 384);
    EXPECT_EQ(middle.x, 400);
    EXPECT_EQ(middle.y, 300);
    backend->SetFullscreen(false);
    EXPECT_FALSE(backend->IsFullscreen());
}

TEST_F(BackendTest, FrameKeysReachTheSinkAndOtherKeysTheInput) {
    InputActionManager manager;
    ActionFormat format = TestFormat();
    ASSERT_EQ(manager.Create(nullptr, &format, nullptr, nullptr), OK);
    InputDevice* keyboard = manager.Devices()[0].device;
    RecordingSink sink;

    PushKey(SDL_SCANCODE_ESCAPE, true);
    PushKey(SDL_SCANCODE_ESCAPE, false);
    PushKey(SDL_SCANCODE_RETURN, true, KMOD_LALT);
    PushKey(SDL_SCANCODE_RETURN, false, KMOD_LALT);
    backend->PumpEvents(&sink);
    EXPECT_EQ(sink.closes, 1);
    EXPECT_EQ(sink.toggles, 1);
    EXPECT_TRUE(Drain(keyboard).empty());

    // Key 1: a press (auto-repeat ignored) and a release; Alt+X: the X press and a close.
    PushKey(SDL_SCANCODE_1, true);
    PushKey(SDL_SCANCODE_1, true, 0, true);
    PushKey(SDL_SCANCODE_1, false);
    PushKey(SDL_SCANCODE_X, true, KMOD_LALT);
    backend->PumpEvents(&sink);
    EXPECT_EQ(sink.closes, 2);
    std::vector<DeviceEvent> ev = Drain(keyboard);
    ASSERT_EQ(ev.size(), 3u);
    EXPECT_EQ(ev[0].appData, kKey1);
    EXPECT_EQ(ev[0].data, 0x80u);
    EXPECT_EQ(ev[1].appData, kKey1);
    EXPECT_EQ(ev[1].data, 0u);
    EXPECT_EQ(ev[2].appData, kKeyX);
    EXPECT_EQ(ev[2].data, 0x80u);

    // Losing focus releases the held X and deactivates; regaining it activates.
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_EXPOSED);
    backend->PumpEvents(&sink);
    ev = Drain(keyboard);
    ASSERT_EQ(ev.size(), 1u);
    EXPECT_EQ(ev[0].appData, kKeyX);
    EXPECT_EQ(ev[0].data, 0u);
    ASSERT_EQ(sink.activations.size(), 2u);
    EXPECT_FALSE(sink.activations[0]);
    EXPECT_TRUE(sink.activations[1]);
    EXPECT_EQ(sink.paints, 1);
}

TEST_F(BackendTest, HiddenPointerMovesOnlyTheLogicalCursor) {
    InputActionManager manager;
    ActionFormat format = TestFormat();
    ASSERT_EQ(manager.Create(nullptr, &format, nullptr, nullptr), OK);
    InputDevice* mouse = manager.Devices()[1].device;
    RecordingSink sink;

    backend->SetCursorVisible(false);
    EXPECT_TRUE(backend->RelativeMouse());
    backend->SetCursorPos(500, 500);
    Point p{};
    backend->GetCursorPos(&p);
    EXPECT_EQ(p.x, 500);
    EXPECT_EQ(p.y, 500);
    backend->PumpEvents(&sink);
    EXPECT_TRUE(Drain(mouse).empty());  // setting the cursor made no movement

    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.xrel = 12;
    e.motion.yrel = -7;
    SDL_PushEvent(&e);
    backend->PumpEvents(&sink);
    backend->GetCursorPos(&p);
    EXPECT_EQ(p.x, 512);
    EXPECT_EQ(p.y, 493);
    std::vector<DeviceEvent> ev = Drain(mouse);
    ASSERT_EQ(ev.size(), 2u);
    EXPECT_EQ(ev[0].appData, kMouseX);
    EXPECT_EQ(static_cast<int32_t>(ev[0].data), 12);
    EXPECT_EQ(ev[1].appData, kMouseY);
    EXPECT_EQ(static_cast<int32_t>(ev[1].data), -7);

    // A frame that hides it keeps it hidden; the next frame that does not shows it again, where
    // the hidden one was, and putting it there is no mouse movement.
    SDL_SetWindowInputFocus(static_cast<SDL_Window*>(backend->Window()));
    SDL_Delay(50);
    backend->PumpEvents(&sink);
    Drain(mouse);
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
    EXPECT_TRUE(Drain(mouse).empty());
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
    std::string saved = old ? old : "";
    Mixer mixer(22050);
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_FALSE(backend->OpenAudio(&mixer, 22050));
    backend->CloseAudio();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(backend->OpenAudio(&mixer, 22050));
    SDL_Delay(50);
    backend->CloseAudio();
    if (old) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}
