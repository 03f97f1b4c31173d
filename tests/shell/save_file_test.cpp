// The save file: round trip, files written by the original layout, damaged and unreadable files,
// links and left-over temporary files, failed writes and the number format under a comma locale.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <algorithm>
#include <climits>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include "platform/file_bytes.h"
#include "platform/headless/headless_backend.h"
#include "scratch_dir.h"
#include "shell/entry.h"
#include "shell/game_app.h"
#include "shell/save_file.h"

namespace {

std::string ReadText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool Exists(const char* path) { return std::filesystem::exists(path); }

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::stringstream s(text);
    for (std::string line; std::getline(s, line);) lines.push_back(line);
    return lines;
}

std::vector<std::string> FolderEntries(const char* dir) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) names.push_back(e.path().filename().string());
    return names;
}

// A photo whose every value tells its slot apart.
PhotoRecord SamplePhoto(int slot) {
    const float f = static_cast<float>(slot);
    return PhotoRecord{uint8_t(slot % 2), 1, uint8_t((slot + 1) % 2), 1, slot % 9 + 1, 20.5f + f, 12.9f + f * 0.25f,
                       slot % 32 + 1, 3.25f, {0.125f * f, -0.75f, 1e-3f}, 100.0f + f, 2.0f, 92.5f, 6.283f, 6.4f};
}

std::string Exp(double v) {
    char b[64];
    std::snprintf(b, sizeof b, "%e", v);
    return b;
}

// The 17 values of a record in file order.
std::vector<std::string> PhotoValues(const PhotoRecord& p) {
    auto f = [](float v) { return Exp(v); };
    auto i = [](int v) { return std::to_string(v); };
    return {i(p.rod1Shown), i(p.rod2Shown), i(p.alarmRig), i(p.inUse), f(p.fishSize), f(p.fishWeight),
            i(p.swim), i(p.fishKind), f(p.fishShape), f(p.waterScroll[0]), f(p.waterScroll[1]),
            f(p.waterScroll[2]), f(p.eyeX), f(p.eyeY), f(p.eyeZ), f(p.heading), f(p.pitch)};
}

// The 925 values of a save file with photos in slots 0..photoCount-1 and weights 0.5 + i.
std::vector<std::string> SaveValues(int photoCount) {
    std::vector<std::string> v;
    for (int slot = 0; slot < PHOTO_SLOT_COUNT; ++slot) {
        std::vector<std::string> r = PhotoValues(slot < photoCount ? SamplePhoto(slot) : PhotoRecord{});
        v.insert(v.end(), r.begin(), r.end());
    }
    for (int i = 0; i < GameApp::BEST_WEIGHT_COUNT; ++i) v.push_back(Exp(0.5 + i));
    return v;
}

std::string Join(const std::vector<std::string>& values, const char* eol = "\n") {
    std::string s;
    for (const std::string& v : values) s += v + eol;
    return s;
}

// What a float becomes after a trip through "%e".
float Rounded(float v) { return static_cast<float>(std::strtod(Exp(v).c_str(), nullptr)); }

// The record as it comes back from the file: every float through "%e".
PhotoRecord Rounded(PhotoRecord p) {
    for (float* f : {&p.fishSize, &p.fishWeight, &p.fishShape, &p.waterScroll[0], &p.waterScroll[1],
                     &p.waterScroll[2], &p.eyeX, &p.eyeY, &p.eyeZ, &p.heading, &p.pitch})
        *f = Rounded(*f);
    return p;
}

void ExpectPhoto(const PhotoRecord& got, const PhotoRecord& want, int slot) {
    static_assert(sizeof(PhotoRecord) == 56, "no padding: records compare bytewise");
    const PhotoRecord expected = Rounded(want);
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << "slot " << slot;
}

const char* const SAVE = "photos/photos.qd";
const char* const BAD = "photos/photos.qd.bad";

// The real program's start and exit on the headless backend: the title, then Escape.
int PlayAndEscape() {
    plat::HeadlessBackend* backend = plat::InstallHeadlessBackend();
    backend->QueueClose();
    const int code = GameMain();
    plat::InstallBackend(nullptr);
    return code;
}

}  // namespace

