// Wrapping the text of a message box to the width of the game window.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

namespace plat {

// Breaks each line of `text` at spaces so that no line is wider than `maxWidth` as `width`
// measures it; a word wider than that alone is broken inside. Line breaks already in the text
// stay; every word is kept, in order.
std::string WrapText(const std::string& text, int32_t maxWidth,
                     const std::function<int32_t(const std::string&)>& width);

// The width of a character of the font the system's message box draws in (a 12-point face); no
// character of the faces the X server offers for it at 75 or 100 dots an inch is wider on average.
constexpr int32_t MESSAGE_BOX_CHARACTER_WIDTH = 10;
// Room the box takes beside its text, on both sides together.
constexpr int32_t MESSAGE_BOX_MARGINS = 60;

// `text` wrapped for a message box that is to fit a window `windowWidth` pixels wide.
std::string WrapForMessageBox(const std::string& text, int32_t windowWidth);

}  // namespace plat
