// The manifest of a generation: every file it wrote under the game folder with the size and times
// the file had afterwards, and the same for the generator binary itself. A later run compares it
// with the disk to learn whether anything is missing, changed or made by another generator.
#pragma once
#include <string>
#include <vector>

namespace ag {

// True when the manifest at `path` was written by this very binary and every file it lists under
// `root` is still there with the same size and times.
bool ManifestUpToDate(const std::string& path, const std::string& root);

// Lists `files` (relative to `root`) as they are now. False when the manifest cannot be written.
bool WriteManifest(const std::string& path, const std::string& root, const std::vector<std::string>& files);

}  // namespace ag
