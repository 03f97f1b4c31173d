// The swim's tackle as drawn on the headless backend: which picture every rod, reel, butt, alarm,
// swinger, rest and float of the pod is drawn with, for every method.
#include <gtest/gtest.h>
#include <cmath>
#include <string>
#include <vector>
#include "fishing_session.h"
#include "lake_fixture.h"

using fishsession::FishingGame;

namespace {

using Files = std::vector<std::string>;

double TranslationX(const plat::DrawRecord& d) { return d.world.m[3][0]; }
double TranslationY(const plat::DrawRecord& d) { return d.world.m[3][1]; }
double TranslationZ(const plat::DrawRecord& d) { return d.world.m[3][2]; }
bool At(const plat::DrawRecord& d, double x, double z) {
    return std::fabs(TranslationX(d) - x) < 1e-3 && std::fabs(TranslationZ(d) - z) < 1e-3;
}

// The same pictures for rod 1 and then rod 2.
Files Twice(const Files& f) {
    Files both = f;
    both.insert(both.end(), f.begin(), f.end());
    return both;
}

}  // namespace

// One frame with both rods out. Ledger rigs (methods 1 to 4 and 7) show alarms (rod 2's lit by a
// bite) and swingers; the waggler (5) and the surface controller (6) show plain rests on both
// faces, no swingers, and their float out on the water at each hook bait.
TEST(SwimFurniture, EveryPieceOfThePodIsDrawnWithItsOwnPicture) {
    for (int32_t method = 1; method <= 7; ++method) {
        SCOPED_TRACE(testing::Message() << "method " << method);
        FishingGame g;
        lakefix::WorldStandIns standIns(g.App());  // every slot holds a texture named after its file
        standIns.FillEverySlot();
        GameApp& app = g.App();
        app.method = method;
        g.SetUpAtSwim(2);
        g.CastBoth();
        app.biteSignal[0] = 0;
        app.biteCountdown[0] = 0;
        app.biteSignal[1] = 1;
        app.hookBaitPos[1][0] += 3;  // both rods were cast at the same point: their floats stand apart
        g.Frames(1);

        const bool floatRig = method == 5 || method == 6;
        Files reels, pieces, rodSections, rings;
        for (const plat::DrawRecord& d : g.Device()->draws) {
            if (d.buffer == app.reelMesh) reels.push_back(FileOf(d));
            if (d.buffer == app.taperedColumnMesh || d.buffer == app.reelBoxMesh) pieces.push_back(FileOf(d));
            if (d.buffer == app.rodSectionMesh) (d.startVertex == 18 ? rings : rodSections).push_back(FileOf(d));
        }
        // Each reel: the spool and the body, then the ten pieces (side, then end; the two boxes six
        // faces each).
        EXPECT_EQ(reels, Twice({"s1tex.bmp", "sbacktex.bmp", "car1tex.bmp", "car1tex.bmp", "car1tex.bmp",
                                "car3tex.bmp", "car3tex.bmp", "car1tex.bmp", "car1tex.bmp", "car1tex.bmp",
                                "car1tex.bmp"}));
        Files piece;
        for (const Files& p : {Files{"s1tex.bmp", "sfronttex.bmp"}, Files{"s1tex.bmp", "car1tex.bmp"},
                               Files{"knobtex.bmp", "knobtex.bmp"}, Files{"knobtex.bmp", "knobtex.bmp"},
                               Files{"knobtex.bmp", "car1tex.bmp"}, Files{"knobtex.bmp", "car1tex.bmp"},
                               Files(6, "car2tex.bmp"), Files{"car1tex.bmp", "car1tex.bmp"},
                               Files{"car1tex.bmp", "car1tex.bmp"}, Files(6, "car1tex.bmp")})
            piece.insert(piece.end(), p.begin(), p.end());
        EXPECT_EQ(pieces, Twice(piece));

        // Each rod: the butt (strip and end), then eleven sections; a ring on every second section.
        Files rod = {"but.bmp", "but.bmp"};
        rod.insert(rod.end(), 22, "3drod.bmp");
        EXPECT_EQ(rodSections, Twice(rod));
        EXPECT_EQ(rings, Files(12, "ring.bmp"));

        // The upright quads of the pod, by where they stand: heads (front face first) and swingers
        // at the two alarms, the two rear rests, and the floats at the hook baits.
        auto quadsAt = [&](double r, double a, double height) {
            const double x = app.rodPodX + r * std::sin(app.podYaw + a);
            const double z = app.rodPodZ + r * std::cos(app.podYaw + a);
            Files found;
            for (const plat::DrawRecord& d : g.Device()->draws)
                if (d.buffer == app.billboardMesh && At(d, x, z) && std::fabs(TranslationY(d) - height) < 1e-3)
                    found.push_back(FileOf(d));
            return found;
        };
        const Files rests = {"rest.bmp", "rest.bmp"};
        const Files swingers = floatRig ? Files{} : Files{"swinger2.bmp", "swinger2.bmp"};
        EXPECT_EQ(quadsAt(0.6, 5.45, 0), floatRig ? rests : Files({"alarm.bmp", "alarm2.bmp"}));
        EXPECT_EQ(quadsAt(0.6, 0.7, 0), floatRig ? rests : Files({"alarmon.bmp", "alarm2.bmp"}));
        EXPECT_EQ(quadsAt(0.6, 5.45, 0.65), swingers);
        EXPECT_EQ(quadsAt(0.6, 0.7, 0.65), swingers);
        EXPECT_EQ(quadsAt(3, 3.0, 0), Files({"rear.bmp", "rear.bmp"}));
        EXPECT_EQ(quadsAt(3, 3.284, 0), Files({"rear.bmp", "rear.bmp"}));

        for (int r = 0; r < 2; ++r) {
            Files floats;
            for (const plat::DrawRecord& d : g.Device()->draws)
                if (d.buffer == app.billboardMesh && At(d, app.hookBaitPos[r][0], app.hookBaitPos[r][1]))
                    floats.push_back(FileOf(d));
            const Files expected = method == 5 ? Files{"waggler.bmp"} : method == 6 ? Files{"control.bmp"} : Files{};
            EXPECT_EQ(floats, expected) << "rod " << r + 1;
        }
    }
}
