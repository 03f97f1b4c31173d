// A fresh temporary folder made the working directory for one test (game paths resolve inside it).
#pragma once
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <vector>

class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/lakeside_scratch_XXXXXX";
        root_ = ::mkdtemp(pattern);
        char cwd[4096];
        old_ = ::getcwd(cwd, sizeof cwd) ? cwd : ".";
        // Work one level down so that "..\\" has something to reach.
        ::mkdir((root_ + "/game").c_str(), 0755);
        if (::chdir((root_ + "/game").c_str()) != 0) std::abort();
    }
    ~ScratchDir() {
        if (::chdir(old_.c_str()) != 0) std::abort();
        std::string cmd = "rm -rf '" + root_ + "'";
        if (std::system(cmd.c_str()) != 0) std::fprintf(stderr, "could not remove %s\n", root_.c_str());
    }
    // Writes a file relative to the game folder (forward slashes), making its folder.
    static void Write(const std::string& relPath, const std::vector<uint8_t>& bytes) {
        size_t slash = relPath.rfind('/');
        if (slash != std::string::npos) ::mkdir(relPath.substr(0, slash).c_str(), 0755);
        FILE* f = std::fopen(relPath.c_str(), "wb");
        if (!f) std::abort();
        if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    const std::string& Root() const { return root_; }

private:
    std::string root_, old_;
};