TEST(SaveFile, RoundTripAndTheEmptyFile) {
    ScratchDir dir;
    std::make_unique<GameApp>().reset();  // no folder, no file: the exit makes both
    std::vector<std::string> lines = Lines(ReadText(SAVE));
    ASSERT_EQ(lines.size(), 925u);
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t k = i % 17;
        const bool integer = i < 850 && (k < 4 || k == 6 || k == 7);
        EXPECT_EQ(lines[i], integer ? "0" : "0.000000e+00") << i;
    }
    {
        auto app = std::make_unique<GameApp>();
        for (int slot = 0; slot < 50; ++slot) *app->photos[slot] = SamplePhoto(slot);
        for (int i = 0; i < 75; ++i) app->bestWeight[i] = 0.5f + i;
        app->bestWeight[3] = 12.9f;
    }
    const std::string first = ReadText(SAVE);
    lines = Lines(first);
    ASSERT_EQ(lines.size(), 925u);
    EXPECT_EQ(lines[4], "2.050000e+01");  // fishSize of slot 0
    EXPECT_EQ(lines[850 + 3], "1.290000e+01");
    {
        auto app = std::make_unique<GameApp>();
        for (int slot = 0; slot < 50; ++slot) ExpectPhoto(*app->photos[slot], SamplePhoto(slot), slot);
        EXPECT_EQ(app->bestWeight[3], Rounded(12.9f));
        EXPECT_EQ(app->bestWeight[74], 74.5f);
    }
    EXPECT_EQ(ReadText(SAVE), first);
    EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});  // no .bad, no temporary
}

TEST(SaveFile, WindowsFileWithCrlfAndThreeDigitExponentsLoadsAndPacksPhotos) {
    ScratchDir dir;
    // Slot 0 free, slots 1 and 3 used: the photos move to 0 and 1 in their order.
    std::vector<std::string> values;
    for (int slot = 0; slot < 50; ++slot) {
        std::vector<std::string> r = PhotoValues(slot == 1 || slot == 3 ? SamplePhoto(slot) : PhotoRecord{});
        values.insert(values.end(), r.begin(), r.end());
    }
    for (int i = 0; i < 75; ++i) values.push_back(i == 5 ? "1.290000e+001" : "0.000000e+000");
    // Windows exponents have three digits.
    for (std::string& v : values) {
        size_t e = v.find("e+");
        if (e == std::string::npos) e = v.find("e-");
        if (e != std::string::npos && v.size() - e == 4) v.insert(e + 2, "0");
    }
    values[17 + 0] = "258";  // a flag keeps its low 8 bits
    ScratchDir::WriteText(SAVE, Join(values, "\r\n"));

    auto app = std::make_unique<GameApp>();
    PhotoRecord first = SamplePhoto(1);
    first.rod1Shown = 2;
    ExpectPhoto(*app->photos[0], first, 0);
    ExpectPhoto(*app->photos[1], SamplePhoto(3), 1);
    for (int slot = 2; slot < 50; ++slot) ExpectPhoto(*app->photos[slot], PhotoRecord{}, slot);
    EXPECT_EQ(app->bestWeight[5], 12.9f);
    EXPECT_EQ(app->bestWeight[4], 0.0f);
    EXPECT_FALSE(Exists(BAD));
}

