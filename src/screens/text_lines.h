// Fixed lines of text of the title and instructions screens, and their shared foot lines.
#pragma once
#include <cstdint>

// One line of text at (x %, y %) of the client size in one of the three fonts.
struct TextLine {
    double x, y;
    int32_t font;
    const char* text;
};

constexpr const char* GAME_FOOTER_LINE = "QUELLAN : a Lakeside game";
constexpr const char* VENUE_FOOTER_LINE = "Harrowmere Fisheries : Wendlow Lake";
