// The generic application frame over a backend: start-up, loop, reset, pause and close sequences.
#include "app_frame.h"
#include <unistd.h>
#include <atomic>
#include <cstdio>
#include "system.h"

namespace plat {

namespace {
AppFrame* g_liveFrame = nullptr;
std::atomic<bool> g_ending{false};
}  // namespace

AppFrame::AppFrame() { g_liveFrame = this; }
AppFrame::~AppFrame() {
    if (g_liveFrame == this) g_liveFrame = nullptr;
}

void AppFrame::EndProcessNow(int32_t exitCode) {
    // Only the first caller destroys the frame; anyone else (another thread, or a failure inside
    // the destructor) just ends.
    if (!g_ending.exchange(true) && g_liveFrame) {
        AppFrame* frame = g_liveFrame;
        frame->~AppFrame();
    }
    std::fflush(nullptr);
    _exit(exitCode);
}

HResult AppFrame::FitWindowToMode() { return OK; }
HResult AppFrame::UpdateFrameStats() { return OK; }
HResult AppFrame::CheckDevice(uint32_t) { return OK; }
HResult AppFrame::InitOnce() { return OK; }
HResult AppFrame::CreateDeviceResources() { return OK; }
HResult AppFrame::ResetDeviceResources() { return OK; }
HResult AppFrame::StepFrame() { return OK; }
HResult AppFrame::DrawFrame() { return OK; }
HResult AppFrame::LoseDeviceResources() { return OK; }
HResult AppFrame::FreeDeviceResources() { return OK; }
HResult AppFrame::Shutdown() { return OK; }

intptr_t AppFrame::HandleMessage(WindowHandle, uint32_t message, uintptr_t, intptr_t) {
    if (message == MSG_CLOSE) Close();
    return 0;
}

void AppFrame::SetPaused(bool pause) {
    if (pause) {
        ++pauseCount_;
    } else if (pauseCount_ > 0) {
        --pauseCount_;
    }
}

void AppFrame::Fail(const std::string& what) {
    std::string text = what.empty() ? std::string("The game could not start.") : what;
    ShowErrorBox(windowTitle.c_str(), text.c_str());
}

HResult AppFrame::StartUp() {
    Backend* backend = CurrentBackend();
    if (!backend) {
        Fail("No platform backend is installed.");
        return FAIL;
    }
    // Device enumeration: one device setting is offered, with a depth buffer.
    if (Failed(CheckDevice(0))) {
        Fail("No usable 3-D device was found.");
        return FAIL;
    }
    std::string error;
    if (!backend->CreateMainWindow(windowTitle.c_str(), windowWidth, windowHeight, &error)) {
        Fail("Could not create the window: " + error);
        return FAIL;
    }
    windowCreated_ = true;
    windowHandle = backend->Window();
    if (Failed(InitOnce())) {
        Fail("The game's one-time set-up failed.");
        return FAIL;
    }
    device = backend->CreateDevice(&error);
    if (!device) {
        Fail("Could not create the 3-D device: " + error);
        return FAIL;
    }
    backBufferWidth = backend->BackBufferWidth();
    backBufferHeight = backend->BackBufferHeight();
    deviceObjectsLive_ = true;
    if (Failed(CreateDeviceResources())) {
        Fail("Could not create the device resources.");
        return FAIL;
    }
    deviceObjectsReset_ = true;
    if (Failed(ResetDeviceResources())) {
        Fail("Could not set up the device (a text font could not be made).");
        return FAIL;
    }
    SetPaused(false);
    return OK;
}

void AppFrame::PaintNow() { HandleMessage(windowHandle, MSG_PAINT, 0, 0); }

void AppFrame::OnPaint() { HandleMessage(windowHandle, MSG_PAINT, 0, 0); }

void AppFrame::OnCloseRequest() { HandleMessage(windowHandle, MSG_CLOSE, 0, 0); }

void AppFrame::OnTerminate(int32_t exitCode) {
    // An exit code already asked for (a fatal error being shown) stays.
    if (!closeRequested_) exitCode_ = exitCode;
    closeRequested_ = true;
    OnCloseRequest();
}

void AppFrame::OnActivate(bool active) {
    HandleMessage(windowHandle, MSG_ACTIVATEAPP, active ? 1 : 0, 0);
    if (active == active_) return;
    active_ = active;
    SetPaused(!active);
}

void AppFrame::OnToggleFullscreen() { ToggleFullscreen(); }

bool AppFrame::ResetDevice() {
    Backend* backend = CurrentBackend();
    if (!device || !backend) return false;
    if (deviceObjectsReset_) {
        LoseDeviceResources();
        deviceObjectsReset_ = false;
    }
    std::string error;
    if (!backend->ResetDevice(&error)) {
        Fail("Could not reset the 3-D device: " + error);
        Close();
        return false;
    }
    backBufferWidth = backend->BackBufferWidth();
    backBufferHeight = backend->BackBufferHeight();
    if (Failed(ResetDeviceResources())) {
        Fail("Could not set up the device again (a text font could not be made).");
        Close();
        return false;
    }
    deviceObjectsReset_ = true;
    return true;
}

void AppFrame::ToggleFullscreen() {
    Backend* backend = CurrentBackend();
    if (!backend || !device) return;
    SetPaused(true);
    backend->SetFullscreen(!backend->IsFullscreen());
    FitWindowToMode();
    bool ok = ResetDevice();
    SetPaused(false);
    (void)ok;
}

void AppFrame::Close() {
    if (closed_) return;
    closed_ = true;
    Backend* backend = CurrentBackend();
    if (device) {
        if (deviceObjectsReset_) {
            LoseDeviceResources();
            deviceObjectsReset_ = false;
        }
        if (deviceObjectsLive_) {
            FreeDeviceResources();
            deviceObjectsLive_ = false;
        }
        if (backend) backend->DestroyDevice();
        device = nullptr;
    }
    Shutdown();
    if (windowCreated_ && backend) backend->DestroyMainWindow();
    windowCreated_ = false;
    windowHandle = nullptr;
}

void AppFrame::RequestClose(int32_t exitCode, const std::string& message) {
    if (!message.empty()) ShowErrorBox(windowTitle.c_str(), message.c_str());
    if (!closeRequested_) exitCode_ = exitCode;
    closeRequested_ = true;
}

bool AppFrame::RunOneFrame() {
    Backend* backend = CurrentBackend();
    if (closed_ || !backend) return false;
    backend->PumpEvents(this);
    if (closed_) return false;
    if (IsPaused() || !device) {
        backend->Idle();
        return true;
    }
    StepFrame();
    if (closed_) return false;
    DrawFrame();
    UpdateFrameStats();
    backend->Present();
    ++framesRendered_;
    if (closeRequested_) Close();
    return !closed_;
}

int32_t AppFrame::RunLoop() {
    while (RunOneFrame()) {
    }
    if (!closed_) Close();
    return exitCode_;
}

}  // namespace plat
