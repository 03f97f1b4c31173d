// The generated stock file: 75 fish with the kinds the screens rely on, and nine fishable swims.
#include <gtest/gtest.h>

#include <set>

#include "assets_files.h"
#include "assets_rules.h"

using namespace assets;

namespace {

const Stock& TheStock() {
    static Stock s = LoadStock();
    return s;
}

bool Printable(const std::string& s) {
    for (char c : s)
        if (c <= ' ' || c > '~') return false;
    return true;
}

TEST(StockFile, HasSeventyFiveFishAndNineSwims) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    EXPECT_EQ(s.tokens, 477u);
    ASSERT_EQ(s.fish.size(), 75u);
    ASSERT_EQ(s.swims.size(), 9u);
    for (const StockRecord& r : s.fish) {
        EXPECT_LE(r.name.size(), 24u);
        EXPECT_LE(r.tag.size(), 26u);
        EXPECT_TRUE(Printable(r.name) && Printable(r.tag)) << r.name;
    }
}

TEST(StockFile, KindsMatchTheRecordIndex) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    std::set<int> unnamedKinds;
    for (int i = 0; i < 75; ++i) {
        int kind = s.fish[i].kind;
        if (i < 27) {
            EXPECT_EQ(kind, i + 1) << "named fish " << i;
        } else {
            EXPECT_GE(kind, 28) << "record " << i;
            EXPECT_LE(kind, 32) << "record " << i;
            unnamedKinds.insert(kind);
        }
    }
    EXPECT_TRUE(unnamedKinds.count(28));
    EXPECT_TRUE(unnamedKinds.count(29) || unnamedKinds.count(30) || unnamedKinds.count(31));
}

TEST(StockFile, WeightsAndShapesAreCarpLike) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    std::set<std::string> names;
    double namedSum = 0, biggest = 0;
    for (int i = 0; i < 75; ++i) {
        const StockRecord& r = s.fish[i];
        EXPECT_GE(r.shape, 20) << r.name;
        EXPECT_LE(r.shape, 45) << r.name;
        EXPECT_GT(r.stocking, 0);
        EXPECT_TRUE(r.recent == 0 || r.recent >= 8) << "record " << i;
        if (i < 27) {
            EXPECT_GT(r.recent, 0) << r.name;
            names.insert(r.name);
            namedSum += r.recent;
            biggest = std::max(biggest, static_cast<double>(r.recent));
        }
    }
    EXPECT_EQ(names.size(), 27u) << "named fish need distinct names";
    EXPECT_GT(namedSum / 27, 26.0) << "the tour promises an average over 26 lb";
    EXPECT_GE(biggest, 36.0);
    EXPECT_LT(biggest, 40.0) << "the largest fish is close to 40 lb";
}

TEST(Swims, EachSwimCanBeFishedFrom) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    Lake l = LoadLake();
    ASSERT_EQ(l.error, "");
    for (int n = 0; n < 9; ++n) {
        std::vector<std::string> why = SwimProblems(l, s.swims[n]);
        std::string all;
        for (const std::string& w : why) all += w + "; ";
        EXPECT_TRUE(why.empty()) << "swim " << n + 1 << ": " << all;
    }
}

TEST(Swims, AreSpacedApartAndAllReachableOnFoot) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    Lake l = LoadLake();
    ASSERT_EQ(l.error, "");
    for (int a = 0; a < 9; ++a)
        for (int b = a + 1; b < 9; ++b)
            EXPECT_GE(Dist({s.swims[a].x, s.swims[a].z}, {s.swims[b].x, s.swims[b].z}), 20.0) << a + 1 << " and " << b + 1;
    Walk w = FloodWalk(l, Standing(s.swims[0]));
    for (int n = 0; n < 9; ++n) EXPECT_TRUE(w.Reached(Standing(s.swims[n]))) << "swim " << n + 1;
}

}  // namespace
