// SDL2 backend: window and GL context, logical back buffer, events, cursor, pacing and audio.
#include "sdl_backend.h"
#include <SDL.h>
#include <SDL_ttf.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <thread>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include "gl_api.h"
#include "gl_device.h"
#include "gl_text.h"
#include "platform/input.h"
#include "platform/message_wrap.h"
#include "platform/sound.h"
#include "sdl_keymap.h"
#include "termination.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LAKESIDE_LEAK_CHECKER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) && !defined(LAKESIDE_LEAK_CHECKER)
#define LAKESIDE_LEAK_CHECKER 1
#endif
#ifdef LAKESIDE_LEAK_CHECKER
#include <dlfcn.h>
#include <link.h>
#endif

namespace plat {

namespace {
constexpr std::chrono::microseconds FRAME_PERIOD(16667);  // at most 60 frames a second

void AudioCallback(void* userdata, Uint8* stream, int len) {
    static_cast<Mixer*>(userdata)->Render(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(len) / 4);
}

// In builds with the leak checker: keeps the OpenGL driver modules loaded until the process ends,
// so that the allocations they keep for themselves are traced to them when the leak check runs
// at exit (and not to an unloaded module), and can be told apart from leaks of the game's.
void KeepGlDriversLoaded() {
#ifdef LAKESIDE_LEAK_CHECKER
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "_dri.so"))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
#endif
}

// Ends the processes that one thread of ours started (a message box runs in one).
void EndChildrenOfThread(long tid) {
    if (tid <= 0) return;
    std::ifstream in("/proc/self/task/" + std::to_string(tid) + "/children");
    long pid = 0;
    while (in >> pid)
        if (pid > 0) kill(static_cast<pid_t>(pid), SIGKILL);
}

int GlMajorVersion() {
    const char* v = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return v ? std::atoi(v) : 0;
}
}  // namespace

std::unique_ptr<Backend> CreateSdlBackend() { return std::make_unique<SdlBackend>(); }

SdlBackend::SdlBackend() {
#ifdef __GLIBC__
    // A software GL renderer frees and re-allocates its working memory at every state change;
    // handed back to the system each time, it costs a page-fault storm (up to 10x the frame
    // time). Keep freed memory in the process instead.
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
    // Termination signals end the game in order (the save file written), also while a message
    // box waits.
    WatchTerminationSignals();
    // Video is opened at once: the game asks for the desktop width before it makes its window.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) == 0) {
        videoOk_ = true;
        // With no display SDL falls back to an invisible driver; unless asked for, that is no display.
        const char* driver = SDL_GetCurrentVideoDriver();
        bool invisible = driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
        if (invisible && !std::getenv("SDL_VIDEODRIVER")) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            videoOk_ = false;
            initError_ = "no display found";
        }
    } else {
        initError_ = std::string("no display: ") + SDL_GetError();
    }
}

SdlBackend::~SdlBackend() {
    CloseAudio();
    DestroyMainWindow();
    if (TTF_WasInit()) TTF_Quit();
    SDL_Quit();
}

// ---------------------------------------------------------------- window and device

