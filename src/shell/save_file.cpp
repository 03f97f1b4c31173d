// The save file photos\photos.qd: the 50 photo records and the 75 best weights, read once at
// start-up and written once at exit, one number per line.
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <dirent.h>
#include <signal.h>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include "shell/game_app.h"
#include "common/number_token.h"
#include "platform/file_bytes.h"
#include "shell/save_file.h"

namespace {

const char* const SAVE_PATH = "photos\\photos.qd";
const char* const SAVE_FOLDER = "photos";
constexpr int SAVE_VALUE_COUNT = SAVE_FILE_VALUE_COUNT;
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
    // Whether anything but white space is left.
    bool MoreLeft() {
        std::string rest;
        return tokens_.Next(&rest);
    }

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

// The first of `base`, `base`1 ... `base`99 that names nothing yet ("" when all are taken).
std::string FreeName(const std::string& base) {
    for (int n = 0; n < 100; ++n) {
        const std::string name = n ? base + std::to_string(n) : base;
        struct stat st;
        if (::lstat(name.c_str(), &st) != 0 && errno == ENOENT) return name;
    }
    return {};
}

// Writes `path` through a temporary file beside it, which replaces the old file only once it is
// complete and on disk, and after `beforeReplace` (if given) has succeeded. On any failure the old
// file is left where it was and `error` says why.
bool ReplaceFile(const std::string& path, const std::function<bool(FILE*)>& writeBody, std::string* error,
                 const std::function<bool()>& beforeReplace = nullptr) {
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
    if (ok && beforeReplace && !beforeReplace()) {
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

// The file a path names in the end, following symbolic links (also one that points at nothing
// yet); the path itself when it is no link or the links go round in circles.
std::string FollowLinks(const std::string& path) {
    std::string at = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st;
        if (::lstat(at.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return at;
        char target[4096];
        const ssize_t n = ::readlink(at.c_str(), target, sizeof target - 1);
        if (n <= 0) return at;
        target[n] = '\0';
        at = target[0] == '/' ? std::string(target) : DirectoryOf(at) + "/" + target;
    }
    return path;
}

// Digits only, at least one.
bool AllDigits(const std::string& s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process number in the name of a temporary file the save makes beside `base`
// (base + [".bad" or ".new" + digits] + ".tmp" + pid), or 0 when the name is not one of those.
long TemporaryFilePid(const std::string& name, const std::string& base) {
    if (name.compare(0, base.size(), base) != 0) return 0;
    std::string rest = name.substr(base.size());
    for (const char* kept : {".bad", ".new"}) {
        if (rest.compare(0, 4, kept) == 0) {
            size_t digits = 4;
            while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
            rest = rest.substr(digits);
            break;
        }
    }
    if (rest.compare(0, 4, ".tmp") != 0) return 0;
    const std::string pid = rest.substr(4);
    if (!AllDigits(pid) || pid.size() > 9) return 0;
    return std::strtol(pid.c_str(), nullptr, 10);
}

// Removes the temporary files a save cut short by a kill left beside `path`. A file whose process
// is still running (another game saving right now) is left alone; so is one whose number a later
// process has taken meanwhile, until that process ends.
void RemoveStaleTemporaryFiles(const std::string& path) {
    const std::string folder = DirectoryOf(path);
    const size_t slash = path.rfind('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* e = ::readdir(dir)) {
        const long pid = TemporaryFilePid(e->d_name, base);
        if (pid <= 0 || pid == static_cast<long>(::getpid())) continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its game may be running
        stale.push_back(folder + "/" + e->d_name);
    }
    ::closedir(dir);
    for (const std::string& file : stale) {
        struct stat st;
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::unlink(file.c_str());
    }
}

bool CopyRest(FILE* from, FILE* to) {
    char buffer[8192];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, from)) > 0)
        if (std::fwrite(buffer, 1, n, to) != n) return false;
    return !std::ferror(from);
}

}  // namespace

void ReadSaveValues(FILE* f, SaveFileContents* out) {
    *out = SaveFileContents{};
    SaveReader in(f);
    for (PhotoRecord& slot : out->photos) {
        PhotoRecord record{};
        if (!ReadPhoto(in, &record)) break;  // a record cut short is not a photo
        slot = record;
    }
    for (float& weight : out->bestWeight)
        if (!in.Float(&weight)) break;
    out->valuesRead = in.Count();
    out->moreAfter = out->valuesRead == SAVE_VALUE_COUNT && in.MoreLeft();
    // A file longer than the game writes may hold a photo record more than there are slots, and
    // the values read as best weights would then be that record's: none of them is taken.
    if (out->moreAfter) std::fill(std::begin(out->bestWeight), std::end(out->bestWeight), 0.0f);

    // The photos in use belong at the front of the slots, in their order.
    int next = 0;
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) {
        if (!out->photos[slot].inUse) continue;
        if (slot != next) {
            out->photos[next] = out->photos[slot];
            out->photos[slot] = PhotoRecord{};
        }
        ++next;
    }
}

