// A fresh temporary folder made the working directory for one test (game paths resolve inside it).
#pragma once
#include <unistd.h>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/lakeside_scratch_XXXXXX";
        const char* made = ::mkdtemp(pattern);
        if (!made) std::abort();
        root_ = made;
        old_ = std::filesystem::current_path();
        // Work one level down so that "..\\" has something to reach.
        std::filesystem::create_directories(root_ + "/game");
        std::filesystem::current_path(root_ + "/game");
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(root_, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    // Writes a file relative to the game folder (forward slashes), making its folder.
    static void WriteText(const std::string& relPath, const std::string& text) {
        std::filesystem::path p(relPath);
        if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
        std::ofstream(relPath, std::ios::binary) << text;
    }
    static void Write(const std::string& relPath, const std::vector<uint8_t>& bytes) {
        WriteText(relPath, std::string(bytes.begin(), bytes.end()));
    }

private:
    std::string root_;
    std::filesystem::path old_;
};
