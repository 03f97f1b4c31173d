// Test entry: the headless programs are built with full scenery detail. Every test process
// works in its own temporary folder, so tests never share a save file.
#include <gtest/gtest.h>
#include <filesystem>
#include "scratch_dir.h"

extern const bool HIGH_DETAIL_SCENERY = true;

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ScratchDir workFolder;
    return RUN_ALL_TESTS();
}
