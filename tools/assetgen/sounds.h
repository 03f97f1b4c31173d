// Synthesised wave files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ag {
struct Wave {
    std::string name;
    std::vector<int16_t> samples;  // 22050 Hz mono
};
std::vector<Wave> MakeSounds();
std::vector<uint8_t> EncodeWav(const Wave& w);
}  // namespace ag
