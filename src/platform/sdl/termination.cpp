// Termination signals and display loss.
#include "termination.h"
#include <dlfcn.h>
#include <signal.h>
#include <unistd.h>
#include <SDL_hints.h>
#include <SDL_syswm.h>
#include <cstdio>
#include <initializer_list>
#include "platform/app_frame.h"

namespace plat {

namespace {
volatile sig_atomic_t g_signal = 0;
pid_t g_owner = 0;  // the game's process; a process forked from it (a message box) is not it

void OnSignal(int signal) {
    if (g_signal == 0) g_signal = signal;
}

// Xlib calls this when a display connection breaks; it must not return (Xlib would end the
// process). Further calls on the display could wait for ever, so none is made.
int OnDisplayLost(void*) {
    if (getpid() != g_owner) _exit(1);
    std::fprintf(stderr, "The connection to the display was lost: the game ends.\n");
    AppFrame::EndProcessNow(1);
}

using IoErrorHandler = int (*)(void*);
using SetIoErrorHandlerFn = IoErrorHandler (*)(IoErrorHandler);
}  // namespace

void WatchTerminationSignals() {
    g_owner = getpid();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction sa {};
    sa.sa_handler = OnSignal;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
}

void WatchDisplayConnection(SDL_Window* window) {
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    if (!window || !SDL_GetWindowWMInfo(window, &wm) || wm.subsystem != SDL_SYSWM_X11) return;
    if (g_owner == 0) g_owner = getpid();
    // The display library is already loaded (by SDL and the GL driver); never load it here.
    void* lib = dlopen("libX11.so.6", RTLD_LAZY | RTLD_NOLOAD);
    if (!lib) return;
    if (auto set = reinterpret_cast<SetIoErrorHandlerFn>(dlsym(lib, "XSetIOErrorHandler"))) set(OnDisplayLost);
    dlclose(lib);  // still loaded by its other users
}

int32_t TerminationExitCode() { return g_signal != 0 ? 128 + g_signal : 0; }

}  // namespace plat
