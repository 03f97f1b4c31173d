// Quoting bytes read from a file in a message: printable text only.
#include "common/printable_text.h"
#include <cstdio>

std::string PrintableText(std::string_view bytes, size_t maxBytes) {
    std::string shown;
    const std::string_view kept = bytes.substr(0, maxBytes);
    for (const char c : kept) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '\\') {
            shown.push_back(c);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            shown += escaped;
        }
    }
    if (kept.size() < bytes.size()) shown += "...";
    return shown;
}
