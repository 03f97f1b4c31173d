// Requests from outside to end the program. A termination signal is only noted here (safe in a
// signal handler); the backend's event pump turns it into an orderly close, and a modal error box
// gives way to it. A lost display connection cannot be survived by the window system's library,
// so it ends the program at once, the save file written.
#pragma once
#include <cstdint>

struct SDL_Window;

namespace plat {

// Catches SIGTERM, SIGINT and SIGHUP for this process. Call before SDL starts its video (SDL is
// told to leave the signals alone).
void WatchTerminationSignals();

// When the connection to the window's X display breaks, the game is destroyed (writing its save
// file) and the process ends with exit code 1, instead of the display library ending it without
// a save. A process forked from this one (a message box) just ends. Nothing on other window
// systems.
void WatchDisplayConnection(SDL_Window* window);

// 0 while no termination signal came; otherwise 128 + the signal's number, the exit code to end
// with.
int32_t TerminationExitCode();

}  // namespace plat