bool SdlBackend::CreateMainWindow(const char* title, int32_t clientWidth, int32_t clientHeight,
                                  std::string* error) {
    if (!videoOk_) {
        if (error) *error = initError_;
        return false;
    }
    if (window_) return true;
    width_ = static_cast<uint32_t>(std::max(1, clientWidth));
    height_ = static_cast<uint32_t>(std::max(1, clientHeight));
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    window_ = SDL_CreateWindow(title ? title : "", 0, 0, clientWidth, clientHeight, SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (!window_) {
        if (error) *error = SDL_GetError();
        return false;
    }
    context_ = SDL_GL_CreateContext(window_);
    KeepGlDriversLoaded();
    if (!context_) {
        if (error) *error = std::string("no OpenGL context: ") + SDL_GetError();
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    SDL_GL_MakeCurrent(window_, context_);
    WatchDisplayConnection(window_);
    vsync_ = SDL_GL_SetSwapInterval(1) == 0;
    if (!CreateFramebuffer()) {
        // Without framebuffer objects the window itself is the back buffer (windowed only).
        glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    }
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_StopTextInput();
    cursor_ = Point{static_cast<int32_t>(width_ / 2), static_cast<int32_t>(height_ / 2)};
    return true;
}

bool SdlBackend::CreateFramebuffer() {
    if (GlMajorVersion() < 3 && !SDL_GL_ExtensionSupported("GL_ARB_framebuffer_object")) return false;
    GLuint fbo = 0, rb[2] = {0, 0};
    glGenFramebuffers(1, &fbo);
    glGenRenderbuffers(2, rb);
    glBindRenderbuffer(GL_RENDERBUFFER, rb[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    glBindRenderbuffer(GL_RENDERBUFFER, rb[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, static_cast<GLsizei>(width_),
                          static_cast<GLsizei>(height_));
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb[1]);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteRenderbuffers(2, rb);
        return false;
    }
    fbo_ = fbo;
    colorBuffer_ = rb[0];
    depthBuffer_ = rb[1];
    glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    return true;
}

void SdlBackend::DestroyFramebuffer() {
    if (!fbo_) return;
    GLuint fbo = fbo_, rb[2] = {colorBuffer_, depthBuffer_};
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &fbo);
    glDeleteRenderbuffers(2, rb);
    fbo_ = colorBuffer_ = depthBuffer_ = 0;
}

void SdlBackend::DestroyMainWindow() {
    if (!window_) return;
    DestroyDevice();
    if (relative_) SDL_SetRelativeMouseMode(SDL_FALSE);
    relative_ = false;
    SDL_ShowCursor(SDL_ENABLE);
    if (paintFont_ && TTF_WasInit()) TTF_CloseFont(paintFont_);
    paintFont_ = nullptr;
    DestroyFramebuffer();
    SDL_GL_DeleteContext(context_);
    context_ = nullptr;
    SDL_DestroyWindow(window_);
    window_ = nullptr;
    fullscreen_ = false;
}

Device* SdlBackend::CreateDevice(std::string* error) {
    if (!context_) {
        if (error) *error = "no window";
        return nullptr;
    }
    if (!device_) device_ = std::make_unique<GlDevice>(width_, height_);
    return device_.get();
}

void SdlBackend::DestroyDevice() { device_.reset(); }

bool SdlBackend::ResetDevice(std::string* error) {
    if (!device_) {
        if (error) *error = "no device";
        return false;
    }
    device_->ResetState();
    return true;
}

void SdlBackend::SetFullscreen(bool fullscreen) {
    if (!window_ || fullscreen == fullscreen_) return;
    if (SDL_SetWindowFullscreen(window_, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return;
    fullscreen_ = fullscreen;
    if (!fullscreen) {
        SDL_SetWindowSize(window_, static_cast<int>(width_), static_cast<int>(height_));
        SDL_SetWindowPosition(window_, 0, 0);
    }
}

// ---------------------------------------------------------------- showing frames

SdlBackend::Box SdlBackend::Letterbox(int32_t outerW, int32_t outerH) const {
    if (outerW <= 0 || outerH <= 0) return Box{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    double scale = std::min(static_cast<double>(outerW) / width_, static_cast<double>(outerH) / height_);
    int32_t w = static_cast<int32_t>(width_ * scale + 0.5), h = static_cast<int32_t>(height_ * scale + 0.5);
    return Box{(outerW - w) / 2, (outerH - h) / 2, w, h};
}

void SdlBackend::ShowBackBuffer() {
    if (!window_) return;
    if (fbo_) {
        int dw = 0, dh = 0;
        SDL_GL_GetDrawableSize(window_, &dw, &dh);
        Box b = Letterbox(dw, dh);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        // Setting a viewport on the window is what makes some drivers notice a new window size.
        glViewport(0, 0, dw, dh);
        if (b.w != dw || b.h != dh) {
            glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
        }
        bool same = b.w == static_cast<int32_t>(width_) && b.h == static_cast<int32_t>(height_);
        glBlitFramebuffer(0, 0, static_cast<GLint>(width_), static_cast<GLint>(height_), b.x, dh - b.y - b.h,
                          b.x + b.w, dh - b.y, GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
        glViewport(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_));
    }
    SDL_GL_SwapWindow(window_);
}

void SdlBackend::PaceFrame() {
    using clock = std::chrono::steady_clock;
    auto now = clock::now();
    if (!pacing_) return;
    if (nextFrame_ == clock::time_point{} || now - nextFrame_ > FRAME_PERIOD) {
        nextFrame_ = now + FRAME_PERIOD;  // first frame, or after a stall
        return;
    }
    // With vsync the swap already waited; only sleep when clearly early.
    auto slack = vsync_ ? std::chrono::microseconds(2000) : std::chrono::microseconds(0);
    if (now + slack < nextFrame_) std::this_thread::sleep_until(nextFrame_);
    nextFrame_ += FRAME_PERIOD;
}

void SdlBackend::Present() {
    if (!window_) return;
    if (device_) device_->EndScene();
    ShowBackBuffer();
    if (device_) device_->FrameShown();  // the frame's time ends with the swap, before the pacing
    PaceFrame();
    // A frame that did not hide the pointer shows it again.
    if (relative_ && !hideThisFrame_) LeaveRelative();
    hideThisFrame_ = false;
}

void SdlBackend::Idle() { SDL_Delay(16); }

void SdlBackend::PaintWindowText(const char* text) {
    if (!window_ || !context_) return;
    if (!paintFont_) paintFont_ = OpenSansFont(16, nullptr);
    if (device_) {
        device_->BeginOverlay();
    } else {
        SetupScreenPass(width_, height_);
    }
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    TextImage image = RenderTextImage(paintFont_, Cp1252ToUtf8(text, -1));
    Rect all{0, 0, static_cast<int32_t>(width_), static_cast<int32_t>(height_)};
    Point at = PlaceText(all, DT_CENTER | DT_VCENTER | DT_SINGLELINE, image.width, image.height);
    DrawTextImage(image, at.x, at.y, all, 0xFF000000u);
    DeleteTextImage(&image);
    if (device_) device_->EndOverlay();
    ShowBackBuffer();
}

bool SdlBackend::ReadBackBuffer(std::vector<uint32_t>* argb) {
    if (!window_ || !argb) return false;
    if (device_) device_->Flush();
    argb->assign(static_cast<size_t>(width_) * height_, 0);
    std::vector<uint32_t> rows(argb->size());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, rows.data());
    if (fbo_) glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    for (uint32_t y = 0; y < height_; ++y)
        std::memcpy(&(*argb)[static_cast<size_t>(y) * width_], &rows[static_cast<size_t>(height_ - 1 - y) * width_],
                    width_ * sizeof(uint32_t));
    return true;
}

// ---------------------------------------------------------------- events

void SdlBackend::PumpEvents(FrameEventSink* sink) {
    if (const int32_t code = TerminationExitCode()) {
        if (!terminationReported_) {
            terminationReported_ = true;
            sink->OnTerminate(code);
        }
        return;
    }
    SDL_Event e;
    while (window_ && SDL_PollEvent(&e)) {
        if (!HandleEvent(e, sink)) break;
    }
    if (warp_.active && ++warp_.pumps > 3) warp_.active = false;  // that warp made no event
}

bool SdlBackend::HandleEvent(const SDL_Event& e, FrameEventSink* sink) {
    InputActionManager* input = InputActionManager::Active();
    switch (e.type) {
        case SDL_QUIT:
            sink->OnCloseRequest();
            return window_ != nullptr;
        case SDL_KEYDOWN: {
            if (e.key.repeat) break;
            SDL_Scancode sc = e.key.keysym.scancode;
            bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
            if (sc == SDL_SCANCODE_ESCAPE) {
                sink->OnCloseRequest();
                return window_ != nullptr;
            }
            if (alt && (sc == SDL_SCANCODE_RETURN || sc == SDL_SCANCODE_KP_ENTER)) {
                sink->OnToggleFullscreen();
                return window_ != nullptr;
            }
            KeyId key = KeyFromScancode(sc);
            if (key != KeyId::None && input) input->OnKey(key, true, e.key.timestamp);
            if (alt && sc == SDL_SCANCODE_X) {
                sink->OnCloseRequest();
                return window_ != nullptr;
            }
            break;
        }
        case SDL_KEYUP: {
            KeyId key = KeyFromScancode(e.key.keysym.scancode);
            if (key != KeyId::None && input) input->OnKey(key, false, e.key.timestamp);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            int button = e.button.button == SDL_BUTTON_LEFT ? 0 : e.button.button == SDL_BUTTON_RIGHT ? 1 : -1;
            if (button >= 0 && input) input->OnMouseButton(button, e.type == SDL_MOUSEBUTTONDOWN, e.button.timestamp);
            break;
        }
        case SDL_MOUSEMOTION:
            if (!relative_ && warp_.active && e.motion.x == warp_.x && e.motion.y == warp_.y) {
                warp_.active = false;  // our own warp, not a movement of the mouse
                break;
            }
            if (relative_) {
                // The hidden pointer still moves, within the picture.
                cursor_.x = std::clamp(cursor_.x + e.motion.xrel, 0, static_cast<int32_t>(width_) - 1);
                cursor_.y = std::clamp(cursor_.y + e.motion.yrel, 0, static_cast<int32_t>(height_) - 1);
            }
            if (input) input->OnMouseMotion(e.motion.xrel, e.motion.yrel, e.motion.timestamp);
            break;
        case SDL_WINDOWEVENT:
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE:
                    sink->OnCloseRequest();
                    return window_ != nullptr;
                case SDL_WINDOWEVENT_FOCUS_LOST:
                case SDL_WINDOWEVENT_MINIMIZED:
                    if (input) input->OnFocusLost(e.window.timestamp);
                    sink->OnActivate(false);
                    return window_ != nullptr;
                case SDL_WINDOWEVENT_FOCUS_GAINED:
                case SDL_WINDOWEVENT_RESTORED:
                    sink->OnActivate(true);
                    return window_ != nullptr;
                case SDL_WINDOWEVENT_EXPOSED:
                    sink->OnPaint();
                    // Show the last finished picture again (frames stop while paused).
                    if (window_) ShowBackBuffer();
                    return window_ != nullptr;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return true;
}

// ---------------------------------------------------------------- cursor

bool SdlBackend::HasFocus() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

Point SdlBackend::WindowToLogical(int32_t x, int32_t y) const {
    int ww = static_cast<int>(width_), wh = static_cast<int>(height_);
    if (window_) SDL_GetWindowSize(window_, &ww, &wh);
    Box b = Letterbox(ww, wh);
    if (b.w <= 0 || b.h <= 0) return Point{x, y};
    auto map = [](int32_t v, int32_t origin, int32_t span, uint32_t logical) {
        return static_cast<int32_t>(std::floor((static_cast<double>(v) - origin) * logical / span));
    };
    return Point{map(x, b.x, b.w, width_), map(y, b.y, b.h, height_)};
}

Point SdlBackend::LogicalToWindow(int32_t x, int32_t y) const {
    int ww = static_cast<int>(width_), wh = static_cast<int>(height_);
    if (window_) SDL_GetWindowSize(window_, &ww, &wh);
    Box b = Letterbox(ww, wh);
    return Point{b.x + static_cast<int32_t>((x + 0.5) * b.w / width_),
                 b.y + static_cast<int32_t>((y + 0.5) * b.h / height_)};
}

Point SdlBackend::PointerInLogical() const {
    if (!window_) return cursor_;
    // Over our window, the position from the event queue is the fresh one (the global query can
    // answer from a stale cache on X11); elsewhere ask for the pointer's place on the screen.
    if (SDL_GetMouseFocus() == window_) {
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        return WindowToLogical(x, y);
    }
    int gx = 0, gy = 0, wx = 0, wy = 0;
    SDL_GetGlobalMouseState(&gx, &gy);
    SDL_GetWindowPosition(window_, &wx, &wy);
    return WindowToLogical(gx - wx, gy - wy);
}

void SdlBackend::GetCursorPos(Point* p) {
    if (!p) return;
    *p = relative_ ? cursor_ : PointerInLogical();
}

void SdlBackend::SetCursorPos(int32_t x, int32_t y) {
    cursor_ = Point{x, y};
    // With the pointer hidden (relative mode) a warp would show up as mouse movement: only the
    // logical cursor moves then.
    if (!relative_ && HasFocus()) WarpPointer(cursor_);
}

void SdlBackend::WarpPointer(Point logical) {
    Point w = LogicalToWindow(logical.x, logical.y);
    SDL_WarpMouseInWindow(window_, w.x, w.y);
    warp_ = PendingWarp{true, w.x, w.y, 0};
}

void SdlBackend::SetCursorVisible(bool visible) {
    if (visible) {
        hideThisFrame_ = false;
        if (relative_) LeaveRelative();
    } else {
        hideThisFrame_ = true;
        if (!relative_) EnterRelative();
    }
}

void SdlBackend::EnterRelative() {
    cursor_ = PointerInLogical();
    cursor_.x = std::clamp(cursor_.x, 0, static_cast<int32_t>(width_) - 1);
    cursor_.y = std::clamp(cursor_.y, 0, static_cast<int32_t>(height_) - 1);
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) SDL_ShowCursor(SDL_DISABLE);
    relative_ = true;
}

void SdlBackend::LeaveRelative() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    SDL_ShowCursor(SDL_ENABLE);
    relative_ = false;
    // The pointer comes back where the hidden one was.
    if (HasFocus()) WarpPointer(cursor_);
}

// ---------------------------------------------------------------- system

uint32_t SdlBackend::Ticks() { return static_cast<uint32_t>(SDL_GetTicks()); }
int64_t SdlBackend::CalendarSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

int32_t SdlBackend::DesktopWidth() {
    if (!videoOk_) return 1024;
    int index = window_ ? SDL_GetWindowDisplayIndex(window_) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(index < 0 ? 0 : index, &mode) != 0) return 1024;
    return mode.w;
}

void SdlBackend::ShowErrorBox(const char* title, const char* text) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) return;  // nowhere to show it
    if (TerminationExitCode() != 0) return;  // already ending: nobody will read it
    // The box waits for OK on a thread of its own, so that a termination signal or the loss of
    // the display can end the wait here and the program can close in order.
    struct Shown {
        std::atomic<bool> done{false};
        std::atomic<long> tid{0};
    };
    auto shown = std::make_shared<Shown>();
    // The box is centred on the window and as wide as its longest line: lines that fit the window
    // keep all of it on screen.
    std::thread box([shown, t = std::string(title ? title : "Error"),
                     m = WrapForMessageBox(text ? text : "", static_cast<int32_t>(width_)), parent = window_] {
        shown->tid = static_cast<long>(syscall(SYS_gettid));
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, t.c_str(), m.c_str(), parent);
        shown->done = true;
    });
    using namespace std::chrono_literals;
    while (!shown->done && TerminationExitCode() == 0) std::this_thread::sleep_for(20ms);
    // Asked to end: take the box down (on X11 it is a process of its own) and wait a little for
    // its thread, which may still be starting it.
    for (int i = 0; i < 100 && !shown->done; ++i) {
        EndChildrenOfThread(shown->tid);
        std::this_thread::sleep_for(20ms);
    }
    if (shown->done) {
        box.join();
    } else {
        box.detach();  // a box that cannot be taken down goes when the process ends
    }
}

// ---------------------------------------------------------------- audio

bool SdlBackend::OpenAudio(Mixer* mixer, uint32_t rate) {
    if (!mixer || rate == 0) return false;
    CloseAudio();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = static_cast<int>(rate);
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = AudioCallback;
    want.userdata = mixer;
    // No changes allowed: SDL converts to whatever the device wants.
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    audioDevice_ = id;
    SDL_PauseAudioDevice(id, 0);
    return true;
}

void SdlBackend::CloseAudio() {
    if (!audioDevice_) return;
    SDL_CloseAudioDevice(audioDevice_);
    audioDevice_ = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace plat
