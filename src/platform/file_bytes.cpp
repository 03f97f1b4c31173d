// Reading a whole plain file into memory, never more than its format can hold.
#include "file_bytes.h"
#include "system.h"
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <set>
#include <cstring>

namespace plat {

namespace {

struct FileFault {
    std::string suffix;
    int openErrno = 0;
    int readErrno = 0;
};
FileFault g_fault;

bool Faulted(const char* path, int FileFault::*which, int* error) {
    if (g_fault.suffix.empty() || !(g_fault.*which)) return false;
    const size_t n = std::strlen(path);
    const size_t want = g_fault.suffix.size();
    if (n < want || g_fault.suffix.compare(0, std::string::npos, path + n - want) != 0) return false;
    *error = g_fault.*which;
    return true;
}

FileRead Fail(std::vector<uint8_t>* out, std::string* why, const std::string& text) {
    out->clear();
    if (why) *why = text;
    return FileRead::FAILED;
}

}  // namespace

void InjectFileFault(const std::string& suffix, int openErrno, int readErrno) {
    g_fault = FileFault{suffix, openErrno, readErrno};
}

FileRead ReadRegularFile(const char* path, size_t limit, std::vector<uint8_t>* out, std::string* why) {
    out->clear();
    if (!path || !*path) return Fail(out, why, "it has no name");
    int error = 0;
    // Non-blocking, so that opening a pipe that nobody writes to does not wait for a writer.
    const int fd =
        Faulted(path, &FileFault::openErrno, &error) ? -1 : ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (!error) error = errno;
        if (error == ENOENT) {
            if (why) *why = "there is no such file";
            return FileRead::MISSING;
        }
        return Fail(out, why, std::string("it cannot be opened (") + std::strerror(error) + ")");
    }
    struct stat st;
    if (::fstat(fd, &st) != 0) {
        error = errno;
        ::close(fd);
        return Fail(out, why, std::string("it cannot be examined (") + std::strerror(error) + ")");
    }
    if (S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Fail(out, why, "it is a folder, not a file");
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return Fail(out, why, "it is not a plain file (a pipe, a device or a socket)");
    }
    const std::string tooLarge = "it is larger than the " + std::to_string(limit) + " bytes such a file can hold";
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        ::close(fd);
        return Fail(out, why, tooLarge);
    }
    // The size may change while the file is read: read at most one byte more than the limit.
    out->resize(static_cast<size_t>(st.st_size) + 1);
    size_t got = 0;
    for (;;) {
        if (got == out->size()) {
            if (got > limit) break;
            out->resize(std::min(limit + 1, got * 2 + 4096));
        }
        const ssize_t n = Faulted(path, &FileFault::readErrno, &error)
                              ? -1
                              : ::read(fd, out->data() + got, out->size() - got);
        if (n < 0) {
            if (!error) error = errno;
            if (error == EINTR) {
                error = 0;
                continue;
            }
            ::close(fd);
            return Fail(out, why, std::string("it cannot be read (") + std::strerror(error) + ")");
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    ::close(fd);
    if (got > limit) return Fail(out, why, tooLarge);
    out->resize(got);
    return FileRead::OK;
}

FileRead ReadGameFile(const char* gamePath, size_t limit, std::vector<uint8_t>* out, std::string* why,
                      std::string* path) {
    const std::string resolved = ResolveGamePath(gamePath);
    if (path) *path = resolved.empty() ? std::string(gamePath ? gamePath : "") : resolved;
    if (resolved.empty()) return Fail(out, why, "its name leaves the game folder");
    return ReadRegularFile(resolved.c_str(), limit, out, why);
}

FILE* OpenBytesAsFile(std::vector<uint8_t>& bytes) {
    // An empty buffer is no stream to fmemopen: an empty file stands in for it.
    return bytes.empty() ? std::fopen("/dev/null", "r") : ::fmemopen(bytes.data(), bytes.size(), "r");
}

void ReportFileNotLoaded(const char* kind, const std::string& path, const std::string& why) {
    static std::set<std::string> reported;
    char folder[4096];
    const std::string key = std::string(::getcwd(folder, sizeof folder) ? folder : "") + "/" + path;
    if (!reported.insert(key).second) return;
    std::fprintf(stderr, "lakeside: the %s %s could not be loaded: %s; the game goes on without it\n", kind,
                 path.c_str(), why.c_str());
}

bool ReadFileBytes(const char* path, std::vector<uint8_t>* out, size_t limit) {
    return ReadRegularFile(path, limit, out) == FileRead::OK;
}

}  // namespace plat
