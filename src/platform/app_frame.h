// The application frame: owns the window, the device and the message loop, and calls the game's
// overridable operations at fixed points (start-up, device creation and reset, each frame, pause,
// window messages, close).
#pragma once
#include <cstdint>
#include <string>
#include "backend.h"
#include "d3d_types.h"
#include "device.h"

namespace plat {

class AppFrame : private FrameEventSink {
public:
    AppFrame();

    // The 16 virtual operations, in slot order.
    virtual HResult FitWindowToMode();
    virtual HResult UpdateFrameStats();
    virtual HResult CheckDevice(uint32_t behaviour);
    virtual HResult InitOnce();
    virtual HResult CreateDeviceResources();
    virtual HResult ResetDeviceResources();
    virtual HResult StepFrame();
    virtual HResult DrawFrame();
    virtual HResult LoseDeviceResources();
    virtual HResult FreeDeviceResources();
    virtual HResult Shutdown();
    virtual HResult StartUp();
    virtual int32_t RunLoop();
    virtual intptr_t HandleMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam);
    virtual void SetPaused(bool pause);
    virtual ~AppFrame();

    // One pass of the loop: pump events, then (unless paused) step, draw, stats, present.
    // Returns false once the program has closed.
    bool RunOneFrame();
    // Close as Escape does: release everything in order and end the loop.
    void Close();
    // Ends the program once the current frame is finished: shows the message (when not empty),
    // and RunLoop then returns the exit code. Safe to call from inside StepFrame or DrawFrame.
    void RequestClose(int32_t exitCode, const std::string& message);
    bool IsCloseRequested() const { return closeRequested_; }
    int32_t ExitCode() const { return exitCode_; }
    bool IsClosed() const { return closed_; }
    bool IsPaused() const { return pauseCount_ > 0; }
    uint32_t FramesRendered() const { return framesRendered_; }
    // Sends the window a paint message at once.
    void PaintNow();
    // Alt+Enter: windowed <-> full screen through a device reset.
    void ToggleFullscreen();
    // Reset as after a lost device: LoseDeviceResources, reset, ResetDeviceResources.
    bool ResetDevice();
    // For when the window system has gone away and no further window or device call can be
    // made: destroys the live frame (the game's destructor writes the save file) and ends the
    // process at once with the exit code.
    [[noreturn]] static void EndProcessNow(int32_t exitCode);

protected:
    // Settings the game hands over in its constructor.
    std::string windowTitle;
    int32_t windowWidth = 640;
    int32_t windowHeight = 480;
    int32_t usesDepthBuffer = 0;
    int32_t showDeviceCursor = 1;
    int32_t startFullscreenOption = 0;

    // What the game reads.
    WindowHandle windowHandle = nullptr;
    Device* device = nullptr;
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;

private:
    void OnCloseRequest() override;
    void OnToggleFullscreen() override;
    void OnActivate(bool active) override;
    void OnPaint() override;
    void OnTerminate(int32_t exitCode) override;
    void Fail(const std::string& what);

    bool deviceObjectsLive_ = false;
    bool deviceObjectsReset_ = false;
    bool closed_ = false;
    bool closeRequested_ = false;
    bool windowCreated_ = false;
    bool active_ = true;
    int32_t pauseCount_ = 0;
    uint32_t framesRendered_ = 0;
    int32_t exitCode_ = 0;
};

}  // namespace plat
