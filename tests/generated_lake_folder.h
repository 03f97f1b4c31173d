// A scratch game folder whose media link to the generated ones, with its own photos folder.
#pragma once
#include <filesystem>
#include <string>
#include "scratch_dir.h"

struct GeneratedLakeFolder : ScratchDir {
    bool ok = true;
    explicit GeneratedLakeFolder(const std::string& gameDir) {
        namespace fs = std::filesystem;
        for (const char* sub : {"models", "textures", "data", "fonts", "sounds"}) {
            const fs::path from = fs::path(gameDir) / sub;
            if (fs::exists(from)) fs::create_directory_symlink(from, sub);
        }
        ok = fs::exists("models/lake.qd") && fs::exists("data/data.qd");
        fs::create_directories("photos");
    }
};
