// The game's text face: finding the font file, Windows-1252 to UTF-8, and opening the face at a
// character cell height the way the system sizes its fonts. Needs SDL_ttf only (no window or GL).
#pragma once
#include <SDL_ttf.h>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// The game's 8-bit strings (Windows-1252) as UTF-8. count < 0: up to the terminating zero.
std::string Cp1252ToUtf8(const char* text, int32_t count);

// Font files tried in order: the game folder's copy, then the packaged faces it is made from.
std::vector<std::string> SansFontCandidates();

// The vertical metrics of a TrueType face that decide its size for a cell height, in font units.
struct FaceCellMetrics {
    int32_t unitsPerEm = 0;
    int32_t winAscent = 0;   // OS/2 usWinAscent
    int32_t winDescent = 0;  // OS/2 usWinDescent
};
// Reads them from a TrueType / OpenType file's 'head' and 'OS/2' tables. False when the data is
// no such file, a table is missing or cut short, or a value is zero.
bool ReadFaceCellMetrics(const std::vector<uint8_t>& file, FaceCellMetrics* out);

// The whole pixels per em that make the face's cell (winAscent + winDescent) `cellHeight` pixels
// tall, rounded to the nearest as the system does; at least 1.
int32_t PixelsPerEmForCell(int32_t cellHeight, const FaceCellMetrics& metrics);

// Opens the first font file that opens, sized so that its cell (winAscent + winDescent) is
// `cellHeight` pixels, with light hinting: glyphs keep the face's own advance widths. Null when no
// font file can be opened; *error says why. *cellAscent (optional) is the cell's ascent in pixels:
// the system puts the baseline that far below the top of the cell.
TTF_Font* OpenSansFont(int32_t cellHeight, std::string* error, int32_t* cellAscent = nullptr);

}  // namespace plat
