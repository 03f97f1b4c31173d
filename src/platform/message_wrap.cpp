// Wrapping the text of a message box to the width of the game window.
#include "message_wrap.h"
#include <vector>

namespace plat {

namespace {

std::vector<std::string> Split(const std::string& text, char at) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(at, start);
        parts.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

}  // namespace

std::string WrapText(const std::string& text, int32_t maxWidth,
                     const std::function<int32_t(const std::string&)>& width) {
    std::string out;
    const std::vector<std::string> lines = Split(text, '\n');
    for (size_t l = 0; l < lines.size(); ++l) {
        if (l) out += '\n';
        std::string line;
        for (std::string word : Split(lines[l], ' ')) {
            if (word.empty()) continue;
            if (!line.empty() && width(line + ' ' + word) <= maxWidth) {
                line += ' ' + word;
                continue;
            }
            if (!line.empty()) {
                out += line + '\n';
                line.clear();
            }
            // A word too wide for a line of its own is broken where the line is full.
            while (word.size() > 1 && width(word) > maxWidth) {
                size_t fits = 1;
                while (fits < word.size() && width(word.substr(0, fits + 1)) <= maxWidth) ++fits;
                out += word.substr(0, fits) + '\n';
                word.erase(0, fits);
            }
            line = word;
        }
        out += line;
    }
    return out;
}

std::string WrapForMessageBox(const std::string& text, int32_t windowWidth) {
    return WrapText(text, windowWidth - MESSAGE_BOX_MARGINS, [](const std::string& s) {
        return static_cast<int32_t>(s.size()) * MESSAGE_BOX_CHARACTER_WIDTH;
    });
}

}  // namespace plat
