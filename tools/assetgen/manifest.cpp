// Manifest of the generated files (see manifest.h).
#include "manifest.h"

#include <sys/stat.h>

#include <cstdio>
#include <fstream>

namespace ag {
namespace {

const char* const SELF = "/proc/self/exe";

// Size, modification and change time of a file; "" when it is not a regular file.
std::string Stamp(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    char text[128];
    std::snprintf(text, sizeof text, "%lld %lld.%09ld %lld.%09ld", static_cast<long long>(st.st_size),
                  static_cast<long long>(st.st_mtim.tv_sec), st.st_mtim.tv_nsec,
                  static_cast<long long>(st.st_ctim.tv_sec), st.st_ctim.tv_nsec);
    return text;
}

}  // namespace

bool ManifestUpToDate(const std::string& path, const std::string& root) {
    std::ifstream in(path);
    std::string line;
    const std::string self = Stamp(SELF);
    if (self.empty() || !std::getline(in, line) || line != "generator\t" + self) return false;
    int files = 0;
    while (std::getline(in, line)) {
        const size_t tab = line.find('\t');
        if (tab == std::string::npos || Stamp(root + "/" + line.substr(0, tab)) != line.substr(tab + 1)) return false;
        ++files;
    }
    return files > 0;
}

bool WriteManifest(const std::string& path, const std::string& root, const std::vector<std::string>& files) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        out << "generator\t" << Stamp(SELF) << '\n';
        for (const std::string& f : files) out << f << '\t' << Stamp(root + "/" + f) << '\n';
        out.flush();
        if (!out) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

}  // namespace ag
