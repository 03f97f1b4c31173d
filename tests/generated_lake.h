// A scratch game folder whose media link to the generated ones (LAKESIDE_GAME_DIR), with a photos
// folder of its own, for tests that play on the generated lake.
#pragma once
#include <filesystem>
#include "scratch_dir.h"

struct GeneratedLakeFolder : ScratchDir {
    bool ok = true;  // the lake model and the stock file are there
    GeneratedLakeFolder() {
        namespace fs = std::filesystem;
        for (const char* sub : {"models", "textures", "data", "fonts", "sounds"}) {
            const fs::path from = fs::path(LAKESIDE_GAME_DIR) / sub;
            if (fs::exists(from)) fs::create_directory_symlink(from, sub);
        }
        ok = fs::exists("models/lake.qd") && fs::exists("data/data.qd");
        fs::create_directories("photos");
    }
};
