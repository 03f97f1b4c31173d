// Wave files: RIFF/WAVE PCM (8-bit unsigned or 16-bit signed, mono or stereo) read into 16-bit samples.
#include <cstring>
#include "file_bytes.h"
#include "sound.h"

namespace plat {
namespace {

constexpr uint16_t FORMAT_PCM = 1;
constexpr uint16_t FORMAT_EXTENSIBLE = 0xFFFE;
constexpr uint32_t MIN_RATE = 100, MAX_RATE = 200000;

uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

bool LoadWaveMemory(const uint8_t* data, size_t size, WaveData* out) {
    if (!data || !out || size < 12) return false;
    if (std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;

    bool haveFormat = false;
    uint16_t format = 0, channels = 0, bits = 0;
    uint32_t rate = 0;
    const uint8_t* pcm = nullptr;
    size_t pcmBytes = 0;

    // Walk the chunks until both the format and the samples are found; a chunk that claims more
    // bytes than the file holds makes the file unreadable.
    size_t pos = 12;
    while (!(haveFormat && pcm) && size - pos >= 8) {
        const uint8_t* chunk = data + pos;
        uint32_t length = Le32(chunk + 4);
        pos += 8;
        if (length > size - pos) return false;
        const uint8_t* body = data + pos;
        if (std::memcmp(chunk, "fmt ", 4) == 0 && !haveFormat) {
            if (length < 16) return false;
            format = Le16(body);
            channels = Le16(body + 2);
            rate = Le32(body + 4);
            bits = Le16(body + 14);
            if (format == FORMAT_EXTENSIBLE) {
                if (length < 40) return false;
                format = Le16(body + 24);  // first field of the sub-format id
            }
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0 && !pcm) {
            pcm = body;
            pcmBytes = length;
        }
        pos += length;
        if ((length & 1u) && pos < size) ++pos;  // chunks are padded to even sizes
    }
    if (!haveFormat || !pcm) return false;
    if (format != FORMAT_PCM || (channels != 1 && channels != 2) || (bits != 8 && bits != 16)) return false;
    if (rate < MIN_RATE || rate > MAX_RATE) return false;

    size_t frameBytes = size_t(channels) * (bits / 8);
    size_t frames = pcmBytes / frameBytes;
    if (frames == 0) return false;

    WaveData wave;
    wave.rate = rate;
    wave.channels = channels;
    wave.samples.resize(frames * channels);
    for (size_t i = 0; i < wave.samples.size(); ++i) {
        if (bits == 8)
            wave.samples[i] = int16_t((int(pcm[i]) - 128) * 256);
        else
            wave.samples[i] = int16_t(Le16(pcm + 2 * i));
    }
    *out = std::move(wave);
    return true;
}

bool LoadWaveFile(const char* path, WaveData* out) {
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, &bytes, MAX_WAVE_BYTES)) return false;
    return LoadWaveMemory(bytes.data(), bytes.size(), out);
}

}  // namespace plat
