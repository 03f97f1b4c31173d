// The headless backend: no window, GL or audio. The device records every call with the state in
// force, input is scripted per frame, the clock is the injectable tick source and the calendar a
// settable value.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "platform/backend.h"
#include "platform/device.h"
#include "platform/device_state.h"
#include "platform/input.h"

namespace plat {

struct DrawRecord {
    PrimitiveType type;
    uint32_t startVertex;
    uint32_t primitiveCount;
    const VertexBuffer* buffer;
    const Texture* texture;     // stage 0 at the time of the draw (null: none)
    std::string textureFile;    // its source file, "" when none
    uint32_t fvf;
    uint32_t fillMode;
    bool alphaBlend;
    bool alphaTest;
    uint32_t alphaRef;
    bool lighting;
    bool lightEnabled[MAX_LIGHTS];
    Matrix world, view, projection;
};

struct TextRecord {
    std::string text;  // Windows-1252 bytes as given
    Rect rect;
    uint32_t colour;
    int32_t fontHeight;
};

struct ClearRecord {
    uint32_t flags;
    uint32_t colour;
    float z;
};

class HeadlessDevice : public Device {
public:
    HeadlessDevice();
    ~HeadlessDevice() override;

    HResult SetTransform(TransformType type, const Matrix* matrix) override;
    HResult SetRenderState(RenderStateType state, uint32_t value) override;
    HResult SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) override;
    HResult SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) override;
    HResult SetMaterial(const Material* material) override;
    HResult SetLight(uint32_t index, const Light* light) override;
    HResult LightEnable(uint32_t index, bool enable) override;
    HResult SetTexture(uint32_t stage, Texture* texture) override;
    HResult SetFVF(uint32_t fvf) override;
    HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
    HResult DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) override;
    HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                               VertexBuffer** out) override;
    HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                  uint32_t stencil) override;
    HResult BeginScene() override;
    HResult EndScene() override;
    HResult CreateTextureFromImage(const TextureImage& image, const std::string& sourceFile,
                                   Texture** out) override;
    HResult CreateFontObject(const FontDesc& desc, Font** out) override;

    const DeviceState& State() const { return state_; }
    void ResetState() { state_.Reset(); }  // what a device reset does

    // What was asked since the last ClearLog: one line per call ("SetRenderState 27 1", ...).
    std::vector<std::string> calls;
    std::vector<DrawRecord> draws;
    std::vector<TextRecord> texts;
    std::vector<ClearRecord> clears;
    std::vector<FontDesc> fontsCreated;
    void ClearLog();
    bool recordCallLines = true;  // benchmarks turn the text log off
    bool recordDraws = true;      // off: draws are checked but not kept (long runs that never look)

    // Live object counts (created minus released), for leak and release-order tests.
    int liveVertexBuffers = 0;
    int liveTextures = 0;
    int liveFonts = 0;
    int texturesCreated = 0;
    int texturesReleased = 0;
    bool failFontCreation = false;  // makes CreateFontObject fail
    bool inScene = false;

private:
    DeviceState state_;
};

class HeadlessBackend : public Backend {
public:
    HeadlessBackend();
    ~HeadlessBackend() override;

    // ---- Backend ----
    bool CreateMainWindow(const char* title, int32_t clientWidth, int32_t clientHeight,
                          std::string* error) override;
    void DestroyMainWindow() override;
    WindowHandle Window() override;
    Device* CreateDevice(std::string* error) override;
    void DestroyDevice() override;
    bool ResetDevice(std::string* error) override;
    void SetFullscreen(bool fullscreen) override;
    bool IsFullscreen() const override { return fullscreen_; }
    uint32_t BackBufferWidth() const override { return 800; }
    uint32_t BackBufferHeight() const override { return 600; }
    void PumpEvents(FrameEventSink* sink) override;
    void Present() override;
    void Idle() override {}
    void PaintWindowText(const char* text) override;
    uint32_t Ticks() override;
    int64_t CalendarSeconds() override { return calendarSeconds; }
    int32_t DesktopWidth() override { return desktopWidth; }
    void ShowErrorBox(const char* title, const char* text) override;
    void GetCursorPos(Point* p) override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void SetCursorVisible(bool visible) override;
    bool OpenAudio(Mixer* mixer, uint32_t rate) override;
    void CloseAudio() override;

    // ---- scripting (applied at the next PumpEvents, in the order queued) ----
    void QueueKey(KeyId key, bool down);
    void QueueMouseButton(int button, bool down);  // 0 left, 1 right
    void QueueMouseMotion(int32_t dx, int32_t dy);
    void QueueClose();                 // as Escape
    void QueueTerminate(int32_t exitCode);  // as a termination signal
    void QueueToggleFullscreen();      // as Alt+Enter
    void QueueActivate(bool active);   // focus gained / lost
    void MoveCursor(int32_t x, int32_t y) { cursor_ = {x, y}; }
    // Advances the fixed clock by this much at every Present (0: the clock stands still).
    uint32_t msPerFrame = 16;

    HeadlessDevice* GetDevice() { return device_.get(); }
    Mixer* GetMixer() { return mixer_; }

    int32_t desktopWidth = 1024;
    int64_t calendarSeconds;  // the real calendar time when the backend was made, until set
    bool failWindow = false;
    bool failDevice = false;
    bool failAudio = false;
    bool cursorVisible = true;
    uint32_t presents = 0;
    std::vector<std::string> paintedTexts;  // loading messages painted
    std::vector<std::string> errorBoxes;
    std::vector<std::string> events;        // frame-level log: "CreateDevice", "ResetDevice", ...

private:
    std::deque<std::function<void(FrameEventSink*)>> script_;
    std::unique_ptr<HeadlessDevice> device_;
    Mixer* mixer_ = nullptr;
    bool window_ = false;
    bool fullscreen_ = false;
    Point cursor_{400, 300};
};

// Installs a fresh headless backend with a fixed clock at `startTick` and returns it.
HeadlessBackend* InstallHeadlessBackend(uint32_t startTick = 100000);

}  // namespace plat
