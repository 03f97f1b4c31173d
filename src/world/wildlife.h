// The wildlife pools the lake model fills: insect swarms, bubble spots and dragonflies.
#pragma once
#include <cstdint>

constexpr int32_t INSECT_SWARM_COUNT = 100;
constexpr int32_t BUBBLE_SPOT_COUNT = 500;
constexpr int32_t DRAGONFLY_COUNT = 30;

// So far these hold only what the spawners record (the spawn point, kind and in-use flag);
// the members' movement, Start and Update belong to the wildlife behaviour.

// A swarm of five insects around its spawn point; type 1 small, type 2 wide.
class InsectSwarm {
public:
    float centreX = 0, centreY = 0, centreZ = 0;
    int32_t active = 0;
    int32_t type = 0;
};

// A spot on the lake bed that sends bubbles up.
class BubbleSpot {
public:
    uint8_t active = 0;
    double x = 0, y = 0, z = 0;
    double startY = 0;
};

// A dragonfly darting about its home.
class Dragonfly {
public:
    uint8_t active = 0;
    double x = 0, y = 0, z = 0;
    double homeX = 0, homeY = 0, homeZ = 0;
};
