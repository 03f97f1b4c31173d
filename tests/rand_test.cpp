// The 15-bit generator the game's chances are written for.
#include <gtest/gtest.h>
#include "platform/system.h"

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