// A damaged file loads its good prefix, is kept aside as photos.qd.bad, and the exit write is whole.
TEST(SaveFile, DamagedFilesLoadTheirGoodPrefixAndAreKeptAside) {
    // Far longer than any number the game writes: not read as some other value.
    static const std::string OVERLONG_ONE = std::string(80, '0') + "1";
    struct Case {
        const char* what;
        std::function<std::string()> text;
        int photosLoaded;   // complete records kept
        int weightsLoaded;  // best weights kept
    };
    auto withValue = [](int index, const char* token) {
        return [index, token] {
            std::vector<std::string> v = SaveValues(50);
            v[index] = token;
            return Join(v);
        };
    };
    auto cutAfter = [](int count) {
        return [count] {
            std::vector<std::string> v = SaveValues(50);
            v.resize(count);
            return Join(v);
        };
    };
    const Case cases[] = {
        {"cut after 20 records", cutAfter(20 * 17), 20, 0},
        {"cut inside record 21", cutAfter(20 * 17 + 5), 20, 0},
        {"cut inside the weights", cutAfter(850 + 10), 50, 10},
        {"empty file", [] { return std::string(); }, 0, 0},
        {"nan as a size", withValue(3 * 17 + 4, "nan"), 3, 0},
        {"inf as a weight", withValue(850 + 7, "inf"), 50, 7},
        {"-inf as a heading", withValue(2 * 17 + 15, "-inf"), 2, 0},
        {"a word", withValue(850 + 40, "abc"), 50, 40},
        {"1.5 in the swim", withValue(4 * 17 + 6, "1.5"), 4, 0},
        {"1e40 as a float", withValue(6 * 17 + 12, "1e40"), 6, 0},
        {"integer overflow", withValue(7 * 17 + 7, "2147483648"), 7, 0},
        {"number glued to text", withValue(8 * 17 + 9, "0.5x"), 8, 0},
        {"comma decimal", withValue(9 * 17 + 5, "12,5"), 9, 0},
        {"overlong integer", withValue(10 * 17 + 6, OVERLONG_ONE.c_str()), 10, 0},
        // The game writes 50 records and 75 weights, nothing more: in a longer file the weights
        // may be a 51st record's values (here fish 5 would weigh 70.5, its size), so none is taken.
        {"a 51st record", [] {
             std::vector<std::string> v = SaveValues(50);
             const std::vector<std::string> extra = PhotoValues(SamplePhoto(50));
             v.insert(v.begin() + 850, extra.begin(), extra.end());
             return Join(v);
         }, 50, 0},
        {"words after the weights", [] { return Join(SaveValues(50)) + "trailing words\n"; }, 50, 0},
        {"a number after the weights", [] { return Join(SaveValues(50)) + "0.000000e+00\n"; }, 50, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string original = c.text();
        ScratchDir::WriteText(SAVE, original);
        testing::internal::CaptureStderr();
        auto app = std::make_unique<GameApp>();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        for (int slot = 0; slot < 50; ++slot)
            ExpectPhoto(*app->photos[slot], slot < c.photosLoaded ? SamplePhoto(slot) : PhotoRecord{}, slot);
        auto weight = [&](int i) { return i < c.weightsLoaded ? 0.5f + i : 0.0f; };
        for (int i = 0; i < 75; ++i) EXPECT_EQ(app->bestWeight[i], weight(i)) << i;
        ASSERT_TRUE(Exists(BAD));
        EXPECT_EQ(ReadText(BAD), original);
        app.reset();
        EXPECT_EQ(ReadText(BAD), original);
        const std::vector<std::string> saved = Lines(ReadText(SAVE));
        ASSERT_EQ(saved.size(), 925u);
        for (int i = 0; i < 75; ++i) EXPECT_EQ(saved[850 + i], Exp(weight(i))) << "weight " << i << " written back";
    }
}

namespace {

// Limits the size of any file this process writes (as a full disk would) until destroyed.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        struct rlimit small = saved_;
        small.rlim_cur = bytes;
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ok_ = ::setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        ::signal(SIGXFSZ, oldHandler_);
    }
    bool Ok() const { return ok_; }

private:
    struct rlimit saved_;
    void (*oldHandler_)(int);
    bool ok_ = false;
};

std::string Damaged() {
    std::vector<std::string> v = SaveValues(30);
    v[25 * 17 + 4] = "abc";  // photos 25..29 and every weight come after the damage
    return Join(v);
}

}  // namespace

