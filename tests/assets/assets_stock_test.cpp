// The generated stock file: 75 fish with the kinds the screens rely on, and nine fishable swims.
#include <gtest/gtest.h>

#include <algorithm>
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

TEST(StockFile, SeventyFiveFishOfTheKindsTheScreensRelyOn) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    EXPECT_EQ(s.tokens.size(), 477u);
    std::set<std::string> names;
    std::set<int> unnamedKinds;
    double namedSum = 0, biggest = 0;
    for (int i = 0; i < 75; ++i) {
        const StockRecord& r = s.contents.fish[i];
        const std::string& name = s.tokens[6 * i];
        const std::string& tag = s.tokens[6 * i + 1];
        EXPECT_LE(name.size(), 24u);
        EXPECT_LE(tag.size(), 8u) << "the records screens have room for tags of 8 characters";
        EXPECT_TRUE(Printable(name) && Printable(tag)) << name;
        EXPECT_GE(r.shapeFactor, 20) << name;
        EXPECT_LE(r.shapeFactor, 45) << name;
        EXPECT_GT(r.stockingWeight, 0);
        EXPECT_TRUE(r.recentWeight == 0 || r.recentWeight >= 8) << "record " << i;
        if (i < 27) {
            EXPECT_EQ(r.kind, i + 1) << "named fish " << i;
            EXPECT_GT(r.recentWeight, 0) << name;
            names.insert(name);
            namedSum += r.recentWeight;
            biggest = std::max(biggest, static_cast<double>(r.recentWeight));
        } else {
            EXPECT_GE(r.kind, 28) << "record " << i;
            EXPECT_LE(r.kind, 32) << "record " << i;
            unnamedKinds.insert(r.kind);
        }
    }
    EXPECT_TRUE(unnamedKinds.count(28));
    EXPECT_TRUE(unnamedKinds.count(29) || unnamedKinds.count(30) || unnamedKinds.count(31));
    EXPECT_EQ(names.size(), 27u) << "named fish need distinct names";
    EXPECT_GT(namedSum / 27, 26.0) << "the tour promises an average over 26 lb";
    EXPECT_GE(biggest, 36.0);
    EXPECT_LT(biggest, 40.0) << "the largest fish is close to 40 lb";
}

TEST(Swims, EachCanBeFishedFromAndTheyAreSpacedApartAndReachableOnFoot) {
    const Stock& s = TheStock();
    ASSERT_EQ(s.error, "");
    const Lake& l = TheLake();
    ASSERT_EQ(l.error, "");
    Walk w = FloodWalk(l, Standing(s.contents.swims[0]));
    for (int n = 0; n < 9; ++n) {
        const SwimRecord& swim = s.contents.swims[n];
        std::string why;
        for (const std::string& p : SwimProblems(l, swim)) why += p + "; ";
        EXPECT_EQ(why, "") << "swim " << n + 1;
        EXPECT_TRUE(w.Reached(Standing(swim))) << "swim " << n + 1;
        for (int m = n + 1; m < 9; ++m)
            EXPECT_GE(Dist({swim.x, swim.z}, {s.contents.swims[m].x, s.contents.swims[m].z}), 20.0) << n + 1 << " and " << m + 1;
    }
}

}  // namespace
