// Text rendering with SDL_ttf into GL textures, drawn as clipped screen-space quads.
#include "gl_text.h"
#include <algorithm>
#include "gl_api.h"

namespace plat {

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