// The damaged original is never overwritten before a copy of it exists, whatever stands in the way.
TEST(SaveFile, DamagedOriginalSurvivesWhenItsCopyCannotBeMade) {
    const std::string original = Damaged();
    {
        SCOPED_TRACE("a folder has the usual copy's name");
        ScratchDir dir;
        ScratchDir::WriteText(SAVE, original);
        std::filesystem::create_directories(BAD);
        testing::internal::CaptureStderr();
        auto app = std::make_unique<GameApp>();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("photos/photos.qd.bad1"), std::string::npos) << err;
        EXPECT_TRUE(ReadText("photos/photos.qd.bad1") == original);
        app.reset();
        EXPECT_TRUE(ReadText("photos/photos.qd.bad1") == original);
        EXPECT_TRUE(std::filesystem::is_directory(BAD));
        EXPECT_EQ(Lines(ReadText(SAVE)).size(), 925u);
    }
    {
        SCOPED_TRACE("no room for the copy at start, room at exit");
        ScratchDir dir;
        ScratchDir::WriteText(SAVE, original);
        std::unique_ptr<GameApp> app;
        std::string err;
        {
            FileSizeLimit full(1000);
            ASSERT_TRUE(full.Ok());
            testing::internal::CaptureStderr();
            app = std::make_unique<GameApp>();
            err = testing::internal::GetCapturedStderr();
        }
        EXPECT_TRUE(ReadText(SAVE) == original);
        EXPECT_NE(err.find("no copy"), std::string::npos) << err;
        ExpectPhoto(*app->photos[24], SamplePhoto(24), 24);
        testing::internal::CaptureStderr();
        app.reset();
        err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find("moved to photos/photos.qd.bad"), std::string::npos) << err;
        EXPECT_TRUE(ReadText(BAD) == original);
        EXPECT_EQ(Lines(ReadText(SAVE)).size(), 925u);
    }
    {
        SCOPED_TRACE("no room at start nor at exit");
        ScratchDir dir;
        ScratchDir::WriteText(SAVE, original);
        FileSizeLimit full(1000);
        ASSERT_TRUE(full.Ok());
        testing::internal::CaptureStderr();
        std::make_unique<GameApp>().reset();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 2) << err;
        EXPECT_TRUE(ReadText(SAVE) == original);
        EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});
    }
    {
        SCOPED_TRACE("every name for a copy taken");
        ScratchDir dir;
        ScratchDir::WriteText(SAVE, original);
        std::filesystem::create_directories(BAD);
        for (int i = 1; i < 100; ++i) std::filesystem::create_directories(BAD + std::to_string(i));
        testing::internal::CaptureStderr();
        std::make_unique<GameApp>().reset();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_TRUE(ReadText(SAVE) == original);
        EXPECT_NE(err.find("photos/photos.qd.new"), std::string::npos) << err;
        EXPECT_EQ(Lines(ReadText("photos/photos.qd.new")).size(), 925u);
    }
}

TEST(SaveFile, ValidEdgeValuesAreNotDamage) {
    ScratchDir dir;
    std::vector<std::string> v = SaveValues(2);
    v[17 + 7] = "-2147483648";  // fishKind at the bottom of the range
    v[17 + 6] = "+3";
    v[850] = "1e-50";  // too small for a float: zero, but a number
    ScratchDir::WriteText(SAVE, Join(v, " \t\n\n"));
    testing::internal::CaptureStderr();
    auto app = std::make_unique<GameApp>();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(app->photos[1]->fishKind, INT32_MIN);
    EXPECT_EQ(app->photos[1]->swim, 3);
    EXPECT_EQ(app->bestWeight[0], 0.0f);
    EXPECT_EQ(app->bestWeight[1], 1.5f);
    EXPECT_FALSE(Exists(BAD));
}

// A write that fails half-way (here: the file-size limit, which binds root too) keeps the old file.
TEST(SaveFile, FailedWriteKeepsThePreviousFile) {
    ScratchDir dir;
    const std::string old = Join(SaveValues(3));
    ScratchDir::WriteText(SAVE, old);
    auto app = std::make_unique<GameApp>();
    *app->photos[3] = SamplePhoto(3);

    std::string err;
    {
        FileSizeLimit full(2000);  // the file needs about 12 kB
        ASSERT_TRUE(full.Ok());
        testing::internal::CaptureStderr();
        app.reset();
        err = testing::internal::GetCapturedStderr();
    }

    EXPECT_NE(err.find("previous file is kept"), std::string::npos) << err;
    EXPECT_EQ(ReadText(SAVE), old);
    EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});
}

