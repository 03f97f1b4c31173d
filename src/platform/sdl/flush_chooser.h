// Whether the GL device flushes early: chosen by timing frames drawn both ways, now and then.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace plat {

// How the early flushes are chosen: by measurement (the default), or always or never.
enum class FlushChoice { Measured, Always, Never };

// Early flushes let llvmpipe's threads draw the start of a frame while the rest is set up; when
// other programs hold the cores they cannot, and every flush is pure cost. So the frames are
// timed, from their first draw to the end of showing them (what the device and the driver spend
// on the frame, pacing left out), and a test now and then draws frames both ways, interleaved
// frame by frame as kept, other, other, kept, so that a burst of other work on the machine falls
// on both ways alike. The other way is taken when the median of its frames beats the kept way's
// by more than a margin. A test comes every few seconds, and after a second already
// when the frame time has moved far from what the last test measured (another screen, another
// load on the machine). The way changes only between frames, and never changes a picture.
class FlushChooser {
public:
    using Clock = std::function<uint64_t()>;  // microseconds, never going back

    static constexpr int TEST_FRAMES = 32;                    // frames of a test, half of them each way
    static constexpr double MARGIN = 0.05;                    // the other way must be this much faster
    static constexpr uint64_t RETEST_US = 4000000;            // a test at least this often
    static constexpr int DRIFT_FRAMES = 12;                   // frames whose median is watched for drift
    static constexpr double DRIFT = 1.5;                      // a median this many times slower or faster drifts
    static constexpr uint64_t DRIFT_RETEST_US = 1000000;      // and brings a test this soon after the last

    FlushChooser();
    // Null: the steady clock.
    void SetClock(Clock clock);
    // Leaving a forced way for the measured choice starts a test at once.
    void SetChoice(FlushChoice choice);
    FlushChoice Choice() const { return choice_; }
    // Whether the frame being drawn flushes early.
    bool EarlyFlushes() const { return on_; }
    // Whether a test is under way (frames alternate between the two ways).
    bool Testing() const { return testing_; }
    // With the measured choice: a test from the next frame on.
    void Retest() {
        if (choice_ != FlushChoice::Measured) return;
        FrameDropped();
        StartTest();
    }

    // At a frame's draws: the first one starts the frame's time.
    void FrameBegins() {
        if (!frameOpen_) {
            frameOpen_ = true;
            frameStart_ = clock_();
        }
    }
    // The frame is shown: its time counts, and the way may change for the next frame.
    void FrameShown();
    // The open frame is not timed (it was waited for, or its way changed under it).
    void FrameDropped() { frameOpen_ = false; }

private:
    void StartTest();
    void Record(uint64_t micros, uint64_t now);
    // The way of a test's frame: kept, other, other, kept, and again.
    bool TestWay(int frame) const { return frame % 4 == 1 || frame % 4 == 2 ? !kept_ : kept_; }

    Clock clock_;
    FlushChoice choice_ = FlushChoice::Measured;
    bool on_ = true;      // the way of the frame being drawn
    bool kept_ = true;    // the way chosen by the last test (flushing wins on an idle machine)
    bool frameOpen_ = false;
    uint64_t frameStart_ = 0;
    bool testing_ = false;
    int testFrames_ = 0;              // frames of the test timed so far
    std::vector<uint64_t> times_[2];  // the test's frame times without and with the flushes
    uint64_t lastTestEnd_ = 0;
    uint64_t reference_ = 0;          // the median the last test measured for the kept way
    std::vector<uint64_t> window_;    // frame times since, for the drift
    bool drifted_ = false;
};

}  // namespace plat
