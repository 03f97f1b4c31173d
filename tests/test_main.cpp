// Test entry: full scenery detail, and a fresh temporary working folder for every test.
#include <gtest/gtest.h>
#include <memory>
#include "scratch_dir.h"

extern const bool HIGH_DETAIL_SCENERY = true;

namespace {
// Every test starts in an empty folder of its own, removed when it ends, so that no test sees
// another's save file or media whatever the order the tests run in.
class FolderPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { folder_ = std::make_unique<ScratchDir>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { folder_.reset(); }
    std::unique_ptr<ScratchDir> folder_;
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ScratchDir outsideAnyTest;
    ::testing::UnitTest::GetInstance()->listeners().Append(new FolderPerTest);
    return RUN_ALL_TESTS();
}
