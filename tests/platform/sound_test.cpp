// Sound: wave reading, the play/stop/rewind and volume rules of clips, resampling and mixing,
// and opening the output through the backend; and the platform's 15-bit generator.
#include <gtest/gtest.h>
#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include "byte_writer.h"
#include "platform/headless/headless_backend.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "scratch_dir.h"

using plat::SoundClip;
using plat::WaveData;

namespace {

bool Parse(const std::vector<uint8_t>& f, WaveData* w) { return plat::LoadWaveMemory(f.data(), f.size(), w); }

std::vector<int16_t> Render(plat::Mixer* m, size_t frames) {
    std::vector<int16_t> out(frames * 2, 12345);
    m->Render(out.data(), frames);
    return out;
}

}  // namespace

TEST(WaveFile, ReadsPcmFormats) {
    WaveData w;
    ASSERT_TRUE(Parse(MakeWav(11025, 1, 8, {0, 128, 255}), &w));
    EXPECT_EQ(w.rate, 11025u);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.samples, (std::vector<int16_t>{-32768, 0, 32512}));

    ASSERT_TRUE(Parse(MakeWav(44100, 2, 16, {1000, -1000, 32767, -32768}, true), &w));
    EXPECT_EQ(w.rate, 44100u);
    EXPECT_EQ(w.channels, 2);
    EXPECT_EQ(w.Frames(), 2u);
    EXPECT_EQ(w.samples, (std::vector<int16_t>{1000, -1000, 32767, -32768}));

    // A trailing part frame is dropped.
    auto f = MakeWav(22050, 2, 16, {1, 2, 3, 4});
    f[40] += 2;   // data length 8 -> 10
    f.insert(f.end(), {5, 0});
    ASSERT_TRUE(Parse(f, &w));
    EXPECT_EQ(w.Frames(), 2u);
}

TEST(WaveFile, RejectsDamagedFiles) {
    const auto good = MakeWav(22050, 2, 16, {1, 2, 3, 4, 5, 6}, true);
    WaveData w;
    ASSERT_TRUE(Parse(good, &w));
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Parse(std::vector<uint8_t>(good.begin(), good.begin() + long(n)), &w)) << n;

    auto edit = [&](size_t at, uint32_t value, int bytes) {
        auto f = MakeWav(22050, 1, 16, {1, 2, 3, 4});
        for (int i = 0; i < bytes; ++i) f[at + size_t(i)] = uint8_t(value >> (8 * i));
        return f;
    };
    // Offsets in a plain file: fmt length 16, format 20, channels 22, rate 24, bits 34, data length 40.
    EXPECT_FALSE(Parse(edit(0, 'X', 1), &w));           // not RIFF
    EXPECT_FALSE(Parse(edit(8, 'X', 1), &w));           // not WAVE
    EXPECT_FALSE(Parse(edit(20, 3, 2), &w));            // floating point samples
    EXPECT_FALSE(Parse(edit(22, 3, 2), &w));            // three channels
    EXPECT_FALSE(Parse(edit(22, 0, 2), &w));
    EXPECT_FALSE(Parse(edit(24, 0, 4), &w));            // no rate
    EXPECT_FALSE(Parse(edit(34, 24, 2), &w));           // 24-bit
    EXPECT_FALSE(Parse(edit(16, 14, 4), &w));           // format chunk too short
    EXPECT_FALSE(Parse(edit(16, 0xFFFFFFF0u, 4), &w));  // chunk past the end
    EXPECT_FALSE(Parse(edit(40, 0xFFFFFFFFu, 4), &w));
    EXPECT_FALSE(Parse(edit(40, 0, 4), &w));            // no samples
    EXPECT_FALSE(Parse(edit(36, 'X', 1), &w));          // no data chunk
    EXPECT_FALSE(Parse(edit(12, 'X', 1), &w));          // no format chunk
    EXPECT_FALSE(plat::LoadWaveMemory(nullptr, 0, &w));

    ScratchDir dir;
    EXPECT_FALSE(plat::LoadWaveFile("missing.wav", &w));
    EXPECT_FALSE(plat::LoadWaveFile(".", &w));  // a folder
}

