// Fuzz target: wave files, decoded and then played through the mixer (rates from the file drive
// its resampling).
#include <vector>
#include "fuzz_target.h"
#include "platform/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::WaveData wave;
    if (!plat::LoadWaveMemory(data, size, &wave)) return 0;

    plat::Mixer mixer(22050);
    const int id = mixer.AddVoice(&wave, 0xa0);
    mixer.WithVoice(id, [](plat::Mixer::Voice& v) {
        v.playing = true;
        v.looping = true;
    });
    std::vector<int16_t> out(2 * 2048);
    mixer.Render(out.data(), 2048);
    mixer.RemoveVoice(id);
    return 0;
}
