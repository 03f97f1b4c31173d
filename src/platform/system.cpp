// Tick counter, the 15-bit random generator, game paths and the backend registry.
#include "system.h"
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <chrono>
#include <cstring>
#include <ctime>
#include <vector>
#include "backend.h"

namespace plat {

namespace {
std::unique_ptr<Backend> g_backend;
uint32_t (*g_tickSource)() = nullptr;
uint32_t g_fixedTick = 0;
uint32_t g_randState = 1;

uint32_t FixedTick() { return g_fixedTick; }

uint32_t MonotonicTicks() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

Backend* CurrentBackend() { return g_backend.get(); }
void InstallBackend(std::unique_ptr<Backend> backend) { g_backend = std::move(backend); }

uint32_t GetTickCount() {
    if (g_tickSource) return g_tickSource();
    if (g_backend) return g_backend->Ticks();
    return MonotonicTicks();
}
void SetTickSource(uint32_t (*source)()) { g_tickSource = source; }
void SetFixedTickCount(uint32_t now) {
    g_fixedTick = now;
    g_tickSource = &FixedTick;
}
void AdvanceTickCount(uint32_t ms) { g_fixedTick += ms; }

int64_t CalendarSeconds() {
    return g_backend ? g_backend->CalendarSeconds() : static_cast<int64_t>(std::time(nullptr));
}

int GameRand() {
    g_randState = g_randState * 214013u + 2531011u;
    return static_cast<int>((g_randState >> 16) & 0x7FFFu);
}
void GameSrand(uint32_t seed) { g_randState = seed; }
uint32_t GameRandState() { return g_randState; }
void SetGameRandState(uint32_t state) { g_randState = state; }

namespace {
bool Exists(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0;
}

// Finds `name` inside directory `dir` ignoring case; empty when not there.
std::string FindCaseBlind(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (::strcasecmp(e->d_name, name.c_str()) == 0) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}
}  // namespace

std::string ResolveGamePath(const char* gamePath) {
    if (!gamePath || !*gamePath) return {};
    std::string p(gamePath);
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p[0] == '/' || (p.size() > 1 && p[1] == ':')) return {};
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= p.size()) {
        size_t slash = p.find('/', start);
        if (slash == std::string::npos) slash = p.size();
        std::string part = p.substr(start, slash - start);
        if (part == "..") return {};
        if (!part.empty() && part != ".") parts.push_back(part);
        start = slash + 1;
    }
    if (parts.empty()) return {};
    std::string joined;
    for (size_t i = 0; i < parts.size(); ++i) joined += (i ? "/" : "") + parts[i];
    if (Exists(joined)) return joined;
    // Case-blind match, one component at a time.
    std::string dir;
    for (size_t i = 0; i < parts.size(); ++i) {
        std::string candidate = dir.empty() ? parts[i] : dir + "/" + parts[i];
        if (!Exists(candidate)) {
            std::string match = FindCaseBlind(dir, parts[i]);
            if (!match.empty()) candidate = dir.empty() ? match : dir + "/" + match;
        }
        dir = candidate;
    }
    return dir;
}

FILE* OpenGameFile(const char* gamePath, const char* mode) {
    std::string p = ResolveGamePath(gamePath);
    if (p.empty()) return nullptr;
    return std::fopen(p.c_str(), mode);
}

void GetCursorPos(Point* p) {
    if (g_backend) {
        g_backend->GetCursorPos(p);
    } else {
        p->x = p->y = 0;
    }
    p->x += WINDOW_FRAME_LEFT;
    p->y += WINDOW_FRAME_TOP;
}
void SetCursorPos(int32_t x, int32_t y) {
    if (g_backend) g_backend->SetCursorPos(x - WINDOW_FRAME_LEFT, y - WINDOW_FRAME_TOP);
}
void SetCursorVisible(bool visible) {
    if (g_backend) g_backend->SetCursorVisible(visible);
}
int32_t DesktopWidth() { return g_backend ? g_backend->DesktopWidth() : 1024; }
Rect GameWindowRect() {
    int32_t width = 800, height = 600;
    if (g_backend) {
        width = static_cast<int32_t>(g_backend->BackBufferWidth());
        height = static_cast<int32_t>(g_backend->BackBufferHeight());
    }
    return Rect{0, 0, width + WINDOW_FRAME_LEFT + WINDOW_FRAME_RIGHT, height + WINDOW_FRAME_TOP + WINDOW_FRAME_BOTTOM};
}
void ShowErrorBox(const char* title, const char* text) {
    std::fprintf(stderr, "%s: %s\n", title ? title : "Error", text ? text : "");
    if (g_backend) g_backend->ShowErrorBox(title, text);
}

}  // namespace plat
