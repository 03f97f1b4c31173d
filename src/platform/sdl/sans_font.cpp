// The game's text face, sized by its character cell.
#include "sans_font.h"
#include <algorithm>
#include <cmath>
#include "platform/file_bytes.h"

namespace plat {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes (dropped).
const uint16_t CP1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendUtf8(std::string* out, uint32_t cp) {
    if (cp < 0x80) {
        out->push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Big-endian fields of the font file; callers check the bounds.
uint32_t U16(const std::vector<uint8_t>& d, size_t at) { return (uint32_t{d[at]} << 8) | d[at + 1]; }
uint32_t U32(const std::vector<uint8_t>& d, size_t at) { return (U16(d, at) << 16) | U16(d, at + 2); }

// Offset of a table whose first `need` bytes lie inside the file, or 0.
size_t FindTable(const std::vector<uint8_t>& d, const char tag[4], size_t need) {
    if (d.size() < 12) return 0;
    const size_t count = U16(d, 4);
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = 12 + 16 * i;
        if (entry + 16 > d.size()) return 0;
        if (d[entry] != static_cast<uint8_t>(tag[0]) || d[entry + 1] != static_cast<uint8_t>(tag[1]) ||
            d[entry + 2] != static_cast<uint8_t>(tag[2]) || d[entry + 3] != static_cast<uint8_t>(tag[3]))
            continue;
        const size_t offset = U32(d, entry + 8), length = U32(d, entry + 12);
        if (length < need || offset > d.size() || d.size() - offset < need) return 0;
        return offset;
    }
    return 0;
}

constexpr size_t FONT_FILE_LIMIT = 32u << 20;

TTF_Font* OpenAtPixelsPerEm(const std::string& path, int32_t ppem) {
    // At 72 dots per inch a point is a pixel.
    return TTF_OpenFontDPI(path.c_str(), ppem, 72, 72);
}
}  // namespace

std::string Cp1252ToUtf8(const char* text, int32_t count) {
    std::string out;
    if (!text) return out;
    for (int32_t i = 0; count < 0 || i < count; ++i) {
        uint8_t c = static_cast<uint8_t>(text[i]);
        if (c == 0 && count < 0) break;
        uint32_t cp = c;
        if (c >= 0x80 && c <= 0x9F) {
            cp = CP1252_HIGH[c - 0x80];
            if (cp == 0) continue;
        }
        if (cp == 0) continue;
        AppendUtf8(&out, cp);
    }
    return out;
}

std::vector<std::string> SansFontCandidates() {
    return {"fonts/sans.ttf", "/usr/share/wine/fonts/tahoma.ttf",
            "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"};
}

bool ReadFaceCellMetrics(const std::vector<uint8_t>& file, FaceCellMetrics* out) {
    const size_t head = FindTable(file, "head", 20);
    const size_t os2 = FindTable(file, "OS/2", 78);
    if (!head || !os2 || !out) return false;
    FaceCellMetrics m;
    m.unitsPerEm = static_cast<int32_t>(U16(file, head + 18));
    m.winAscent = static_cast<int32_t>(U16(file, os2 + 74));
    m.winDescent = static_cast<int32_t>(U16(file, os2 + 76));
    if (m.unitsPerEm == 0 || m.winAscent + m.winDescent == 0) return false;
    *out = m;
    return true;
}

int32_t PixelsPerEmForCell(int32_t cellHeight, const FaceCellMetrics& metrics) {
    const int64_t cell = metrics.winAscent + metrics.winDescent;
    if (cellHeight < 1 || cell <= 0 || metrics.unitsPerEm <= 0) return 1;
    const int64_t ppem = (int64_t{cellHeight} * metrics.unitsPerEm + cell / 2) / cell;
    return static_cast<int32_t>(std::clamp<int64_t>(ppem, 1, 10000));
}

TTF_Font* OpenSansFont(int32_t cellHeight, std::string* error, int32_t* cellAscent) {
    if (!TTF_WasInit() && TTF_Init() != 0) {
        if (error) *error = std::string("font engine: ") + TTF_GetError();
        return nullptr;
    }
    if (cellHeight < 1) cellHeight = 1;
    std::string tried;
    for (const std::string& path : SansFontCandidates()) {
        std::vector<uint8_t> bytes;
        FaceCellMetrics metrics;
        TTF_Font* font = nullptr;
        int32_t ppem = 0;
        if (ReadFileBytes(path.c_str(), &bytes, FONT_FILE_LIMIT) && ReadFaceCellMetrics(bytes, &metrics)) {
            ppem = PixelsPerEmForCell(cellHeight, metrics);
            font = OpenAtPixelsPerEm(path, ppem);
        }
        if (font) {
            TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
            if (cellAscent)
                *cellAscent = static_cast<int32_t>(
                    (int64_t{ppem} * metrics.winAscent + metrics.unitsPerEm / 2) / metrics.unitsPerEm);
            return font;
        }
        tried += (tried.empty() ? "" : ", ") + path;
    }
    if (error) *error = "no text font could be opened (tried " + tried + ")";
    return nullptr;
}

}  // namespace plat
