// assetgen: writes the game's textures, sounds, lake model and stock file into a game folder,
// and a contact sheet of the textures next to it. With --manifest it first checks the files it
// listed last time and writes nothing when all of them are unchanged.
#include <sys/stat.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lake.h"
#include "manifest.h"
#include "sounds.h"
#include "stock.h"
#include "textures.h"

namespace ag {
void WriteContactSheet(const std::vector<Texture>& textures, const std::string& path);
void WriteLakePreview(const Lake& lake, const std::string& path);
}

namespace {

bool MakeDir(const std::string& p) { return ::mkdir(p.c_str(), 0755) == 0 || errno == EEXIST; }

bool WriteFile(const std::string& path, const void* data, size_t size) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) { std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str()); return false; }
    bool ok = std::fwrite(data, 1, size, f) == size;
    ok = std::fclose(f) == 0 && ok;
    if (!ok) std::fprintf(stderr, "assetgen: error writing %s\n", path.c_str());
    return ok;
}

std::string Parent(std::string p) {
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    size_t k = p.rfind('/');
    if (k == std::string::npos) return ".";
    return k == 0 ? "/" : p.substr(0, k);
}

}  // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "C");
    std::string out, preview, manifest;
    bool sheet = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--preview") == 0 && i + 1 < argc) preview = argv[++i];
        else if (std::strcmp(argv[i], "--manifest") == 0 && i + 1 < argc) manifest = argv[++i];
        else if (std::strcmp(argv[i], "--no-contact-sheet") == 0) sheet = false;
        else out = argv[i];
    }
    if (out.empty()) {
        std::fprintf(stderr,
                     "usage: assetgen [--no-contact-sheet] [--preview lake.png] [--manifest file] <game folder>\n");
        return 2;
    }
    while (out.size() > 1 && out.back() == '/') out.pop_back();
    if (!manifest.empty()) {
        if (ag::ManifestUpToDate(manifest, out)) return 0;
        std::remove(manifest.c_str());  // a run that stops half-way leaves no manifest
        std::printf("assetgen: generating textures, sounds, lake model and stock file in %s\n", out.c_str());
        std::fflush(stdout);
    }
    for (const char* d : {"", "/textures", "/sounds", "/models", "/data", "/photos"})
        if (!MakeDir(out + d)) { std::fprintf(stderr, "assetgen: cannot create %s%s\n", out.c_str(), d); return 1; }

    static ag::Lake lake;
    ag::BuildLake(lake);
    std::vector<std::string> problems = ag::CheckLake(lake);
    for (const std::string& p : problems) std::fprintf(stderr, "assetgen: lake check failed: %s\n", p.c_str());
    if (!preview.empty()) ag::WriteLakePreview(lake, preview);
    if (!problems.empty()) return 1;

    bool ok = true;
    std::vector<std::string> written;  // relative to the game folder
    auto write = [&](const std::string& rel, const void* data, size_t size) {
        ok &= WriteFile(out + "/" + rel, data, size);
        written.push_back(rel);
    };
    std::string model = ag::LakeModelText(lake);
    write("models/lake.qd", model.data(), model.size());
    std::string stock = ag::StockFileText(lake);
    write("data/data.qd", stock.data(), stock.size());

    ag::TextureList tex;
    ag::MakeTitleTextures(tex);
    ag::MakeMapTextures(tex);
    ag::MakeGroundTextures(tex);
    ag::MakeSceneryTextures(tex);
    ag::MakeWaterSkyTextures(tex);
    ag::MakeFishTextures(tex);
    ag::MakeTackleTextures(tex);
    for (const ag::Texture& t : tex) {
        std::vector<uint8_t> bytes = t.store == ag::Store::Tga32 ? ag::EncodeTga(t) : ag::EncodeBmp(t);
        write("textures/" + t.name, bytes.data(), bytes.size());
    }
    for (const char* name : ag::AllTextureNames()) {
        bool found = false;
        for (const ag::Texture& t : tex) found |= t.name == name;
        if (!found) { std::fprintf(stderr, "assetgen: texture %s was not made\n", name); ok = false; }
    }

    for (const ag::Wave& w : ag::MakeSounds()) {
        std::vector<uint8_t> bytes = ag::EncodeWav(w);
        write("sounds/" + w.name, bytes.data(), bytes.size());
    }
    if (sheet) ag::WriteContactSheet(tex, Parent(out) + "/contact_sheet.png");
    if (ok && !manifest.empty() && !ag::WriteManifest(manifest, out, written)) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", manifest.c_str());
        ok = false;
    }
    return ok ? 0 : 1;
}
