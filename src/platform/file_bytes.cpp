// Reading a whole file into memory.
#include "file_bytes.h"
#include <cstdio>

namespace plat {

bool ReadFileBytes(const char* path, std::vector<uint8_t>* out, size_t limit) {
    out->clear();
    if (!path || !*path) return false;
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    uint8_t chunk[65536];
    bool ok = true;
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n > limit - out->size()) {
            ok = false;
            break;
        }
        out->insert(out->end(), chunk, chunk + n);
        if (n < sizeof chunk) {
            ok = !std::ferror(f);
            break;
        }
    }
    std::fclose(f);
    if (!ok) out->clear();
    return ok;
}

}  // namespace plat