namespace {

// Clips in a scratch game folder, mixed by hand (no backend installed).
class SoundClips : public ::testing::Test {
protected:
    void SetUp() override {
        plat::InstallBackend(nullptr);
        ASSERT_EQ(sys.Initialize(nullptr, plat::SOUND_PRIORITY_LEVEL), plat::OK);
        ASSERT_EQ(sys.SetPrimaryBufferFormat(2, 22050, 16), plat::OK);
        mixer = sys.GetMixer();
        ASSERT_NE(mixer, nullptr);
        ASSERT_EQ(mixer->OutputRate(), 22050u);
    }
    // A clip of `frames` frames of a constant level at `rate`.
    std::unique_ptr<SoundClip> Clip(uint32_t flags, size_t frames = 1000, int level = 10000,
                                    uint32_t rate = 22050) {
        std::string name = "sounds/c" + std::to_string(count++) + ".wav";
        ScratchDir::Write(name, MakeWav(rate, 1, 16, std::vector<int>(frames, level)));
        SoundClip* clip = nullptr;
        std::string gamePath = "sounds\\" + name.substr(7);
        EXPECT_EQ(sys.Create(&clip, gamePath.c_str(), flags, nullptr, 1), plat::OK);
        return std::unique_ptr<SoundClip>(clip);
    }
    ScratchDir dir;
    plat::SoundSystem sys;
    plat::Mixer* mixer = nullptr;
    int count = 0;
};

}  // namespace

TEST_F(SoundClips, VolumeAndFrequencyApplyOnlyWithTheirControls) {
    auto plain = Clip(0);
    ASSERT_EQ(plain->Play(0, 0, -3000, 0, 0), plat::OK);
    EXPECT_EQ(plain->AppliedVolume(), 0);
    EXPECT_EQ(Render(mixer, 4), std::vector<int16_t>(8, 10000));
    plain->Stop();

    auto loud = Clip(plat::SOUND_CTRL_VOLUME);
    loud->Play(0, 0, -2000, 0, 0);
    EXPECT_EQ(loud->AppliedVolume(), -2000);
    EXPECT_EQ(Render(mixer, 4), std::vector<int16_t>(8, 1000));  // 10^(-2000/2000) = 0.1
    loud->Play(0, 0, -20000, 0, 0);
    EXPECT_EQ(loud->AppliedVolume(), -10000);
    EXPECT_EQ(Render(mixer, 4), std::vector<int16_t>(8, 0));
    loud->Play(0, 0, 500, 0, 0);
    EXPECT_EQ(loud->AppliedVolume(), 0);
    EXPECT_EQ(Render(mixer, 4), std::vector<int16_t>(8, 10000));
    loud->Stop();

    auto splosh = Clip(plat::SOUND_CTRL_VOLUME | plat::SOUND_CTRL_FREQUENCY);
    splosh->Play(0, 0, 0, 44100, 0);
    Render(mixer, 100);
    EXPECT_EQ(splosh->Position(), 200u);
    splosh->Play(0, 0, 0, plat::SOUND_FREQUENCY_UNCHANGED, 0);
    Render(mixer, 100);
    EXPECT_EQ(splosh->Position(), 400u);
    splosh->Play(0, 0, 0, 0, 0);  // back to the recorded rate
    Render(mixer, 100);
    EXPECT_EQ(splosh->Position(), 500u);
    splosh->Stop();

    auto click = Clip(plat::SOUND_CTRL_VOLUME);
    click->Play(0, 0, 0, 44100, 0);
    Render(mixer, 100);
    EXPECT_EQ(click->Position(), 100u);
}

TEST_F(SoundClips, PlayContinuesStopPausesRewindRestarts) {
    const uint32_t randState = plat::GameRandState();
    auto clip = Clip(plat::SOUND_CTRL_VOLUME, 1000);
    clip->Play(0, 0, 0, 0, 0);
    Render(mixer, 100);
    EXPECT_EQ(clip->Position(), 100u);
    EXPECT_TRUE(clip->IsPlaying());

    clip->Play(0, 0, -1000, 0, 0);  // already playing: goes on, new volume
    EXPECT_EQ(clip->Position(), 100u);
    EXPECT_EQ(clip->AppliedVolume(), -1000);
    Render(mixer, 100);
    EXPECT_EQ(clip->Position(), 200u);

    clip->Stop();
    EXPECT_EQ(Render(mixer, 100), std::vector<int16_t>(200, 0));
    EXPECT_EQ(clip->Position(), 200u);
    EXPECT_FALSE(clip->IsPlaying());
    clip->Play(0, 0, 0, 0, 0);  // resumes where it stopped
    Render(mixer, 100);
    EXPECT_EQ(clip->Position(), 300u);

    clip->Rewind();  // while playing: restarts at once
    EXPECT_EQ(clip->Position(), 0u);
    EXPECT_TRUE(clip->IsPlaying());
    Render(mixer, 50);
    EXPECT_EQ(clip->Position(), 50u);

    // A one-shot clip that reaches its end stops with its position back at 0.
    auto out = Render(mixer, 1000);
    EXPECT_FALSE(clip->IsPlaying());
    EXPECT_EQ(clip->Position(), 0u);
    EXPECT_EQ(out[2 * 949], 10000);
    EXPECT_EQ(out[2 * 950], 0);
    clip->Play(0, 0, 0, 0, 0);
    Render(mixer, 10);
    EXPECT_EQ(clip->Position(), 10u);

    // A deleted clip leaves the mix.
    clip.reset();
    EXPECT_EQ(Render(mixer, 10), std::vector<int16_t>(20, 0));
    EXPECT_EQ(plat::GameRandState(), randState);  // the game's random sequence is left alone
}

