// Operating-system services the game uses: tick counter, the 15-bit random generator,
// game file paths, the cursor and simple window queries.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "d3d_types.h"

namespace plat {

// Milliseconds since an arbitrary start, 32-bit, wrapping.
uint32_t GetTickCount();
// Tests: replace the clock. A null function restores the real one.
void SetTickSource(uint32_t (*source)());
void SetFixedTickCount(uint32_t now);   // convenience: clock frozen at `now` until changed
void AdvanceTickCount(uint32_t ms);     // moves the fixed clock on

// The calendar time in seconds since 1970, from the backend (the real clock without one).
int64_t CalendarSeconds();

// The runtime's 15-bit linear congruential generator (0..32767, initial state 1).
int GameRand();
void GameSrand(uint32_t seed);
uint32_t GameRandState();
void SetGameRandState(uint32_t state);
constexpr int GAME_RAND_MAX = 32767;

// Maps a game path such as "textures\intro.bmp" to a path under the working directory
// ("textures/intro.bmp"). Names are matched case-blind per component when the exact name is
// missing. Returns an empty string for a path that would leave the game folder
// (absolute paths, "..", drive letters).
std::string ResolveGamePath(const char* gamePath);
// fopen of a game path; null when the path is refused or cannot be opened.
FILE* OpenGameFile(const char* gamePath, const char* mode);

// The game's layout was made for a framed window at the desktop's top-left corner: an 800 x 600
// picture inside 4-pixel borders under a 30-pixel caption (top border included). The game is shown
// that outer rectangle, and the pointer's screen position, so what it measures from the outer
// corner lands on the picture; backends deal in picture pixels only.
constexpr int32_t WINDOW_FRAME_LEFT = 4;
constexpr int32_t WINDOW_FRAME_TOP = 30;
constexpr int32_t WINDOW_FRAME_RIGHT = 4;
constexpr int32_t WINDOW_FRAME_BOTTOM = 4;

// Cursor in screen pixels: the position on the picture plus the frame's left border and caption.
void GetCursorPos(Point* p);
void SetCursorPos(int32_t x, int32_t y);
// SetCursor(false): hide the pointer for this frame (the lake screens); it reappears on a frame
// that does not hide it.
void SetCursorVisible(bool visible);

// Width of the desktop in pixels.
int32_t DesktopWidth();
// The game window's outer rectangle on the screen: (0, 0) to the picture's size plus the frame
// (808 x 634 around the 800 x 600 picture).
Rect GameWindowRect();

// Shows a fatal-error message (message box in the real program, stderr line in any case).
void ShowErrorBox(const char* title, const char* text);

}  // namespace plat
