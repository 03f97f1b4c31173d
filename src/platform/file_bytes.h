// Reading a whole plain file into memory, never more than its format can hold.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace plat {

enum class FileRead {
    OK,
    MISSING,  // nothing of that name: the one failure that may mean "not made yet"
    FAILED,   // there, but not readable: refused, an I/O error, not a plain file, too large
};

// Reads the regular file at a filesystem path, following symbolic links, without ever waiting on
// a pipe or a device: anything that is not a plain file is refused, and so is a file of more than
// `limit` bytes. On failure `out` is empty and `why` (if given) says what was wrong, in words.
FileRead ReadRegularFile(const char* path, size_t limit, std::vector<uint8_t>* out, std::string* why = nullptr);

// The same for a game path (relative to the working directory, '\\' or '/' between folders).
// `path` (if given) gets the file's filesystem path, or the game path when it leads out of the
// game folder, which fails with FileRead::FAILED.
FileRead ReadGameFile(const char* gamePath, size_t limit, std::vector<uint8_t>* out, std::string* why = nullptr,
                      std::string* path = nullptr);

// A read-only stream over `bytes` (which must outlive it), for readers written for a FILE*; null
// when none could be made. Close it with fclose.
FILE* OpenBytesAsFile(std::vector<uint8_t>& bytes);

// The same, true only for FileRead::OK (the texture, wave and font loaders).
bool ReadFileBytes(const char* path, std::vector<uint8_t>* out, size_t limit);

// Says on standard error that a media file (a texture, a sound) could not be loaded and why, the
// first time only for each file: the game goes on without it.
void ReportFileNotLoaded(const char* kind, const std::string& path, const std::string& why);

// Tests: makes opening (openErrno) or reading (readErrno) every file whose path ends in `suffix`
// fail with that error number, as a refused permission or a failing disk would; 0 is no fault.
// An empty suffix removes the fault.
void InjectFileFault(const std::string& suffix, int openErrno, int readErrno);

}  // namespace plat
