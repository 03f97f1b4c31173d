// Text for the GL backend: rendered text drawn as screen-space quads over the picture.
#pragma once
#include <cstdint>
#include <string>
#include <vector>
#include "platform/d3d_types.h"
#include "sans_font.h"

namespace plat {

// A line (or lines) of white text whose alpha is the antialiased coverage, in a GL texture.
struct TextImage {
    uint32_t texture = 0;
    int32_t width = 0, height = 0;
};
TextImage RenderTextImage(TTF_Font* font, const std::string& utf8);
void DeleteTextImage(TextImage* image);

// GL state for a 2-D pass over a width x height target, origin top-left, one pixel per unit.
void SetupScreenPass(uint32_t width, uint32_t height);
// Top-left corner of a width x height text placed in rect by DT_CENTER / DT_VCENTER
// (otherwise top-left aligned).
Point PlaceText(const Rect& rect, uint32_t format, int32_t width, int32_t height);
// Draws the image with its top-left at (x, y), clipped to clip, tinted by the ARGB colour.
void DrawTextImage(const TextImage& image, int32_t x, int32_t y, const Rect& clip, uint32_t argb);

}  // namespace plat
