// The real backend: an SDL2 window with an OpenGL (compatibility profile) device drawing into
// a logical 800 x 600 back buffer that is shown letter-boxed in the window.
#pragma once
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include "platform/backend.h"

struct SDL_Window;
union SDL_Event;
struct _TTF_Font;

namespace plat {

class GlDevice;

std::unique_ptr<Backend> CreateSdlBackend();

class SdlBackend : public Backend {
public:
    SdlBackend();
    ~SdlBackend() override;

    bool CreateMainWindow(const char* title, int32_t clientWidth, int32_t clientHeight,
                          std::string* error) override;
    void DestroyMainWindow() override;
    WindowHandle Window() override { return window_; }
    Device* CreateDevice(std::string* error) override;
    void DestroyDevice() override;
    bool ResetDevice(std::string* error) override;
    void SetFullscreen(bool fullscreen) override;
    bool IsFullscreen() const override { return fullscreen_; }
    uint32_t BackBufferWidth() const override { return width_; }
    uint32_t BackBufferHeight() const override { return height_; }
    void PumpEvents(FrameEventSink* sink) override;
    void Present() override;
    void Idle() override;
    void PaintWindowText(const char* text) override;
    uint32_t Ticks() override;
    int64_t CalendarSeconds() override;
    int32_t DesktopWidth() override;
    void ShowErrorBox(const char* title, const char* text) override;
    void GetCursorPos(Point* p) override;
    void SetCursorPos(int32_t x, int32_t y) override;
    void SetCursorVisible(bool visible) override;
    bool OpenAudio(Mixer* mixer, uint32_t rate) override;
    void CloseAudio() override;

    // ---- for tests and tools ----
    // The logical back buffer as ARGB texels, row 0 at the top.
    bool ReadBackBuffer(std::vector<uint32_t>* argb);
    GlDevice* GetGlDevice() { return device_.get(); }
    bool VsyncActive() const { return vsync_; }
    // Frame pacing in Present (on by default).
    void SetFramePacing(bool on) { pacing_ = on; }
    bool RelativeMouse() const { return relative_; }
    // Window pixels <-> logical back-buffer pixels (letter-box aware).
    Point WindowToLogical(int32_t x, int32_t y) const;
    Point LogicalToWindow(int32_t x, int32_t y) const;

private:
    struct Box { int32_t x, y, w, h; };
    Box Letterbox(int32_t outerW, int32_t outerH) const;
    bool CreateFramebuffer();
    void DestroyFramebuffer();
    void ShowBackBuffer();
    void PaceFrame();
    void EnterRelative();
    void LeaveRelative();
    bool HasFocus() const;
    Point PointerInLogical() const;
    void WarpPointer(Point logical);
    // Returns false once the window is gone (the sink closed the program).
    bool HandleEvent(const SDL_Event& e, FrameEventSink* sink);

    bool videoOk_ = false;
    std::string initError_;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    uint32_t fbo_ = 0, colorBuffer_ = 0, depthBuffer_ = 0;
    uint32_t width_ = 800, height_ = 600;
    bool vsync_ = false;
    bool terminationReported_ = false;
    bool fullscreen_ = false;
    std::unique_ptr<GlDevice> device_;
    _TTF_Font* paintFont_ = nullptr;

    bool pacing_ = true;
    std::chrono::steady_clock::time_point nextFrame_{};

    Point cursor_{0, 0};      // logical cursor while the pointer is hidden
    bool relative_ = false;
    bool hideThisFrame_ = false;
    // Where the last warp put the pointer (window pixels): its motion event is not mouse input.
    struct PendingWarp {
        bool active;
        int32_t x, y;
        int pumps;
    } warp_{false, 0, 0, 0};

    uint32_t audioDevice_ = 0;
};

}  // namespace plat