// Numbers stay in the "C" format when the process runs under a comma-decimal locale.
TEST(SaveFile, NumbersUseAPointUnderACommaLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"};
    ScratchDir dir;
    ScratchDir::WriteText(SAVE, Join(SaveValues(50)));
    const float wantWeight = Rounded(SamplePhoto(49).fishWeight);
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* found = nullptr;
    for (const char* name : names)
        if (std::setlocale(LC_NUMERIC, name)) {
            found = name;
            break;
        }
    if (!found) {
        // Compile one into the scratch folder when the locale sources are there.
        const std::string compiled = std::filesystem::current_path().string() + "/locales";
        const std::string cmd = "mkdir -p '" + compiled + "' && localedef -i de_DE -f UTF-8 '" + compiled +
                                "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) {
            setenv("LOCPATH", compiled.c_str(), 1);
            if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) found = "de_DE.UTF-8";
        }
    }
    if (!found) GTEST_SKIP() << "no comma-decimal locale installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5");

    testing::internal::CaptureStderr();
    auto app = std::make_unique<GameApp>();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(app->photos[49]->inUse, 1);
    EXPECT_EQ(app->photos[49]->fishWeight, wantWeight);
    EXPECT_EQ(app->bestWeight[74], 74.5f);
    app.reset();
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(err, "");
    const std::string text = ReadText(SAVE);
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_EQ(Lines(text)[4], "2.050000e+01");
}

// Only a save file that is not there means a fresh start. One that is there but cannot be read
// (refused, or a failing disk: injected here, since the tests run as root, whom permissions do not
// stop) is left exactly as it is; the game plays with no photos and does not save over it.
TEST(SaveFile, AFileThatCannotBeReadIsLeftAsItIsAndNotSavedOver) {
    struct Case {
        const char* what;
        int openErrno, readErrno;
        const char* reason;
    };
    const Case cases[] = {
        {"permission refused", EACCES, 0, "cannot be opened (Permission denied)"},
        {"a read error", 0, EIO, "cannot be read (Input/output error)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string original = Join(SaveValues(50));
        ScratchDir::WriteText(SAVE, original);
        plat::InjectFileFault("photos/photos.qd", c.openErrno, c.readErrno);
        {
            testing::internal::CaptureStderr();
            auto app = std::make_unique<GameApp>();
            const std::string err = testing::internal::GetCapturedStderr();
            EXPECT_NE(err.find(c.reason), std::string::npos) << err;
            EXPECT_NE(err.find("It is left as it is"), std::string::npos) << err;
            for (int slot = 0; slot < 50; ++slot) ExpectPhoto(*app->photos[slot], PhotoRecord{}, slot);
            EXPECT_EQ(app->bestWeight[0], 0.0f);
            *app->photos[0] = SamplePhoto(0);  // a photo taken in this game is not saved over it either
            testing::internal::CaptureStderr();
        }
        testing::internal::GetCapturedStderr();
        EXPECT_TRUE(ReadText(SAVE) == original);

        testing::internal::CaptureStderr();
        const int code = PlayAndEscape();
        const std::string err = testing::internal::GetCapturedStderr();
        plat::InjectFileFault("", 0, 0);
        EXPECT_NE(code, 0) << "this game's photos were not saved";
        EXPECT_NE(err.find("were not saved"), std::string::npos) << err;
        EXPECT_TRUE(ReadText(SAVE) == original);
        EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});
    }
}

// A save file that is no plain file, or larger than any save, is not read (the start neither waits
// on a pipe nor reads a device for ever) and is left as it is.
TEST(SaveFile, NoPlainFileOrOneTooLargeIsLeftAsItIs) {
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* reason;
    };
    const std::string large = Join(SaveValues(50)) + std::string(SAVE_FILE_MAX_BYTES, '\n');
    const Case cases[] = {
        {"a pipe", [] { ASSERT_EQ(::mkfifo(SAVE, 0644), 0); }, "it is not a plain file"},
        {"a link to /dev/zero", [] { std::filesystem::create_symlink("/dev/zero", SAVE); }, "it is not a plain file"},
        {"too large", [&large] { ScratchDir::WriteText(SAVE, large); }, "it is larger than the 65536 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        std::filesystem::create_directories("photos");
        c.make();
        const auto type = std::filesystem::symlink_status(SAVE).type();
        testing::internal::CaptureStderr();
        EXPECT_NE(PlayAndEscape(), 0);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(std::string("photos/photos.qd could not be read: ") + c.reason), std::string::npos) << err;
        EXPECT_EQ(std::filesystem::symlink_status(SAVE).type(), type);
        if (type == std::filesystem::file_type::regular) {
            EXPECT_TRUE(ReadText(SAVE) == large);
        }
        EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});
    }
}

