// The early flushes chosen by frame times: the cheaper way is kept and followed when the load
// changes, forced ways hold, and a frame's picture is the same whichever way it was drawn.
#include <algorithm>
#include <functional>
#include "gl_fixture.h"
#include "platform/sdl/flush_chooser.h"

using namespace gltest;
using namespace plat;

namespace {

constexpr uint64_t SECOND = 1000000;  // microseconds

// Frames on a clock that only they move: each costs its way's time from first draw to shown,
// then waits for the next 60 Hz tick as the game's pacing does.
struct PacedFrames {
    explicit PacedFrames(FlushChooser* c) : chooser(c) {
        chooser->SetClock([this] { return now; });
    }
    // Frames for `micros` of the clock; the share of them drawn with early flushes.
    double Run(uint64_t micros) {
        const uint64_t end = now + micros;
        int frames = 0, flushed = 0;
        while (now < end) {
            const uint64_t start = now;
            chooser->FrameBegins();
            flushed += chooser->EarlyFlushes();
            now += chooser->EarlyFlushes() ? withFlushes : without;
            chooser->FrameShown();
            ++frames;
            now = std::max(now, start + 16667);
        }
        return static_cast<double>(flushed) / frames;
    }
    // Frames until a test has just ended.
    void UntilATestEnds() {
        while (!chooser->Testing()) Run(1);
        while (chooser->Testing()) Run(1);
    }
    // Clock time until the chooser keeps the way `on` (at most `limit`).
    uint64_t UntilKept(bool on, uint64_t limit) {
        const uint64_t start = now;
        while (now - start < limit && (chooser->Testing() || chooser->EarlyFlushes() != on)) Run(1);
        return now - start;
    }
    FlushChooser* chooser;
    uint64_t now = 5 * SECOND;
    uint64_t withFlushes = 0, without = 0;  // a frame's cost each way
};

}  // namespace

TEST(FlushChooser, KeepsTheCheaperWayAndFollowsTheLoadWithoutFlapping) {
    FlushChooser chooser;
    PacedFrames frames(&chooser);
    // An idle machine: the flushes win (9.5 against 13.5 ms); nearly every frame uses them,
    // the tests that try the other way now and then included.
    frames.withFlushes = 9500;
    frames.without = 13500;
    EXPECT_GT(frames.Run(60 * SECOND), 0.9);
    EXPECT_TRUE(chooser.EarlyFlushes());

    // Right after a test, six cores are taken by other programs: now the flushes cost (30
    // against 24 ms). The frame time drifts far, so the next test comes within a second or two,
    // not only seconds later at the next regular one.
    frames.UntilATestEnds();
    frames.withFlushes = 30000;
    frames.without = 24000;
    EXPECT_LE(frames.UntilKept(false, 10 * SECOND), 2 * SECOND);
    EXPECT_LT(frames.Run(60 * SECOND), 0.1);

    // The load goes away again: the flushes come back.
    frames.UntilATestEnds();
    frames.withFlushes = 9500;
    frames.without = 13500;
    EXPECT_LE(frames.UntilKept(true, 10 * SECOND), 2 * SECOND);

    // Within a few per cent of each other, the way kept stays: no switching back and forth.
    frames.withFlushes = 10000;
    frames.without = 9800;
    EXPECT_GT(frames.Run(60 * SECOND), 0.9);
    frames.withFlushes = 14000;  // and from the other side
    frames.without = 9000;
    frames.UntilKept(false, 10 * SECOND);
    frames.withFlushes = 9800;
    frames.without = 10000;
    EXPECT_LT(frames.Run(60 * SECOND), 0.1);

    // Forced ways hold whatever the frames cost, and never try the other.
    chooser.SetChoice(FlushChoice::Always);
    EXPECT_EQ(frames.Run(20 * SECOND), 1.0);
    chooser.SetChoice(FlushChoice::Never);
    frames.without = 50000;
    EXPECT_EQ(frames.Run(20 * SECOND), 0.0);
    // Back to the measured choice: a test at once finds the flushes cheaper (its 32 frames, half
    // of them at 50 ms, take about a second; the next regular test would come after four).
    chooser.SetChoice(FlushChoice::Measured);
    EXPECT_LE(frames.UntilKept(true, 10 * SECOND), 3 * SECOND / 2);
}

// The device's own chooser, with its frame clock made to favour one way and then the other:
// it switches between shown frames, and every frame of the scene has the same picture, with
// early flushes and without.
TEST_F(GlTest, SwitchingEarlyFlushesNeverChangesThePicture) {
    UseGameCamera();
    UseGameMaterial();
    Light sun = DirectionalLight({0.3f, -0.5f, 0.8f}, 0.8f, 0.3f);
    device->SetLight(0, &sun);
    device->LightEnable(0, true);
    Texture* textures[3] = {MakeTexture(0xFF3C8C28u), MakeTexture(0xFF7A7060u), MakeTexture(0xFF2050A0u)};
    // Two sloped grids that cut through each other, 4,800 triangles in interleaved textures
    // (several thousand-triangle flushes a frame), the depth test deciding where they cross.
    std::vector<VertexBuffer*> cells;
    for (int r = 0; r < 30; ++r)
        for (int c = 0; c < 40; ++c)
            for (const float slope : {0.25f, -0.25f}) {
                const float x0 = -4.0f + 0.2f * c, y0 = -3.0f + 0.2f * r;
                cells.push_back(MakeQuad(x0, y0, x0 + 0.2f, y0 + 0.2f, 8 + slope * x0, 8 + slope * (x0 + 0.2f)));
            }
    uint64_t now = 0, flushCost = 0, plainCost = 0;
    device->SetFrameClock([&] { return now += device->EarlyFlushes() ? flushCost : plainCost; });
    device->SetEarlyFlushes(FlushChoice::Measured);
    device->RetestEarlyFlushes();  // a fresh test from the next frame
    std::vector<uint32_t> first;
    int differing = 0, framesFlushed = 0, framesPlain = 0;
    // Shows `count` frames of the scene, each picture compared with the very first; returns the
    // GL flushes of the last frame.
    auto show = [&](int count) {
        uint64_t flushes = 0;
        for (int frame = 0; frame < count; ++frame) {
            device->BeginScene();
            ClearBlack();
            const uint64_t before = device->GlFlushes();
            for (size_t i = 0; i < cells.size(); ++i) {
                device->SetTexture(0, textures[(i * 7 + i / 80) % 3]);
                DrawStrip(cells[i]);
            }
            device->EndScene();
            flushes = device->GlFlushes() - before;
            ++(flushes > 0 ? framesFlushed : framesPlain);
            const std::vector<uint32_t> picture = Read();
            if (first.empty()) first = picture;
            for (size_t p = 0; p < picture.size(); ++p) differing += Rgb(picture[p]) != Rgb(first[p]);
            backend->Present();
        }
        return flushes;
    };
    // Flushed frames made to cost twice the others: after a test the flushes are off.
    flushCost = 20000;
    plainCost = 10000;
    EXPECT_EQ(show(40), 0u);
    EXPECT_FALSE(device->EarlyFlushes());
    // Seconds later, with the flushed frames cheaper: the next test turns them on.
    now += 5000000;
    flushCost = 5000;
    EXPECT_GT(show(40), 2u);
    EXPECT_TRUE(device->EarlyFlushes());
    EXPECT_GT(framesFlushed, 10);
    EXPECT_GT(framesPlain, 10);
    int covered = 0;
    for (uint32_t c : first) covered += Rgb(c) != 0;
    EXPECT_GT(covered, 100000);
    EXPECT_EQ(differing, 0);
    device->SetFrameClock(nullptr);
}
