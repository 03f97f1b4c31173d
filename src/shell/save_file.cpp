// The save file photos\photos.qd: the 50 photo records and the 75 best weights, read once at
// start-up and written once at exit, one number per line.
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include "shell/game_app.h"
#include "common/number_token.h"

namespace {

const char* const SAVE_PATH = "photos\\photos.qd";
const char* const SAVE_FOLDER = "photos";
constexpr int VALUES_PER_PHOTO = 17;
constexpr int SAVE_VALUE_COUNT = PHOTO_SLOT_COUNT * VALUES_PER_PHOTO + GameApp::BEST_WEIGHT_COUNT;
// Longer tokens cannot be numbers the game wrote.
constexpr size_t MAX_TOKEN_LENGTH = 64;

// Numbers are read and written in the "C" locale whatever the user's locale is.
locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

// Switches this thread (only) to the "C" locale for its lifetime.
class CLocaleScope {
public:
    CLocaleScope() : previous_(CLocale() ? uselocale(CLocale()) : static_cast<locale_t>(0)) {}
    ~CLocaleScope() {
        if (previous_) uselocale(previous_);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

private:
    locale_t previous_;
};

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Whitespace-separated tokens of a file (any run of white space separates, CRLF included).
class TokenReader {
public:
    explicit TokenReader(FILE* f) : f_(f) {}
    // False at the end of the file.
    bool Next(std::string* token) {
        token->clear();
        int c = std::fgetc(f_);
        while (c != EOF && IsSpace(c)) c = std::fgetc(f_);
        if (c == EOF) return false;
        while (c != EOF && !IsSpace(c)) {
            if (token->size() <= MAX_TOKEN_LENGTH) token->push_back(static_cast<char>(c));
            c = std::fgetc(f_);
        }
        return true;
    }

private:
    FILE* f_;
};

// A whole token as a number; the reader cuts overlong tokens short, so those are never numbers.
bool ParseInt(const std::string& s, int32_t* out) {
    return s.size() <= MAX_TOKEN_LENGTH && ParseIntToken(s, out);
}
bool ParseFloat(const std::string& s, float* out) {
    return !s.empty() && s.size() <= MAX_TOKEN_LENGTH && ParseFloatToken(s, out);
}

// Reads values in file order, stopping for good at the end or at the first value that is not one.
class SaveReader {
public:
    explicit SaveReader(FILE* f) : tokens_(f) {}
    bool Int(int32_t* out) { return Take(ok_ && tokens_.Next(&token_) && ParseInt(token_, out)); }
    bool Float(float* out) { return Take(ok_ && tokens_.Next(&token_) && ParseFloat(token_, out)); }
    bool Flag(uint8_t* out) {
        int32_t v = 0;
        if (!Int(&v)) return false;
        *out = static_cast<uint8_t>(v & 0xFF);  // the low 8 bits, as stored
        return true;
    }
    int Count() const { return count_; }

private:
    bool Take(bool read) {
        ok_ = read;
        if (read) ++count_;
        return read;
    }
    TokenReader tokens_;
    std::string token_;
    bool ok_ = true;
    int count_ = 0;
};

// One record in file order (not field order). False when it could not be read whole.
bool ReadPhoto(SaveReader& in, PhotoRecord* p) {
    return in.Flag(&p->rod1Shown) && in.Flag(&p->rod2Shown) && in.Flag(&p->alarmRig) && in.Flag(&p->inUse) &&
           in.Float(&p->fishSize) && in.Float(&p->fishWeight) && in.Int(&p->swim) && in.Int(&p->fishKind) &&
           in.Float(&p->fishShape) && in.Float(&p->waterScroll[0]) && in.Float(&p->waterScroll[1]) &&
           in.Float(&p->waterScroll[2]) && in.Float(&p->eyeX) && in.Float(&p->eyeY) && in.Float(&p->eyeZ) &&
           in.Float(&p->heading) && in.Float(&p->pitch);
}

bool WriteInt(FILE* f, int32_t v) { return std::fprintf(f, "%d\n", v) > 0; }
bool WriteFloat(FILE* f, float v) { return std::fprintf(f, "%e\n", static_cast<double>(v)) > 0; }

bool WritePhoto(FILE* f, const PhotoRecord& p) {
    return WriteInt(f, p.rod1Shown) && WriteInt(f, p.rod2Shown) && WriteInt(f, p.alarmRig) &&
           WriteInt(f, p.inUse) && WriteFloat(f, p.fishSize) && WriteFloat(f, p.fishWeight) &&
           WriteInt(f, p.swim) && WriteInt(f, p.fishKind) && WriteFloat(f, p.fishShape) &&
           WriteFloat(f, p.waterScroll[0]) && WriteFloat(f, p.waterScroll[1]) && WriteFloat(f, p.waterScroll[2]) &&
           WriteFloat(f, p.eyeX) && WriteFloat(f, p.eyeY) && WriteFloat(f, p.eyeZ) && WriteFloat(f, p.heading) &&
           WriteFloat(f, p.pitch);
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

// Writes `path` through a temporary file beside it, which replaces the old file only once it is
// complete and on disk. On any failure the old file is left as it was and `error` says why.
bool ReplaceFile(const std::string& path, const std::function<bool(FILE*)>& writeBody, std::string* error) {
    const std::string temp = path + ".tmp" + std::to_string(static_cast<long>(::getpid()));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    struct stat old;
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);
    FILE* f = ::fdopen(fd, "w");
    if (!f) {
        *error = std::strerror(errno);
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    errno = 0;
    bool ok = writeBody(f) && std::fflush(f) == 0 && !std::ferror(f) && ::fsync(::fileno(f)) == 0;
    int failure = errno;
    if (std::fclose(f) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        failure = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        *error = failure ? std::strerror(failure) : "write error";
        return false;
    }
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool CopyRest(FILE* from, FILE* to) {
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (std::fwrite(buffer, 1, n, to) != n) return false;
    return !std::ferror(from);
}

}  // namespace

void GameApp::ReadSaveFile() {
    for (float& weight : bestWeight) weight = 0.0f;
    FILE* f = plat::OpenGameFile(SAVE_PATH, "r");
    if (!f) return;  // no save file yet: every photo slot empty, no best weights

    SaveReader in(f);
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) {
        PhotoRecord record{};
        if (!ReadPhoto(in, &record)) break;  // a record cut short is not a photo
        *photos[slot] = record;
    }
    for (float& weight : bestWeight)
        if (!in.Float(&weight)) break;

    // A file that did not give every value would lose the rest at the exit write: keep it aside.
    if (in.Count() < SAVE_VALUE_COUNT) {
        const std::string path = plat::ResolveGamePath(SAVE_PATH);
        const std::string badPath = path + ".bad";
        std::rewind(f);
        std::string error;
        if (ReplaceFile(badPath, [f](FILE* out) { return CopyRest(f, out); }, &error))
            std::fprintf(stderr, "lakeside: %s is damaged after %d of %d values; kept a copy as %s\n", path.c_str(),
                         in.Count(), SAVE_VALUE_COUNT, badPath.c_str());
        else
            std::fprintf(stderr, "lakeside: %s is damaged after %d of %d values; could not copy it to %s: %s\n",
                         path.c_str(), in.Count(), SAVE_VALUE_COUNT, badPath.c_str(), error.c_str());
    }
    std::fclose(f);

    // The photos in use belong at the front of the slots, in their order.
    int next = 0;
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) {
        if (!photos[slot]->inUse) continue;
        if (slot != next) {
            *photos[next] = *photos[slot];
            *photos[slot] = PhotoRecord{};
        }
        ++next;
    }
}

void GameApp::WriteSaveFile() {
    const std::string folder = plat::ResolveGamePath(SAVE_FOLDER);
    struct stat st;
    if (!folder.empty() && ::stat(folder.c_str(), &st) != 0) ::mkdir(folder.c_str(), 0755);
    const std::string path = plat::ResolveGamePath(SAVE_PATH);
    if (path.empty()) return;

    std::string error;
    const bool saved = ReplaceFile(path,
                                   [this](FILE* f) {
                                       CLocaleScope cLocale;
                                       for (const PhotoRecord* photo : photos)
                                           if (!WritePhoto(f, photo ? *photo : PhotoRecord{})) return false;
                                       for (float weight : bestWeight)
                                           if (!WriteFloat(f, weight)) return false;
                                       return true;
                                   },
                                   &error);
    if (!saved)
        std::fprintf(stderr, "lakeside: could not save the photos and best weights to %s (%s); the previous file is kept\n",
                     path.c_str(), error.c_str());
}
