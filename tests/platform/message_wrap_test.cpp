// Wrapping error messages so that the message box fits the game window.
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>
#include "platform/message_wrap.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::stringstream s(text);
    for (std::string word; s >> word;) words.push_back(word);
    return words;
}

}  // namespace

// The box of a damaged lake model was 912 to 1,066 pixels wide on the 800-pixel window, its first
// and last words off screen. Wrapped, it fits: measured with the font the X server gives the box
// on the test display (misc-fixed, 7 by 13 pixels, the box 2 x 15 pixels wider than its text) and
// with a 12-point proportional face at 100 dots an inch (under 9 pixels a character on average,
// 19-pixel lines).
TEST(MessageWrap, ALongErrorFitsTheWindowWithEveryWordInOrder) {
    const std::string messages[] = {
        "The lake could not be loaded: models\\lake.qd: number 131073 of the file, "
        "\"\\x07\\xFE\\xFF\\x00abcdefghijklmnopqrstu...\", is not a finite number (insect swarm record 99, "
        "swarm type).\nThe game will close.",
        "The lake cannot be stocked: the stock file data/data.qd cannot be read: it is larger than the 131072 "
        "bytes such a file can hold.\nThe game will close.",
    };
    for (const std::string& message : messages) {
        const std::string wrapped = plat::WrapForMessageBox(message, 800);
        const std::vector<std::string> lines = Lines(wrapped);
        ASSERT_GE(lines.size(), 3u) << wrapped;
        for (const std::string& line : lines) {
            const int chars = static_cast<int>(line.size());
            EXPECT_LE(chars * 7 + 2 * 15, 800) << line;
            EXPECT_LE(chars * 9 + 2 * 19, 800) << line;
            EXPECT_FALSE(line.empty());
        }
        EXPECT_EQ(lines.front().substr(0, 4), "The ");
        EXPECT_EQ(lines.back(), "The game will close.");  // its own line stays
        EXPECT_EQ(Words(wrapped), Words(message));
    }
}

TEST(MessageWrap, BreaksAtSpacesAndInsideOnlyAWordTooLongForALine) {
    auto width = [](const std::string& s) { return static_cast<int32_t>(s.size()) * 10; };
    EXPECT_EQ(plat::WrapText("one two three four", 90, width), "one two\nthree\nfour");
    EXPECT_EQ(plat::WrapText("ab abcdefghijklmnopqrstuvwxyz cd", 100, width), "ab\nabcdefghij\nklmnopqrst\nuvwxyz cd");
    EXPECT_EQ(plat::WrapText("short\n\nkept", 100, width), "short\n\nkept");
    EXPECT_EQ(plat::WrapText("", 100, width), "");
}
