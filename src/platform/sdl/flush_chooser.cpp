// The choice of early flushes by frame times: tests of both ways, the margin and the drift.
#include "flush_chooser.h"
#include <algorithm>
#include <chrono>

namespace plat {

namespace {

uint64_t SteadyMicros() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}

uint64_t Median(std::vector<uint64_t> v) {
    if (v.empty()) return 0;
    auto middle = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), middle, v.end());
    return *middle;
}

}  // namespace

FlushChooser::FlushChooser() : clock_(SteadyMicros) { StartTest(); }

void FlushChooser::SetClock(Clock clock) {
    clock_ = clock ? std::move(clock) : Clock(SteadyMicros);
    FrameDropped();
}

void FlushChooser::SetChoice(FlushChoice choice) {
    if (choice == choice_) return;
    choice_ = choice;
    FrameDropped();
    if (choice == FlushChoice::Measured) {
        StartTest();
    } else {
        testing_ = false;
        on_ = choice == FlushChoice::Always;
    }
}

void FlushChooser::FrameShown() {
    if (!frameOpen_) return;
    frameOpen_ = false;
    if (choice_ != FlushChoice::Measured) return;
    const uint64_t now = clock_();
    Record(now > frameStart_ ? now - frameStart_ : 0, now);
}

void FlushChooser::StartTest() {
    testing_ = true;
    testFrames_ = 0;
    times_[0].clear();
    times_[1].clear();
    on_ = TestWay(0);
}

void FlushChooser::Record(uint64_t micros, uint64_t now) {
    if (testing_) {
        times_[on_ ? 1 : 0].push_back(micros);
        if (++testFrames_ < TEST_FRAMES) {
            on_ = TestWay(testFrames_);
            return;
        }
        const uint64_t keptTime = Median(times_[kept_ ? 1 : 0]);
        const uint64_t otherTime = Median(times_[kept_ ? 0 : 1]);
        const bool switchWay = static_cast<double>(otherTime) < static_cast<double>(keptTime) * (1.0 - MARGIN);
        if (switchWay) kept_ = !kept_;
        reference_ = switchWay ? otherTime : keptTime;
        on_ = kept_;
        testing_ = false;
        lastTestEnd_ = now;
        window_.clear();
        drifted_ = false;
        return;
    }
    window_.push_back(micros);
    if (window_.size() >= static_cast<size_t>(DRIFT_FRAMES)) {
        const double m = static_cast<double>(Median(window_)), ref = static_cast<double>(reference_);
        if (m > ref * DRIFT || m * DRIFT < ref) drifted_ = true;
        window_.clear();
    }
    const uint64_t since = now >= lastTestEnd_ ? now - lastTestEnd_ : RETEST_US;
    if (since >= RETEST_US || (drifted_ && since >= DRIFT_RETEST_US)) StartTest();
}

}  // namespace plat
