// Text rendering with SDL_ttf into GL textures, drawn as clipped screen-space quads.
#include "gl_text.h"
#include <algorithm>
#include <cmath>
#include "gl_api.h"

namespace plat {

namespace {
// Windows-1252 0x80..0x9F; 0 marks the five unassigned bytes (dropped).
const uint16_t kCp1252High[32] = {
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

TTF_Font* OpenAtQuarterPixels(const std::string& path, int32_t quarterPpem) {
    // Size in points at 18 dpi: a quarter of a pixel per point.
    return TTF_OpenFontDPI(path.c_str(), quarterPpem, 18, 18);
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
            cp = kCp1252High[c - 0x80];
            if (cp == 0) continue;
        }
        if (cp == 0) continue;
        AppendUtf8(&out, cp);
    }
    return out;
}

std::vector<std::string> SansFontCandidates() {
    return {"fonts/sans.ttf", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"};
}

TTF_Font* OpenSansFont(int32_t cellHeight, std::string* error) {
    if (!TTF_WasInit() && TTF_Init() != 0) {
        if (error) *error = std::string("font engine: ") + TTF_GetError();
        return nullptr;
    }
    if (cellHeight < 1) cellHeight = 1;
    std::string tried;
    for (const std::string& path : SansFontCandidates()) {
        // The cell height per pixel of em size, measured at a large size.
        TTF_Font* probe = TTF_OpenFontDPI(path.c_str(), 1000, 72, 72);
        if (!probe) {
            tried += (tried.empty() ? "" : ", ") + path;
            continue;
        }
        double ratio = TTF_FontHeight(probe) / 1000.0;
        TTF_CloseFont(probe);
        if (ratio <= 0.0) continue;
        int32_t quarter = std::max(1, static_cast<int32_t>(std::floor(cellHeight / ratio * 4.0)));
        TTF_Font* font = OpenAtQuarterPixels(path, quarter);
        // Rounding inside the font engine may overshoot by a pixel: step down until it fits.
        while (font && TTF_FontHeight(font) > cellHeight && quarter > 1) {
            TTF_CloseFont(font);
            font = OpenAtQuarterPixels(path, --quarter);
        }
        if (font) return font;
    }
    if (error) *error = "no text font could be opened (tried " + tried + ")";
    return nullptr;
}

TextImage RenderTextImage(TTF_Font* font, const std::string& utf8) {
    TextImage image;
    if (!font || utf8.empty()) return image;
    SDL_Color white{255, 255, 255, 255};
    SDL_Surface* s = utf8.find('\n') != std::string::npos
                         ? TTF_RenderUTF8_Blended_Wrapped(font, utf8.c_str(), white, 0)
                         : TTF_RenderUTF8_Blended(font, utf8.c_str(), white);
    if (!s) return image;
    SDL_Surface* argb = s;
    if (s->format->format != SDL_PIXELFORMAT_ARGB8888) argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
    if (argb) {
        GLuint tex = 0;
        glGenTextures(1, &tex);
        glBindTexture(GL_TEXTURE_2D, tex);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, argb->pitch / 4);
        SDL_LockSurface(argb);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, argb->w, argb->h, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                     argb->pixels);
        SDL_UnlockSurface(argb);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        image.texture = tex;
        image.width = argb->w;
        image.height = argb->h;
        if (argb != s) SDL_FreeSurface(argb);
    }
    SDL_FreeSurface(s);
    return image;
}

void DeleteTextImage(TextImage* image) {
    if (image->texture) {
        GLuint tex = image->texture;
        glDeleteTextures(1, &tex);
    }
    *image = TextImage{};
}

void SetupScreenPass(uint32_t width, uint32_t height) {
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_FOG);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glShadeModel(GL_SMOOTH);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, width, height, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

Point PlaceText(const Rect& rect, uint32_t format, int32_t width, int32_t height) {
    Point p{rect.left, rect.top};
    if (format & DT_CENTER) p.x = rect.left + (rect.right - rect.left - width) / 2;
    if (format & DT_VCENTER) p.y = rect.top + (rect.bottom - rect.top - height) / 2;
    return p;
}

void DrawTextImage(const TextImage& image, int32_t x, int32_t y, const Rect& clip, uint32_t argb) {
    if (!image.texture || image.width <= 0 || image.height <= 0) return;
    int32_t x0 = std::max(x, clip.left), y0 = std::max(y, clip.top);
    int32_t x1 = std::min(x + image.width, clip.right), y1 = std::min(y + image.height, clip.bottom);
    if (x0 >= x1 || y0 >= y1) return;
    float s0 = static_cast<float>(x0 - x) / image.width, s1 = static_cast<float>(x1 - x) / image.width;
    float t0 = static_cast<float>(y0 - y) / image.height, t1 = static_cast<float>(y1 - y) / image.height;
    glBindTexture(GL_TEXTURE_2D, image.texture);
    glColor4ub(static_cast<GLubyte>(argb >> 16), static_cast<GLubyte>(argb >> 8), static_cast<GLubyte>(argb),
               static_cast<GLubyte>(argb >> 24));
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2i(x0, y0);
    glTexCoord2f(s1, t0);
    glVertex2i(x1, y0);
    glTexCoord2f(s1, t1);
    glVertex2i(x1, y1);
    glTexCoord2f(s0, t1);
    glVertex2i(x0, y1);
    glEnd();
}

}  // namespace plat