TEST_F(SoundClips, LoopingWrapsUntilPlayedOnce) {
    auto back = Clip(plat::SOUND_CTRL_VOLUME, 1000);
    back->Play(0, plat::SOUND_PLAY_LOOPING, -2000, 0, 0);
    auto out = Render(mixer, 2500);
    EXPECT_TRUE(back->IsPlaying());
    EXPECT_TRUE(back->IsLooping());
    EXPECT_EQ(back->Position(), 500u);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], 1000) << i;

    back->Play(0, plat::SOUND_PLAY_LOOPING, -2000, 0, 0);  // every frame, as the game does
    EXPECT_EQ(back->Position(), 500u);
    back->Play(0, 0, -2000, 0, 0);
    EXPECT_FALSE(back->IsLooping());
    Render(mixer, 600);
    EXPECT_FALSE(back->IsPlaying());
    EXPECT_EQ(back->Position(), 0u);
}

TEST_F(SoundClips, ResamplesToTheOutputRate) {
    // An 11025 Hz ramp at 22050 Hz: interpolated between samples.
    std::vector<int> ramp;
    for (int i = 0; i < 11025; ++i) ramp.push_back((i % 20) * 1000);
    ScratchDir::Write("sounds/ramp.wav", MakeWav(11025, 1, 16, ramp));
    SoundClip* raw = nullptr;
    ASSERT_EQ(sys.Create(&raw, "sounds\\ramp.wav", 0, nullptr, 1), plat::OK);
    std::unique_ptr<SoundClip> clip(raw);
    clip->Play(0, 0, 0, 0, 0);
    auto out = Render(mixer, 8);
    EXPECT_EQ(out, (std::vector<int16_t>{0, 0, 500, 500, 1000, 1000, 1500, 1500, 2000, 2000, 2500, 2500,
                                          3000, 3000, 3500, 3500}));

    // A 22050 Hz second mixed at 44100 Hz lasts one second, its channels kept apart.
    plat::Mixer hifi(44100);
    WaveData second;
    second.rate = 22050;
    second.channels = 2;
    for (int i = 0; i < 22050; ++i) second.samples.insert(second.samples.end(), {1000, -1000});
    int id = hifi.AddVoice(&second, 0);
    hifi.WithVoice(id, [](plat::Mixer::Voice& v) { v.playing = true; });
    size_t audible = 0;
    for (int chunk = 0; chunk < 50; ++chunk) {
        auto s = Render(&hifi, 1000);
        for (size_t f = 0; f < 1000; ++f) {
            if (s[2 * f] == 0) continue;
            ++audible;
            ASSERT_EQ(s[2 * f], 1000);
            ASSERT_EQ(s[2 * f + 1], -1000);
        }
    }
    EXPECT_NEAR(double(audible), 44100.0, 2.0);
}

TEST_F(SoundClips, MixSaturates) {
    auto a = Clip(0, 100, 30000), b = Clip(0, 100, 30000), c = Clip(0, 100, -30000);
    a->Play(0, 0, 0, 0, 0);
    b->Play(0, 0, 0, 0, 0);
    EXPECT_EQ(Render(mixer, 2), std::vector<int16_t>(4, 32767));
    c->Play(0, 0, 0, 0, 0);
    EXPECT_EQ(Render(mixer, 2), std::vector<int16_t>(4, 30000));
    a->Stop();
    b->Stop();
    auto d = Clip(0, 100, -30000);
    d->Play(0, 0, 0, 0, 0);
    EXPECT_EQ(Render(mixer, 2), std::vector<int16_t>(4, -32768));
}

