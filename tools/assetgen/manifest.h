// The manifest of a generation: the files it wrote, and the generator, with their sizes and times.
#pragma once
#include <string>
#include <vector>

namespace ag {

// True when the manifest at `path` was written by this very binary and every file it lists under
// `root` is still there with the same size and times: nothing is missing, changed or made by
// another generator.
bool ManifestUpToDate(const std::string& path, const std::string& root);

// Lists `files` (relative to `root`) as they are now. False when the manifest cannot be written.
bool WriteManifest(const std::string& path, const std::string& root, const std::vector<std::string>& files);

}  // namespace ag
