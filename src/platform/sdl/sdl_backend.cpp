// SDL2 + OpenGL backend (placeholder until it lands).
#include "sdl_backend.h"

namespace plat {
std::unique_ptr<Backend> CreateSdlBackend() { return nullptr; }
}