TEST_F(SoundClips, FilesThatFailMakeNoClipAndAreNamedOnce) {
    ScratchDir::Write("sounds/bad.wav", {'R', 'I', 'F', 'F', 0, 0});
    ScratchDir::Write("../outside.wav", MakeWav(22050, 1, 16, {1, 2}));
    ScratchDir::Write("sounds/Tone.WAV", MakeWav(22050, 1, 16, {1, 2}));
    for (int round = 0; round < 2; ++round) {
        testing::internal::CaptureStderr();
        for (const char* bad : {"sounds\\missing.wav", "sounds\\bad.wav", "..\\outside.wav",
                                "sounds\\..\\..\\outside.wav", "sounds", ""}) {
            SoundClip* clip = reinterpret_cast<SoundClip*>(0x1);
            EXPECT_EQ(sys.Create(&clip, bad, 0x80, nullptr, 1), plat::FAIL) << bad;
            EXPECT_EQ(clip, nullptr) << bad;
        }
        const std::string err = testing::internal::GetCapturedStderr();
        if (round == 0) {
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 6) << err;
            EXPECT_NE(err.find("sound sounds/missing.wav could not be loaded: there is no such file"), std::string::npos)
                << err;
            EXPECT_NE(err.find("sound sounds/bad.wav could not be loaded: it is not a wave file"), std::string::npos)
                << err;
        } else {
            EXPECT_EQ(err, "");  // named the first time only
        }
    }
    SoundClip* clip = nullptr;
    ASSERT_EQ(sys.Create(&clip, "sounds\\tone.wav", 0xa0, nullptr, 1), plat::OK);  // case-blind
    EXPECT_EQ(clip->Frames(), 2u);
    delete clip;

    plat::SoundSystem closed;  // never initialised
    clip = reinterpret_cast<SoundClip*>(0x1);
    EXPECT_EQ(closed.Create(&clip, "sounds\\tone.wav", 0, nullptr, 1), plat::FAIL);
    EXPECT_EQ(clip, nullptr);
    EXPECT_EQ(closed.SetPrimaryBufferFormat(2, 22050, 16), plat::FAIL);
}

TEST_F(SoundClips, RenderRunsAlongsideClipCalls) {
    auto clip = Clip(plat::SOUND_CTRL_VOLUME, 500);
    std::atomic<bool> done{false};
    std::thread audio([&] {
        std::vector<int16_t> buf(512);
        while (!done) mixer->Render(buf.data(), 256);
    });
    for (int i = 0; i < 5000; ++i) {
        clip->Play(0, uint32_t(i & 1), -(i % 10000), 0, 0);
        if (i % 3 == 0) clip->Rewind();
        if (i % 7 == 0) clip->Stop();
    }
    done = true;
    audio.join();
}

TEST(SoundSystemOutput, OpensAndClosesThroughTheBackend) {
    plat::HeadlessBackend* backend = plat::InstallHeadlessBackend();
    {
        plat::SoundSystem sys;
        ASSERT_EQ(sys.Initialize(nullptr, plat::SOUND_PRIORITY_LEVEL), plat::OK);
        EXPECT_EQ(backend->GetMixer(), sys.GetMixer());
    }
    EXPECT_EQ(backend->GetMixer(), nullptr);  // closed before the mixer goes

    backend->failAudio = true;
    {
        ScratchDir dir;
        ScratchDir::Write("sounds/tone.wav", MakeWav(22050, 1, 16, {1, 2}));
        plat::SoundSystem sys;
        EXPECT_EQ(sys.Initialize(nullptr, plat::SOUND_PRIORITY_LEVEL), plat::FAIL);
        EXPECT_EQ(sys.GetMixer(), nullptr);
        SoundClip* clip = reinterpret_cast<SoundClip*>(0x1);
        EXPECT_EQ(sys.Create(&clip, "sounds\\tone.wav", 0x80, nullptr, 1), plat::FAIL);
        EXPECT_EQ(clip, nullptr);
    }
    plat::InstallBackend(nullptr);
}

// ---- the 15-bit generator the game's chances are written for ----

TEST(GameRand, FifteenBitSequenceFromSeedOne) {
    plat::GameSrand(1);
    // The runtime generator's well-known first values for seed 1.
    EXPECT_EQ(plat::GameRand(), 41);
    EXPECT_EQ(plat::GameRand(), 18467);
    EXPECT_EQ(plat::GameRand(), 6334);
    EXPECT_EQ(plat::GameRand(), 26500);
    plat::GameSrand(12345);
    for (int i = 0; i < 10000; ++i) {
        int r = plat::GameRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, plat::GAME_RAND_MAX);
    }
}
