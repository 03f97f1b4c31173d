// Scan code table: main-row digits, minus, equals, arrows, F5 and the letters.
#include "sdl_keymap.h"

namespace plat {

KeyId KeyFromScancode(SDL_Scancode sc) {
    if (sc >= SDL_SCANCODE_A && sc <= SDL_SCANCODE_Z)
        return static_cast<KeyId>(static_cast<uint32_t>(KeyId::A) + (sc - SDL_SCANCODE_A));
    if (sc >= SDL_SCANCODE_1 && sc <= SDL_SCANCODE_9)
        return static_cast<KeyId>(static_cast<uint32_t>(KeyId::Num1) + (sc - SDL_SCANCODE_1));
    switch (sc) {
        case SDL_SCANCODE_0: return KeyId::Num0;
        case SDL_SCANCODE_MINUS: return KeyId::Minus;
        case SDL_SCANCODE_EQUALS: return KeyId::Equals;
        case SDL_SCANCODE_LEFT: return KeyId::Left;
        case SDL_SCANCODE_RIGHT: return KeyId::Right;
        case SDL_SCANCODE_UP: return KeyId::Up;
        case SDL_SCANCODE_DOWN: return KeyId::Down;
        case SDL_SCANCODE_F5: return KeyId::F5;
        default: return KeyId::None;
    }
}

}  // namespace plat
