// Test entry: the headless programs are built with full scenery detail.
#include <gtest/gtest.h>

extern const bool kHighDetailScenery = true;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
