// Entry of the GL tests (they need a display: ctest runs them on a virtual one).
#include <gtest/gtest.h>

extern const bool HIGH_DETAIL_SCENERY = true;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
