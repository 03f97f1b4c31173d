// The soak: lives of the game on the headless backend, random input held across frames, a steering
// layer that moves on from a screen that has been current for long, and the checks of every frame.
#include "soak/soak_driver.h"
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>
#include "generated_lake.h"
#include "platform/headless/headless_backend.h"
#include "platform/system.h"
#include "shell/game_app.h"
#include "shell/save_file.h"
#include "soak/soak_checks.h"

namespace soak {

bool UnderSanitizer() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

const char* ScreenName(int screen) {
    static const char* const NAMES[SCREEN_COUNT] = {
        "title",          "instructions",    "map",          "orbit view",   "stocking records",
        "bank",           "bank, walking",   "casting",      "catapult",     "rods out",
        "rod in hand",    "playing a fish",  "fish landed",  "photo",        "re-casting",
        "binoculars",     "catch records",   "photo album",  "tour",         "duck mode"};
    return screen >= 0 && screen < SCREEN_COUNT ? NAMES[screen] : "?";
}

void PrintTable(const Result& r, std::ostream& out) {
    char line[96];
    std::snprintf(line, sizeof line, "%-18s %10s %8s\n", "screen", "frames", "entries");
    out << line;
    for (int s = 0; s < SCREEN_COUNT; ++s) {
        std::snprintf(line, sizeof line, "%-18s %10lld %8lld\n", ScreenName(s), static_cast<long long>(r.frames[s]),
                      static_cast<long long>(r.entries[s]));
        out << line;
    }
}

namespace {

using plat::KeyId;

// The soak's own generator (splitmix64), so that the game's generator is left to the game.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    double Unit() { return static_cast<double>(Next() >> 11) / 9007199254740992.0; }
    bool Chance(double p) { return Unit() < p; }
    // A hold length: mostly short, now and then long.
    int HoldFrames(int mean) { return 1 + static_cast<int>(std::min(600.0, -std::log(1.0 - Unit()) * mean)); }

private:
    uint64_t state_;
};

// Every key of the game's action map.
const KeyId ACTION_KEYS[] = {KeyId::Minus, KeyId::Equals, KeyId::Left, KeyId::Right, KeyId::Up,   KeyId::Down,
                             KeyId::F5,    KeyId::Num0,   KeyId::Num1, KeyId::Num2,  KeyId::Num3, KeyId::Num4,
                             KeyId::Num5,  KeyId::Num6,   KeyId::Num7, KeyId::Num8,  KeyId::Num9, KeyId::V,
                             KeyId::X,     KeyId::O,      KeyId::U,    KeyId::D,     KeyId::C,    KeyId::F,
                             KeyId::G,     KeyId::H,      KeyId::B,    KeyId::R,     KeyId::T,    KeyId::P};

// Resident set size of this process in kilobytes (0 when it cannot be read).
int64_t ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    int64_t size = 0, resident = 0;
    if (!(statm >> size >> resident)) return 0;
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// What the save file can hold of the photos and best weights: floats as "%e" gives them back.
struct SavedState {
    PhotoRecord photos[PHOTO_SLOT_COUNT] = {};
    float bestWeight[GameApp::BEST_WEIGHT_COUNT] = {};
};
float AsWritten(float v) {
    char text[48];
    std::snprintf(text, sizeof text, "%e", static_cast<double>(v));
    return std::strtof(text, nullptr);
}
SavedState Expected(const GameApp& app) {
    SavedState s;
    for (int i = 0; i < PHOTO_SLOT_COUNT; ++i) {
        PhotoRecord p = *app.photos[i];
        for (float* f : {&p.fishSize, &p.fishWeight, &p.fishShape, &p.waterScroll[0], &p.waterScroll[1],
                         &p.waterScroll[2], &p.eyeX, &p.eyeY, &p.eyeZ, &p.heading, &p.pitch})
            *f = AsWritten(*f);
        s.photos[i] = p;
    }
    for (int i = 0; i < GameApp::BEST_WEIGHT_COUNT; ++i) s.bestWeight[i] = AsWritten(app.bestWeight[i]);
    return s;
}
// "" when `got` holds what `want` does, else the first difference.
std::string Compare(const SavedState& want, const PhotoRecord* const* gotPhotos, const float* gotWeights) {
    for (int i = 0; i < PHOTO_SLOT_COUNT; ++i) {
        const PhotoRecord& a = want.photos[i];
        const PhotoRecord& b = *gotPhotos[i];
        const bool same = a.rod1Shown == b.rod1Shown && a.rod2Shown == b.rod2Shown && a.alarmRig == b.alarmRig &&
                          a.inUse == b.inUse && a.swim == b.swim && a.fishSize == b.fishSize &&
                          a.fishWeight == b.fishWeight && a.fishKind == b.fishKind && a.fishShape == b.fishShape &&
                          a.waterScroll[0] == b.waterScroll[0] && a.waterScroll[1] == b.waterScroll[1] &&
                          a.waterScroll[2] == b.waterScroll[2] && a.eyeX == b.eyeX && a.eyeY == b.eyeY &&
                          a.eyeZ == b.eyeZ && a.heading == b.heading && a.pitch == b.pitch;
        if (!same) return "photo " + std::to_string(i) + " read back differs";
    }
    for (int i = 0; i < GameApp::BEST_WEIGHT_COUNT; ++i)
        if (want.bestWeight[i] != gotWeights[i])
            return "best weight " + std::to_string(i) + " read back as " + std::to_string(gotWeights[i]) +
                   ", written " + std::to_string(want.bestWeight[i]);
    return "";
}

// Ends the process when no frame has ended for `seconds`: a hang, reported with where it was.
class Watchdog {
public:
    Watchdog(uint64_t seed, int seconds) : seed_(seed), seconds_(seconds), thread_([this] { Watch(); }) {}
    ~Watchdog() {
        stop_ = true;
        thread_.join();
    }
    void Tick(int64_t frame, int screen) {
        frame_ = frame;
        screen_ = screen;
    }

private:
    void Watch() {
        int64_t last = -1;
        int still = 0;
        while (!stop_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const int64_t now = frame_;
            still = now == last ? still + 1 : 0;
            last = now;
            if (still >= seconds_ * 4) {
                std::fprintf(stderr, "soak: seed %llu frame %lld screen %s: no frame ended for %d s (a hang)\n",
                             static_cast<unsigned long long>(seed_), static_cast<long long>(now),
                             ScreenName(screen_), seconds_);
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    }
    uint64_t seed_;
    int seconds_;
    std::atomic<int64_t> frame_{0};
    std::atomic<int> screen_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

class Driver {
public:
    Driver(const Options& o, std::ostream& log) : options_(o), log_(log), rng_(o.seed) {}
    ~Driver() { EndLife(); }

    Result Run() {
        Watchdog watchdog(options_.seed, options_.hangSeconds);
        WriteEarlierSave();
        StartLife();
        for (frame_ = 0; frame_ < options_.frames && result_.ok; ++frame_) {
            watchdog.Tick(frame_, screen_);
            if (!app_ || app_->IsClosed()) {
                if (!result_.ok) break;
                EndLife();
                StartLife();
                if (!result_.ok) break;
            }
            Input();
            backend_->GetDevice()->ClearLog();
            app_->RunOneFrame();
            AfterFrame();
            if (options_.progress && (frame_ + 1) % 10000 == 0)
                log_ << "soak: " << frame_ + 1 << " frames, " << result_.lives << " games, "
                     << ScreenName(screen_) << ", " << ResidentKb() << " kB resident" << std::endl;
            SampleMemory();
            if (options_.saveEvery > 0 && (frame_ + 1) % options_.saveEvery == 0 && !app_->IsClosed()) SaveAndRead();
        }
        result_.framesRun = frame_;
        if (result_.ok && app_ && !app_->IsClosed()) SaveAndRead();
        EndLife();
        if (result_.ok) CheckAfterRun();
        return result_;
    }

private:
    // ---- lives ----------------------------------------------------------------------------------
    // The folder starts with what an earlier game saved: a few photos (so that the album has
    // something to show and delete) and best weights, written by the game itself.
    void WriteEarlierSave() {
        plat::InstallHeadlessBackend(tick_);
        plat::GameSrand(static_cast<uint32_t>(rng_.Next()));
        {
            GameApp earlier;
            const int swims[] = {2, 5, 7, 9};
            for (int i = 0; i < 4; ++i) {
                PhotoRecord& p = *earlier.photos[i];
                p.inUse = 1;
                p.rod1Shown = i % 2;
                p.rod2Shown = 1;
                p.alarmRig = i != 2;
                p.swim = swims[i];
                p.fishKind = i == 3 ? 29 : 3 + 7 * i;
                p.fishSize = 1.0f + 0.2f * i;
                p.fishWeight = 18.5f + 6.25f * i;
                p.fishShape = 10.0f * i;
                p.waterScroll[0] = 0.25f * i;
                p.eyeX = 40.0f + 30 * i;
                p.eyeY = 2.0f;
                p.eyeZ = 150.0f - 30 * i;
                p.heading = 0.7f * i;
                p.pitch = 6.4f;
            }
            earlier.bestWeight[0] = 31.125f;
            earlier.bestWeight[10] = 22.5f;
            earlier.bestWeight[30] = 14.0625f;
            saved_ = Expected(earlier);
            haveSaved_ = true;
        }  // written here
        plat::InstallBackend(nullptr);
    }
    void StartLife() {
        backend_ = plat::InstallHeadlessBackend(tick_);
        backend_->msPerFrame = 16;
        // The game draws from its generator while it is built (the gulls' headings), before start-up
        // seeds it from the clock: both come from the soak's seed, not from whatever ran before.
        plat::GameSrand(static_cast<uint32_t>(rng_.Next()));
        app_ = std::make_unique<GameApp>();
        if (haveSaved_) {
            const std::string diff = Compare(saved_, app_->photos, app_->bestWeight);
            if (!diff.empty()) return Fail("a new game read a save that differs from the last: " + diff);
            ++result_.saveChecks;
        }
        if (plat::Failed(app_->StartUp())) return Fail("the game did not start");
        backend_->GetDevice()->recordCallLines = false;
        backend_->GetDevice()->recordDraws = false;
        plat::GameSrand(static_cast<uint32_t>(rng_.Next()));
        ++result_.lives;
        holds_.clear();
        focusBackIn_ = 0;
        lastScreen_ = -1;
    }
    void EndLife() {
        if (!app_) return;
        tick_ = plat::GetTickCount();
        if (!backend_->errorBoxes.empty()) Fail("the game showed an error: " + backend_->errorBoxes.front());
        app_->Close();
        saved_ = Expected(*app_);
        haveSaved_ = true;
        app_.reset();  // writes the save file
        plat::InstallBackend(nullptr);
        backend_ = nullptr;
    }
    void SaveAndRead() {
        app_->WriteSaveFile();
        const SavedState want = Expected(*app_);
        FILE* f = plat::OpenGameFile("photos\\photos.qd", "r");
        if (!f) return Fail("the save file was not written");
        auto got = std::make_unique<SaveFileContents>();
        ReadSaveValues(f, got.get());
        std::fclose(f);
        if (got->valuesRead != SAVE_FILE_VALUE_COUNT)
            return Fail("the save file read back " + std::to_string(got->valuesRead) + " values");
        const PhotoRecord* photos[PHOTO_SLOT_COUNT];
        for (int i = 0; i < PHOTO_SLOT_COUNT; ++i) photos[i] = &got->photos[i];
        const std::string diff = Compare(want, photos, got->bestWeight);
        if (!diff.empty()) return Fail("the save file " + diff);
        ++result_.saveChecks;
    }
    // What a frame holds depends on the screen (the title's or the lake's textures, a fresh game
    // after a quit), so single readings are not compared: the highest reading of the stretch just
    // after the first minute is compared with the highest of the last stretch of the run.
    void SampleMemory() {
        const int64_t frame = frame_ + 1;
        if (frame < options_.memoryFrom || frame % 50 != 0) return;
        const int64_t stretch = std::max<int64_t>(2000, (options_.frames - options_.memoryFrom) / 4);
        if (frame < options_.memoryFrom + stretch)
            result_.rssAtMemoryFromKb = std::max(result_.rssAtMemoryFromKb, ResidentKb());
        else if (frame > options_.frames - stretch)
            result_.rssAtEndKb = std::max(result_.rssAtEndKb, ResidentKb());
    }
    void CheckAfterRun() {
        for (int s = 0; s < SCREEN_COUNT && options_.requireEveryScreen; ++s)
            if (result_.frames[s] == 0 && Required(s))
                return Fail(std::string("the screen \"") + ScreenName(s) + "\" was never reached");
        if (options_.checkMemory && result_.rssAtMemoryFromKb > 0 &&
            result_.rssAtEndKb - result_.rssAtMemoryFromKb > options_.memoryBoundKb)
            Fail("resident memory grew from " + std::to_string(result_.rssAtMemoryFromKb) + " kB after frame " +
                 std::to_string(options_.memoryFrom) + " to " + std::to_string(result_.rssAtEndKb) + " kB at the end");
    }
    // A fish on the line needs a bite, which a short run may not see; a landing needs a fight won,
    // which even a long run may not, and the photo follows a landing.
    bool Required(int s) const {
        if (s == SCREEN_PLAYING) return options_.frames >= 50000;
        if (s == SCREEN_LANDED) return false;
        if (s == SCREEN_PHOTO) return result_.frames[SCREEN_LANDED] > 0;
        return true;
    }
    void Fail(const std::string& what) {
        if (!result_.ok) return;
        result_.ok = false;
        result_.failure = "seed " + std::to_string(options_.seed) + " frame " + std::to_string(frame_) + " screen " +
                          ScreenName(screen_) + ": " + what;
    }

    // ---- after each frame ---------------------------------------------------------------------
    void AfterFrame() {
        if (app_->IsClosed()) return;  // quit: the next frame starts a new game
        const std::string bad = FindBadValue(*app_);
        if (!bad.empty()) return Fail(bad);
        if (!backend_->errorBoxes.empty()) return Fail("the game showed an error: " + backend_->errorBoxes.front());
        screen_ = Classify();
        ++result_.frames[screen_];
        if (screen_ != lastScreen_) {
            ++result_.entries[screen_];
            if (options_.trace) log_ << "frame " << frame_ << ": " << ScreenName(screen_) << "\n";
            lastScreen_ = screen_;
            framesHere_ = 0;
            dwell_ = DwellFor(screen_);
            if (screen_ == SCREEN_MAP) mapTarget_ = PickMapTarget();
        } else {
            ++framesHere_;
        }
        if (app_->gameMode != lastMode_) {
            lastMode_ = app_->gameMode;
            OnModeEntered();
        }
        if (app_->gameMode == MODE_FISHING) ++fishingFrames_;
        // Every walk to a stand crosses the whole lake in well under this many frames.
        const int32_t state = app_->fishingState;
        const bool walking = app_->gameMode == MODE_FISHING &&
                             (state == FISHING_WALKING_TO_SWIM || state == FISHING_WALKING_BACK ||
                              state == FISHING_BACK_RECAST2_STRIKE1 || state == FISHING_BACK_RECAST1_STRIKE2 ||
                              state == FISHING_BACK_AFTER_SNAP);
        walkFrames_ = walking && state == lastFishingState_ ? walkFrames_ + 1 : 0;
        if (walkFrames_ > WALK_LIMIT)
            return Fail("the walk of fishing state " + std::to_string(state) + " has not arrived in " +
                        std::to_string(WALK_LIMIT) + " frames");
        if (app_->fishingState == FISHING_PHOTO_MODE && lastFishingState_ != FISHING_PHOTO_MODE) ++result_.photosTaken;
        lastFishingState_ = app_->fishingState;
        Hash(static_cast<uint64_t>(plat::GameRandState()));
        Hash(static_cast<uint64_t>(app_->gameMode) << 32 | static_cast<uint32_t>(app_->fishingState));
        double eye[3] = {app_->eyeX, app_->eyeZ, app_->heading};
        uint64_t bits[3];
        std::memcpy(bits, eye, sizeof bits);
        for (uint64_t b : bits) Hash(b);
        result_.stateHash = hash_;
    }
    void Hash(uint64_t v) {
        for (int i = 0; i < 8; ++i) {
            hash_ ^= (v >> (8 * i)) & 0xFF;
            hash_ *= 0x100000001B3ull;
        }
    }
    int Classify() const {
        const GameApp& a = *app_;
        switch (a.gameMode) {
            case MODE_TITLE: return SCREEN_TITLE;
            case MODE_INSTRUCTIONS: return SCREEN_INSTRUCTIONS;
            case MODE_MAP: return a.orbitView ? SCREEN_ORBIT_VIEW : SCREEN_MAP;
            case MODE_STOCKING_RECORDS: return SCREEN_STOCKING_RECORDS;
            case MODE_CATCH_RECORDS: return SCREEN_CATCH_RECORDS;
            case MODE_PHOTO_ALBUM: return SCREEN_PHOTO_ALBUM;
            case MODE_TOUR: return SCREEN_TOUR;
            case MODE_DUCK: return SCREEN_DUCK;
            default: break;
        }
        if (a.binocularState != 0) return SCREEN_BINOCULARS;
        switch (a.fishingState) {
            case FISHING_ROAMING:
                return a.moveSpeed != 0 ? SCREEN_BANK_WALKING : SCREEN_BANK;
            case FISHING_WALKING_TO_SWIM: return SCREEN_BANK;
            case FISHING_CASTING_ROD1:
            case FISHING_ROD1_IN_FLIGHT:
            case FISHING_ROD2_IN_FLIGHT: return SCREEN_CASTING;
            case FISHING_CATAPULT_GROUNDBAIT:
            case FISHING_CATAPULT_HOOKBAITS: return SCREEN_CATAPULT;
            case FISHING_BOTH_RODS_OUT: return SCREEN_RODS_OUT;
            case FISHING_ROD_IN_HAND:
                return a.rodHasFish[0] || a.rodHasFish[1] ? SCREEN_PLAYING : SCREEN_ROD_IN_HAND;
            case FISHING_LINE_SNAPPED: return SCREEN_ROD_IN_HAND;
            case FISHING_FISH_LANDED: return SCREEN_LANDED;
            case FISHING_PHOTO_MODE: return SCREEN_PHOTO;
            default: return SCREEN_RECASTING;
        }
    }

    // ---- input: random holds under a steering layer ---------------------------------------------
    struct Hold {
        bool isKey;
        KeyId key;
        int button;
        int framesLeft;
    };
    bool Held(KeyId key) const {
        for (const Hold& h : holds_)
            if (h.isKey && h.key == key) return true;
        return false;
    }
    bool ButtonHeld(int button) const {
        for (const Hold& h : holds_)
            if (!h.isKey && h.button == button) return true;
        return false;
    }
    void Press(KeyId key, int frames) {
        if (Held(key)) return;
        backend_->QueueKey(key, true);
        holds_.push_back({true, key, 0, frames});
    }
    void PressButton(int button, int frames) {
        if (ButtonHeld(button)) return;
        backend_->QueueMouseButton(button, true);
        holds_.push_back({false, KeyId::None, button, frames});
    }
    void ReleaseAll() {
        for (Hold& h : holds_) h.framesLeft = 0;
    }
    // A click at a point of the 800 x 600 window.
    void ClickAt(int x, int y) {
        backend_->MoveCursor(x, y);
        PressButton(0, rng_.Between(1, 3));
    }
    // A click on a button placed at (width / kx, height / ky) of the framed window, as the screens
    // place theirs, on the picture inside the frame.
    void ClickButton(double kx, double ky) {
        const plat::Rect window = plat::GameWindowRect();
        ClickAt(static_cast<int>(window.right / kx - plat::WINDOW_FRAME_LEFT + rng_.Between(-4, 4)),
                static_cast<int>(window.bottom / ky - plat::WINDOW_FRAME_TOP + rng_.Between(-4, 4)));
    }

    void Input() {
        // Held keys and buttons run out (a release is seen at the next frame's poll).
        for (size_t i = 0; i < holds_.size();) {
            Hold& h = holds_[i];
            if (h.framesLeft-- > 0) {
                ++i;
                continue;
            }
            if (h.isKey) backend_->QueueKey(h.key, false);
            else backend_->QueueMouseButton(h.button, false);
            holds_.erase(holds_.begin() + static_cast<long>(i));
        }
        // Frame pacing: about 60 a second with now and then a slow frame; time runs faster while
        // the rods are out, so that the fish come sooner.
        backend_->msPerFrame = rng_.Chance(0.002) ? rng_.Between(40, 400) : rng_.Between(16, 17);
        if (waitingForBite_ && app_->fishingState == FISHING_BOTH_RODS_OUT) backend_->msPerFrame = 100;
        if (focusBackIn_ > 0 && --focusBackIn_ == 0) backend_->QueueActivate(true);

        if (app_->IsPaused()) return;
        Steer();
        RandomInput();
    }

    // Noise on top of the steering: any key of the action map, the buttons, the mouse, and now
    // and then a quit, a full-screen switch or the focus going away.
    void RandomInput() {
        const bool calm = calm_ > 0;
        if (calm) --calm_;
        const double keyRate = calm ? 0.004 : 0.03;
        if (rng_.Chance(keyRate)) {
            KeyId key = ACTION_KEYS[rng_.Below(static_cast<int>(sizeof ACTION_KEYS / sizeof ACTION_KEYS[0]))];
            // X leaves most screens: pressed by chance far less often than the rest.
            if (key == KeyId::X && !rng_.Chance(0.15)) key = KeyId::T;
            Press(key, rng_.HoldFrames(8));
        }
        if (rng_.Chance(calm ? 0.003 : 0.02)) PressButton(rng_.Below(2), rng_.HoldFrames(20));
        if (rng_.Chance(calm ? 0.05 : 0.3)) {
            const int range = rng_.Chance(0.05) ? 5000 : 60;
            backend_->QueueMouseMotion(rng_.Between(-range, range), rng_.Between(-range, range));
        }
        if (rng_.Chance(0.01)) backend_->MoveCursor(rng_.Between(-20, 1040), rng_.Between(-20, 790));

        if (rng_.Chance(1.0 / 30000)) backend_->QueueClose();  // Escape
        if (rng_.Chance(1.0 / 60000)) backend_->QueueTerminate(130);
        if (rng_.Chance(1.0 / 8000)) backend_->QueueToggleFullscreen();
        if (focusBackIn_ == 0 && rng_.Chance(1.0 / 8000)) {
            backend_->QueueActivate(false);
            focusBackIn_ = rng_.Between(1, 60);
        }
    }

    // A stay of lo..hi frames, shortened for a short run so that it still comes round every screen.
    int Stay(int lo, int hi) {
        const double pace = std::min(1.0, std::max(0.4, static_cast<double>(options_.frames) / 30000.0));
        return rng_.Between(static_cast<int>(lo * pace), static_cast<int>(hi * pace));
    }
    // Frames a screen may stay current before the steering moves on.
    int DwellFor(int screen) {
        switch (screen) {
            case SCREEN_TITLE: return Stay(20, 400);
            case SCREEN_MAP: return Stay(20, 300);
            case SCREEN_ORBIT_VIEW: return Stay(60, 600);
            case SCREEN_TOUR: return Stay(200, 1200);
            case SCREEN_DUCK: return Stay(200, 1000);
            case SCREEN_BINOCULARS: return Stay(30, 300);
            default: return Stay(30, 400);
        }
    }

    void OnModeEntered() {
        if (app_->gameMode == MODE_FISHING && !returningFromSide_) {
            fishingGoal_ = pendingGoal_;
            pendingGoal_ = rng_.Chance(0.5) ? GOAL_FISH : GOAL_BANK;  // for a way in by chance
            fishingFrames_ = 0;
            fishingLimit_ = fishingGoal_ == GOAL_FISH ? Stay(1000, 4000) : Stay(400, 1200);
            for (int64_t& at : bankVisitAt_) at = rng_.Between(30, static_cast<int>(fishingLimit_) - 60);
        }
        if (app_->gameMode == MODE_PHOTO_ALBUM) bankVisitAt_[0] = INT64_MAX;
        if (app_->gameMode == MODE_CATCH_RECORDS) bankVisitAt_[1] = INT64_MAX;
        returningFromSide_ = app_->gameMode == MODE_PHOTO_ALBUM || app_->gameMode == MODE_CATCH_RECORDS;
        waitingForBite_ = false;
    }

    enum MapTarget { TO_FISHING, TO_BANK, TO_INSTRUCTIONS, TO_TOUR, TO_DUCK, TO_STOCKING, TO_ORBIT, TO_QUIT };
    // The ways off the map come round as a shuffled deck: fishing twice, a walk on the bank (with
    // the album and the records) and every other screen once a round, Escape (a new game
    // on the same folder) every other round.
    int PickMapTarget() {
        if (deck_.empty()) {
            for (int t = TO_FISHING; t < TO_QUIT; ++t) deck_.push_back(t);
            deck_.push_back(TO_FISHING);
            if (rng_.Chance(0.5)) deck_.push_back(TO_QUIT);
            for (size_t i = deck_.size() - 1; i > 0; --i) std::swap(deck_[i], deck_[rng_.Below(static_cast<int>(i) + 1)]);
        }
        const int target = deck_.back();
        deck_.pop_back();
        return target;
    }

    void Steer() {
        if (steerWait_ > 0) {
            --steerWait_;
            return;
        }
        const GameApp& a = *app_;
        const bool overdue = framesHere_ > dwell_;
        switch (a.gameMode) {
            case MODE_TITLE:
                if (overdue) {
                    if (rng_.Chance(0.5)) Press(KeyId::X, 2);
                    else ClickAt(400 + rng_.Between(-60, 60), 545 + rng_.Between(-20, 20));
                    steerWait_ = 20;
                }
                break;
            case MODE_INSTRUCTIONS:
            case MODE_STOCKING_RECORDS:
                if (overdue || rng_.Chance(0.01)) {
                    if (a.gameMode == MODE_INSTRUCTIONS && rng_.Chance(0.5)) Press(KeyId::X, 2);
                    else ClickAt(400 + rng_.Between(-60, 60), 545 + rng_.Between(-20, 20));
                    steerWait_ = rng_.Between(10, 60);
                }
                break;
            case MODE_CATCH_RECORDS:
                if (rng_.Chance(0.05)) backend_->MoveCursor(rng_.Between(0, 400), rng_.Between(20, 560));
                if (overdue) {
                    if (rng_.Chance(0.5)) Press(KeyId::X, 2);
                    else ClickAt(400, 545);
                    steerWait_ = 30;
                }
                break;
            case MODE_PHOTO_ALBUM:
                if (rng_.Chance(0.01)) PressButton(0, 2);  // the next photo
                if (overdue) {
                    Press(KeyId::P, 2);
                    steerWait_ = 30;
                }
                break;
            case MODE_TOUR:
                if (overdue) {
                    Press(KeyId::X, 2);
                    steerWait_ = 30;
                }
                break;
            case MODE_DUCK:
                if (rng_.Chance(0.02)) PressButton(rng_.Chance(0.8) ? 1 : 0, rng_.HoldFrames(60));
                if (rng_.Chance(0.01)) Press(rng_.Chance(0.5) ? KeyId::Up : KeyId::Down, rng_.HoldFrames(20));
                if (overdue) {
                    Press(KeyId::X, 2);
                    steerWait_ = 30;
                }
                break;
            case MODE_MAP: SteerMap(); break;
            case MODE_FISHING: SteerFishing(); break;
            default: break;
        }
    }

    void SteerMap() {
        const GameApp& a = *app_;
        if (a.orbitView) {
            if (rng_.Chance(0.03)) {
                const KeyId keys[] = {KeyId::Left, KeyId::Right, KeyId::Up, KeyId::Down, KeyId::Minus, KeyId::Equals};
                Press(keys[rng_.Below(6)], rng_.HoldFrames(30));
            }
            if (framesHere_ > dwell_) {
                ClickAt(400 + rng_.Between(-50, 50), 545 + rng_.Between(-20, 20));
                steerWait_ = 20;
            }
            return;
        }
        // Tackle and swim choices now and then, the first of them before the first frame the lake
        // is ready is simply not seen.
        if (rng_.Chance(0.02)) {
            if (rng_.Chance(0.5)) ClickAt(rng_.Between(84, 714), rng_.Between(84, 524));  // a swim
            else ClickAt(rng_.Between(500, 790), rng_.Between(100, 590));                // the tackle panel
            steerWait_ = 5;
            return;
        }
        if (framesHere_ <= dwell_) return;
        switch (mapTarget_) {
            case TO_FISHING:
            case TO_BANK:
                pendingGoal_ = mapTarget_ == TO_FISHING ? GOAL_FISH : GOAL_BANK;
                ClickButton(20, 11);
                break;
            case TO_INSTRUCTIONS: ClickButton(8.8, 11); break;
            case TO_TOUR: ClickButton(20, 2.57); break;
            case TO_DUCK: ClickButton(20, 2.28); break;
            case TO_STOCKING: ClickButton(1.06, 1.1); break;
            case TO_ORBIT: ClickButton(1.06, 1.04); break;
            default: backend_->QueueClose(); break;
        }
        steerWait_ = 20;
    }

    enum FishingGoal { GOAL_FISH, GOAL_BANK };

    void SteerFishing() {
        GameApp& a = *app_;
        const bool fishOn = a.rodHasFish[0] || a.rodHasFish[1];
        // A walk on the bank lasts until the album and the catch records have been seen (or twice
        // its time).
        const bool sideVisitsDone = fishingGoal_ == GOAL_FISH ||
                                    (bankVisitAt_[0] == INT64_MAX && bankVisitAt_[1] == INT64_MAX) ||
                                    fishingFrames_ > 2 * fishingLimit_;
        const bool timeUp = fishingFrames_ > fishingLimit_ && sideVisitsDone && !fishOn && a.fishingState != FISHING_FISH_LANDED &&
                            a.fishingState != FISHING_PHOTO_MODE;
        if (timeUp) {
            if (a.binocularState == 1) Press(KeyId::B, 2);
            else Press(KeyId::X, 2);
            steerWait_ = 30;
            return;
        }
        if (a.binocularState == 1) {
            if (framesHere_ > dwell_) {
                Press(KeyId::B, 2);
                steerWait_ = 20;
            }
            return;
        }
        if (fishingGoal_ == GOAL_BANK) {
            calm_ = 0;
            if (a.fishingState == FISHING_CATAPULT_GROUNDBAIT || a.fishingState == FISHING_CATAPULT_HOOKBAITS) {
                Press(a.fishingState == FISHING_CATAPULT_GROUNDBAIT ? KeyId::G : KeyId::H, 2);
                steerWait_ = 20;
                return;
            }
            if (a.fishingState >= 0) {  // set up at a swim by chance: the album is out of reach
                if (!fishOn) {
                    Press(KeyId::X, 2);
                    deck_.push_back(TO_BANK);
                    steerWait_ = 30;
                }
                return;
            }
            if (rng_.Chance(0.02)) PressButton(rng_.Chance(0.7) ? 1 : 0, rng_.HoldFrames(90));
            // The album, the catch records and the binoculars once each, at a time of their own.
            const KeyId keys[3] = {KeyId::P, KeyId::C, KeyId::B};
            for (int k = 0; k < 3; ++k) {
                if (fishingFrames_ < bankVisitAt_[k]) continue;
                ReleaseAll();
                Press(keys[k], 2);
                bankVisitAt_[k] = k == 2 ? INT64_MAX : fishingFrames_ + 60;  // again, should a lock eat the key
                steerWait_ = 20;
                return;
            }
            return;
        }

        calm_ = 2;  // keep the noise down while fishing in earnest
        switch (a.fishingState) {
            case FISHING_ROAMING:
                if (a.nearbySwim != NO_SWIM && a.arrivalCountdown == 0) {
                    Press(KeyId::F, 2);
                } else if (fishingFrames_ > 400) {  // wandered off: back to the map, and come again
                    Press(KeyId::X, 2);
                    deck_.push_back(TO_FISHING);
                }
                steerWait_ = 10;
                break;
            case FISHING_CASTING_ROD1:
            case FISHING_ROD1_IN_FLIGHT:
            case FISHING_RECASTING_ROD1:
            case FISHING_RECASTING_ROD2:
                if (rng_.Chance(0.2)) backend_->QueueMouseMotion(rng_.Between(-30, 30), rng_.Between(-60, 20));
                if (a.castFlight[0] == 0 && a.castFlight[1] == 0) {
                    if (rng_.Chance(0.05)) {
                        PressButton(0, 2);
                        steerWait_ = 10;
                    }
                }
                break;
            case FISHING_BOTH_RODS_OUT:
                waitingForBite_ = true;
                for (int rod = 0; rod < ROD_COUNT; ++rod) {
                    if (a.alarmFrames[rod] >= 4 && rng_.Chance(0.3)) {
                        Press(rod == 0 ? KeyId::Num1 : KeyId::Num2, 2);
                        steerWait_ = 10;
                        return;
                    }
                }
                if (rng_.Chance(0.003)) Press(rng_.Chance(0.7) ? KeyId::G : KeyId::H, 2);
                if (rng_.Chance(0.0005)) Press(KeyId::B, 2);
                if (rng_.Chance(0.002)) Press(rng_.Chance(0.5) ? KeyId::Num1 : KeyId::Num2, 2);  // a strike at nothing
                break;
            case FISHING_CATAPULT_GROUNDBAIT:
            case FISHING_CATAPULT_HOOKBAITS:
                if (rng_.Chance(0.2)) backend_->QueueMouseMotion(rng_.Between(-20, 20), rng_.Between(-40, 20));
                if (a.catapultPhase == 0 && rng_.Chance(0.05)) {
                    PressButton(0, 2);
                    steerWait_ = 20;
                } else if (framesHere_ > 300) {  // put the catapult down again
                    Press(a.fishingState == FISHING_CATAPULT_GROUNDBAIT ? KeyId::G : KeyId::H, 2);
                    steerWait_ = 20;
                }
                break;
            case FISHING_ROD_IN_HAND:
                if (fishOn) Play();
                else {
                    ReleaseAll();
                    Press(KeyId::R, 2);
                    steerWait_ = 20;
                }
                break;
            case FISHING_LINE_SNAPPED:
                ReleaseAll();
                Press(KeyId::R, 2);
                steerWait_ = 20;
                break;
            case FISHING_FISH_LANDED:
                ReleaseAll();
                // The photo (always for the run's first fish), or the fish put back from the sling.
                Press(result_.photosTaken == 0 || rng_.Chance(0.8) ? KeyId::P : KeyId::R, 2);
                steerWait_ = 30;
                break;
            case FISHING_PHOTO_MODE:
                if (rng_.Chance(0.02)) backend_->QueueMouseMotion(rng_.Between(-20, 20), rng_.Between(-20, 20));
                if (framesHere_ > 70) {
                    Press(KeyId::P, 2);
                    steerWait_ = 30;
                }
                break;
            default: break;
        }
    }

    // Playing a fish: the clutch screwed up, the rod swung against the fish, a step toward the
    // water while the net would be on land, and some slack now and then.
    void Play() {
        GameApp& a = *app_;
        const bool dry = a.NetWaterProbe() == GameApp::NET_PROBE_DRY;
        if (dry) Press(KeyId::Up, 3);
        if (!ButtonHeld(1) && rng_.Chance(0.9)) PressButton(1, rng_.HoldFrames(120));
        if (rng_.Chance(0.01)) PressButton(0, rng_.HoldFrames(10));
        if (rng_.Chance(0.025)) backend_->QueueMouseMotion(a.fishBearing > a.rodYaw ? -20 : 20, rng_.Between(-10, 10));
    }

    Options options_;
    std::ostream& log_;
    Rng rng_;
    Result result_;
    int64_t frame_ = 0;
    uint32_t tick_ = 100000;
    plat::HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<GameApp> app_;
    SavedState saved_;
    bool haveSaved_ = false;
    std::vector<Hold> holds_;
    int focusBackIn_ = 0;
    int screen_ = SCREEN_TITLE;
    int lastScreen_ = -1;
    int64_t framesHere_ = 0;
    int64_t dwell_ = 0;
    int32_t lastMode_ = -1;
    int32_t lastFishingState_ = FISHING_ROAMING;
    int steerWait_ = 0;
    int calm_ = 0;
    int mapTarget_ = TO_FISHING;
    int fishingGoal_ = GOAL_FISH;
    int pendingGoal_ = GOAL_FISH;
    int64_t bankVisitAt_[3] = {};  // fishing frame for the album, the catch records, the binoculars
    std::vector<int> deck_;
    int64_t fishingFrames_ = 0;
    static constexpr int64_t WALK_LIMIT = 1200;  // 360 units at the slowest walk, 0.3 a frame
    int64_t walkFrames_ = 0;
    int64_t fishingLimit_ = 0;
    bool returningFromSide_ = false;
    bool waitingForBite_ = false;
    uint64_t hash_ = 0xCBF29CE484222325ull;
};

}  // namespace

Result Run(const Options& options, std::ostream& log) {
    GeneratedLakeFolder folder;
    if (!folder.ok) {
        Result r;
        r.ok = false;
        r.failure = std::string("no generated game media in ") + LAKESIDE_GAME_DIR;
        return r;
    }
    Driver driver(options, log);
    return driver.Run();
}

}  // namespace soak
