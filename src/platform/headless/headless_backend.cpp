// The headless backend: a pretend window of 800 x 600, scripted input and a fixed clock.
#include "headless_backend.h"
#include <ctime>
#include "platform/system.h"

namespace plat {

HeadlessBackend::HeadlessBackend() : calendarSeconds(static_cast<int64_t>(std::time(nullptr))) {}
HeadlessBackend::~HeadlessBackend() = default;

bool HeadlessBackend::CreateMainWindow(const char*, int32_t, int32_t, std::string* error) {
    events.push_back("CreateMainWindow");
    if (failWindow) {
        if (error) *error = "scripted window failure";
        return false;
    }
    window_ = true;
    return true;
}

void HeadlessBackend::DestroyMainWindow() {
    events.push_back("DestroyMainWindow");
    window_ = false;
}

WindowHandle HeadlessBackend::Window() { return window_ ? this : nullptr; }

Device* HeadlessBackend::CreateDevice(std::string* error) {
    events.push_back("CreateDevice");
    if (failDevice) {
        if (error) *error = "scripted device failure";
        return nullptr;
    }
    device_ = std::make_unique<HeadlessDevice>();
    return device_.get();
}

void HeadlessBackend::DestroyDevice() {
    events.push_back("DestroyDevice");
    // Kept alive so tests can inspect the counts after shut-down.
}

bool HeadlessBackend::ResetDevice(std::string*) {
    events.push_back("ResetDevice");
    if (device_) device_->ResetState();
    return true;
}

void HeadlessBackend::SetFullscreen(bool fullscreen) {
    events.push_back(fullscreen ? "Fullscreen" : "Windowed");
    fullscreen_ = fullscreen;
}

void HeadlessBackend::PumpEvents(FrameEventSink* sink) {
    while (!script_.empty()) {
        auto step = std::move(script_.front());
        script_.pop_front();
        step(sink);
    }
}

void HeadlessBackend::Present() {
    ++presents;
    if (msPerFrame) AdvanceTickCount(msPerFrame);
}

void HeadlessBackend::PaintWindowText(const char* text) { paintedTexts.emplace_back(text ? text : ""); }

uint32_t HeadlessBackend::Ticks() { return GetTickCount(); }

void HeadlessBackend::ShowErrorBox(const char*, const char* text) { errorBoxes.emplace_back(text ? text : ""); }

void HeadlessBackend::GetCursorPos(Point* p) { *p = cursor_; }

void HeadlessBackend::SetCursorPos(int32_t x, int32_t y) { cursor_ = {x, y}; }

void HeadlessBackend::SetCursorVisible(bool visible) { cursorVisible = visible; }

bool HeadlessBackend::OpenAudio(Mixer* mixer, uint32_t) {
    if (failAudio) return false;
    mixer_ = mixer;
    return true;
}

void HeadlessBackend::CloseAudio() { mixer_ = nullptr; }

void HeadlessBackend::QueueKey(KeyId key, bool down) {
    script_.push_back([key, down](FrameEventSink*) {
        if (InputActionManager* m = InputActionManager::Active()) m->OnKey(key, down, GetTickCount());
    });
}

void HeadlessBackend::QueueMouseButton(int button, bool down) {
    script_.push_back([button, down](FrameEventSink*) {
        if (InputActionManager* m = InputActionManager::Active()) m->OnMouseButton(button, down, GetTickCount());
    });
}

void HeadlessBackend::QueueMouseMotion(int32_t dx, int32_t dy) {
    script_.push_back([dx, dy](FrameEventSink*) {
        if (InputActionManager* m = InputActionManager::Active()) m->OnMouseMotion(dx, dy, GetTickCount());
    });
}

void HeadlessBackend::QueueClose() {
    script_.push_back([](FrameEventSink* sink) { sink->OnCloseRequest(); });
}

void HeadlessBackend::QueueTerminate(int32_t exitCode) {
    script_.push_back([exitCode](FrameEventSink* sink) { sink->OnTerminate(exitCode); });
}

void HeadlessBackend::QueueToggleFullscreen() {
    script_.push_back([](FrameEventSink* sink) { sink->OnToggleFullscreen(); });
}

void HeadlessBackend::QueueActivate(bool active) {
    script_.push_back([active](FrameEventSink* sink) {
        if (!active)
            if (InputActionManager* m = InputActionManager::Active()) m->OnFocusLost(GetTickCount());
        sink->OnActivate(active);
    });
}

HeadlessBackend* InstallHeadlessBackend(uint32_t startTick) {
    SetFixedTickCount(startTick);
    auto backend = std::make_unique<HeadlessBackend>();
    HeadlessBackend* raw = backend.get();
    InstallBackend(std::move(backend));
    return raw;
}

}  // namespace plat
