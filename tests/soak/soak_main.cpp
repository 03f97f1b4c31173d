// The soak as a program: lakeside_soak [frames] [seed]; LAKESIDE_SOAK_FRAMES and LAKESIDE_SOAK_SEED
// override both, and LAKESIDE_SOAK_TRACE=1 prints every change of screen. Prints the seed first,
// so that a failure can be replayed, and the table of frames per screen at the end. Exit code 0
// when every check held.
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <string>
#include "soak/soak_driver.h"

extern const bool HIGH_DETAIL_SCENERY = true;

namespace {

bool ParseNumber(const char* text, uint64_t* out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text, &end, 10);
    if (*end != '\0') return false;
    *out = v;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    soak::Options options;
    uint64_t v = 0;
    if (argc > 1 && ParseNumber(argv[1], &v)) options.frames = static_cast<int64_t>(v);
    if (argc > 2 && ParseNumber(argv[2], &v)) options.seed = v;
    if (ParseNumber(std::getenv("LAKESIDE_SOAK_FRAMES"), &v)) options.frames = static_cast<int64_t>(v);
    if (ParseNumber(std::getenv("LAKESIDE_SOAK_SEED"), &v)) options.seed = v;
    options.trace = std::getenv("LAKESIDE_SOAK_TRACE") != nullptr;
    // A shorter run replays a seed up to a point; it is not expected to see every screen.
    options.requireEveryScreen = options.frames >= 10000;
    options.checkMemory = !soak::UnderSanitizer();
    if (soak::UnderSanitizer()) options.hangSeconds = 300;

    // The run's length sets its pace, so a replay gives both.
    std::cout << "soak: seed " << options.seed << ", " << options.frames << " frames (replay with LAKESIDE_SOAK_SEED="
              << options.seed << " LAKESIDE_SOAK_FRAMES=" << options.frames << ")" << std::endl;
    const auto start = std::chrono::steady_clock::now();
    const soak::Result r = soak::Run(options, std::cout);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    soak::PrintTable(r, std::cout);
    std::cout << "soak: " << r.framesRun << " frames in " << seconds << " s, " << r.lives << " games, "
              << r.saveChecks << " saves read back, " << r.photosTaken << " photos taken, state hash " << std::hex
              << r.stateHash << std::dec << std::endl;
    if (options.checkMemory)
        std::cout << "soak: resident at most " << r.rssAtMemoryFromKb << " kB after frame " << options.memoryFrom
                  << ", at most " << r.rssAtEndKb << " kB at the end" << std::endl;
    else
        std::cout << "soak: memory not compared (sanitizer build)" << std::endl;
    if (!r.ok) {
        std::cout << "soak FAILED: " << r.failure << std::endl;
        return 1;
    }
    std::cout << "soak passed" << std::endl;
    return 0;
}