// A save file that is a symbolic link stays one: the file it points to is replaced, in its folder.
TEST(SaveFile, ASymbolicLinkIsWrittenThrough) {
    ScratchDir dir;
    ScratchDir::WriteText("../kept/real.qd", Join(SaveValues(3)));
    std::filesystem::create_directories("photos");
    std::filesystem::create_symlink("../../kept/real.qd", SAVE);
    {
        auto app = std::make_unique<GameApp>();
        ExpectPhoto(*app->photos[2], SamplePhoto(2), 2);
        *app->photos[3] = SamplePhoto(3);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(SAVE));
    const std::vector<std::string> lines = Lines(ReadText("../kept/real.qd"));
    ASSERT_EQ(lines.size(), 925u);
    EXPECT_EQ(lines[3 * 17 + 3], "1");  // the new photo's inUse
    EXPECT_EQ(FolderEntries("photos"), std::vector<std::string>{"photos.qd"});
    EXPECT_EQ(FolderEntries("../kept"), std::vector<std::string>{"real.qd"});

    // A link to a file not there yet: a fresh start, and the file is made where the link points.
    std::filesystem::remove("../kept/real.qd");
    std::make_unique<GameApp>().reset();
    EXPECT_TRUE(std::filesystem::is_symlink(SAVE));
    EXPECT_EQ(Lines(ReadText("../kept/real.qd")).size(), 925u);
}

// A game killed while saving leaves its temporary file; the next start removes those of games that
// have ended, and nothing else.
TEST(SaveFile, TemporaryFilesOfEndedGamesAreRemovedAtStart) {
    ScratchDir dir;
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);  // a process number no one has now
    const std::string ended = std::to_string(child);
    const std::string running = "1";  // the first process always runs
    const std::vector<std::string> removed = {"photos.qd.tmp" + ended, "photos.qd.bad.tmp" + ended,
                                              "photos.qd.bad2.tmp" + ended, "photos.qd.new.tmp" + ended};
    const std::vector<std::string> kept = {"photos.qd",
                                           "photos.qd.tmp" + running,
                                           "photos.qd.tmp",
                                           "photos.qd.tmpx" + ended,
                                           "photos.qd.tmp" + ended + "x",
                                           "photos.qd.old.tmp" + ended,
                                           "other.qd.tmp" + ended,
                                           "photos.qd.bad"};
    for (const std::string& name : removed) ScratchDir::WriteText("photos/" + name, "half a save");
    for (const std::string& name : kept) ScratchDir::WriteText("photos/" + name, Join(SaveValues(1)));
    std::filesystem::create_directories("photos/photos.qd.tmp" + ended + "0");  // a folder is never removed
    auto app = std::make_unique<GameApp>();
    std::vector<std::string> left = FolderEntries("photos");
    std::vector<std::string> want = kept;
    want.push_back("photos.qd.tmp" + ended + "0");
    std::sort(left.begin(), left.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(left, want);
    app.reset();
}

// A save that cannot be written is a failure of the whole run: the program does not exit 0.
TEST(SaveFile, ASaveThatCannotBeWrittenEndsTheProgramNonZero) {
    ScratchDir dir;
    EXPECT_EQ(PlayAndEscape(), 0);
    ASSERT_TRUE(Exists(SAVE));
    std::filesystem::remove(SAVE);
    std::string err;
    int code = 0;
    {
        FileSizeLimit full(2000);  // the file needs about 12 kB
        ASSERT_TRUE(full.Ok());
        testing::internal::CaptureStderr();
        code = PlayAndEscape();
        err = testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(code, 1);
    EXPECT_NE(err.find("could not save the photos and best weights"), std::string::npos) << err;
    EXPECT_FALSE(Exists(SAVE));
}
