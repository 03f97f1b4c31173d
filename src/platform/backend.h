// What a platform backend (SDL2 + OpenGL, or headless) supplies to the frame and the helpers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include "d3d_types.h"
#include "device.h"

namespace plat {

class Mixer;

// Frame-level events a backend reports while pumping its event queue.
class FrameEventSink {
public:
    virtual ~FrameEventSink() = default;
    virtual void OnCloseRequest() = 0;        // Escape, Alt+X, window close
    virtual void OnToggleFullscreen() = 0;    // Alt+Enter
    virtual void OnActivate(bool active) = 0; // focus gained / lost, restored / minimised
    virtual void OnPaint() = 0;               // window exposed
    // Asked to end from outside (a termination signal, the display gone): close in order and
    // end with this exit code.
    virtual void OnTerminate(int32_t exitCode) = 0;
};

class Backend {
public:
    virtual ~Backend() = default;

    virtual bool CreateMainWindow(const char* title, int32_t clientWidth, int32_t clientHeight,
                                  std::string* error) = 0;
    virtual void DestroyMainWindow() = 0;
    virtual WindowHandle Window() = 0;

    // Creates the one device (with a depth buffer) for the window. Owned by the backend.
    virtual Device* CreateDevice(std::string* error) = 0;
    virtual void DestroyDevice() = 0;
    // Returns every device state to its defaults; vertex buffers and textures survive.
    virtual bool ResetDevice(std::string* error) = 0;
    virtual void SetFullscreen(bool fullscreen) = 0;
    virtual bool IsFullscreen() const = 0;
    // Logical back buffer size: 800 x 600 whatever the window or screen.
    virtual uint32_t BackBufferWidth() const = 0;
    virtual uint32_t BackBufferHeight() const = 0;

    // Handles pending window and input events: input goes to the active InputActionManager,
    // frame events to the sink.
    virtual void PumpEvents(FrameEventSink* sink) = 0;
    // Shows the finished frame, paced to at most 60 frames a second.
    virtual void Present() = 0;
    // Sleeps briefly while the program is paused.
    virtual void Idle() = 0;
    // Paints a line of text centred in the window straight away (the loading message).
    virtual void PaintWindowText(const char* text) = 0;

    virtual uint32_t Ticks() = 0;
    // The calendar time in seconds since 1970.
    virtual int64_t CalendarSeconds() = 0;
    virtual int32_t DesktopWidth() = 0;
    virtual void ShowErrorBox(const char* title, const char* text) = 0;

    virtual void GetCursorPos(Point* p) = 0;
    virtual void SetCursorPos(int32_t x, int32_t y) = 0;
    virtual void SetCursorVisible(bool visible) = 0;

    // Audio output pulling from the mixer; false when no audio device can be opened.
    virtual bool OpenAudio(Mixer* mixer, uint32_t rate) = 0;
    virtual void CloseAudio() = 0;
};

// The backend in use. Programs install the SDL backend in main; tests install a headless one.
Backend* CurrentBackend();
void InstallBackend(std::unique_ptr<Backend> backend);

}  // namespace plat