void GameApp::ReadSaveFile() {
    for (float& weight : bestWeight) weight = 0.0f;
    const std::string path = plat::ResolveGamePath(SAVE_PATH);
    if (path.empty()) return;
    RemoveStaleTemporaryFiles(FollowLinks(path));

    std::vector<uint8_t> bytes;
    std::string why;
    switch (plat::ReadRegularFile(path.c_str(), SAVE_FILE_MAX_BYTES, &bytes, &why)) {
        case plat::FileRead::MISSING:
            return;  // no save file yet: every photo slot empty, no best weights
        case plat::FileRead::FAILED:
            // Whatever is in there stays as it is: this run starts with no photos and writes nothing.
            saveLeftUnread = true;
            std::fprintf(stderr,
                         "lakeside: the save file %s could not be read: %s. It is left as it is: this game "
                         "starts with no photos or best weights and will not save over it\n",
                         path.c_str(), why.c_str());
            return;
        case plat::FileRead::OK:
            break;
    }
    FILE* f = plat::OpenBytesAsFile(bytes);
    if (!f) {
        saveLeftUnread = true;
        std::fprintf(stderr, "lakeside: the save file %s could not be read (%s); it is left as it is\n",
                     path.c_str(), std::strerror(errno));
        return;
    }

    auto save = std::make_unique<SaveFileContents>();
    ReadSaveValues(f, save.get());
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) *photos[slot] = save->photos[slot];
    std::copy(std::begin(save->bestWeight), std::end(save->bestWeight), std::begin(bestWeight));

    // A file that did not give every value, or holds more than the game writes, would lose the
    // rest at the exit write: keep a copy under a name nothing uses yet. Without a copy the exit
    // write moves the original aside first.
    if (save->valuesRead < SAVE_VALUE_COUNT || save->moreAfter) {
        char damage[120];
        if (save->moreAfter) {
            std::snprintf(damage, sizeof damage, "holds more than its %d values (its best weights are not taken)",
                          SAVE_VALUE_COUNT);
        } else {
            std::snprintf(damage, sizeof damage, "is damaged after %d of %d values", save->valuesRead,
                          SAVE_VALUE_COUNT);
        }
        const std::string badPath = FreeName(path + ".bad");
        std::rewind(f);
        std::string error = "no free name for it";
        if (!badPath.empty() && ReplaceFile(badPath, [f](FILE* out) { return CopyRest(f, out); }, &error)) {
            std::fprintf(stderr, "lakeside: %s %s; kept a copy as %s\n", path.c_str(), damage, badPath.c_str());
        } else {
            damagedSaveNotCopied = true;
            std::fprintf(stderr,
                         "lakeside: %s %s and no copy of it could be made (%s); "
                         "it is left as it is until the save at exit moves it aside\n",
                         path.c_str(), damage, error.c_str());
        }
    }
    std::fclose(f);
}

bool GameApp::WriteSaveFile() {
    if (saveLeftUnread) {
        std::fprintf(stderr,
                     "lakeside: this game's photos and best weights were not saved: the save file that could "
                     "not be read is left as it was\n");
        return false;
    }
    const std::string folder = plat::ResolveGamePath(SAVE_FOLDER);
    struct stat st;
    if (!folder.empty() && ::stat(folder.c_str(), &st) != 0) ::mkdir(folder.c_str(), 0755);
    const std::string named = plat::ResolveGamePath(SAVE_PATH);
    if (named.empty()) return false;
    // A save file that is a symbolic link is written through it: the file it points to is replaced.
    const std::string path = FollowLinks(named);

    auto writeBody = [this](FILE* f) {
        CLocaleScope cLocale;
        for (const PhotoRecord* photo : photos)
            if (!WritePhoto(f, photo ? *photo : PhotoRecord{})) return false;
        for (float weight : bestWeight)
            if (!WriteFloat(f, weight)) return false;
        return true;
    };
    // A damaged original of which no copy exists is renamed to a free name before the new file
    // takes its place (a rename needs no room on the disk).
    std::string movedTo, moveError;
    auto moveDamagedAside = [&] {
        if (!damagedSaveNotCopied) return true;
        struct stat old;
        if (::lstat(path.c_str(), &old) != 0 && errno == ENOENT) return true;  // gone meanwhile
        const std::string aside = FreeName(path + ".bad");
        if (!aside.empty() && std::rename(path.c_str(), aside.c_str()) == 0) {
            movedTo = aside;
            damagedSaveNotCopied = false;  // kept now
            return true;
        }
        moveError = aside.empty() ? "no free name for it" : std::strerror(errno);
        return false;
    };

    std::string error;
    if (ReplaceFile(path, writeBody, &error, moveDamagedAside)) {
        if (!movedTo.empty())
            std::fprintf(stderr, "lakeside: the damaged %s was moved to %s before saving\n", path.c_str(),
                         movedTo.c_str());
        return true;
    }
    if (!moveError.empty()) {
        // The damaged original stays where it is: this run's photos go to a file of their own.
        const std::string elsewhere = FreeName(path + ".new");
        if (!elsewhere.empty() && ReplaceFile(elsewhere, writeBody, &error)) {
            std::fprintf(stderr,
                         "lakeside: could not move the damaged %s aside (%s); it is left as it is and the photos "
                         "and best weights were saved to %s\n",
                         path.c_str(), moveError.c_str(), elsewhere.c_str());
            return false;  // saved, but not where the next game looks
        }
    }
    std::fprintf(stderr, "lakeside: could not save the photos and best weights to %s (%s); the previous file is kept\n",
                 path.c_str(), error.c_str());
    return false;
}
