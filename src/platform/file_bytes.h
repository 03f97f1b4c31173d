// Reading a whole file into memory (used by the texture and wave loaders).
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace plat {

// Reads the file at a filesystem path. False when it cannot be opened or read (a directory, an
// I/O error) or when it is larger than `limit` bytes.
bool ReadFileBytes(const char* path, std::vector<uint8_t>* out, size_t limit);

}  // namespace plat
