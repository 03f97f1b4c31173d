// The lake's wildlife: gulls, insect swarms, bubble spots on the lake bed and dragonflies.
#pragma once
#include <cstdint>
#include "common/angles.h"

constexpr int32_t GULL_COUNT = 10;
constexpr int32_t INSECT_SWARM_COUNT = 100;
constexpr int32_t BUBBLE_SPOT_COUNT = 500;
constexpr int32_t DRAGONFLY_COUNT = 30;
constexpr int32_t SWARM_MEMBERS = 5;

// Where the ten gulls start, as (x, altitude, z).
constexpr double GULL_START_POINTS[GULL_COUNT][3] = {
    {40, 48, 40},   {60, 49, 120},  {80, 45, 60},  {100, 47, 160}, {120, 48, 140},
    {140, 49, 120}, {160, 49, 100}, {180, 48, 80}, {60, 46, 60},   {120, 47, 40}};

// A gull circling high over the lake; always in flight, it turns back when it strays too far.
class Gull {
public:
    Gull(double x_, double altitude_, double z_);
    ~Gull() {}
    void Update();  // one 50 ms step

    double x = 0;
    double altitude = 0;  // 30..48
    double z = 0;
    uint32_t lastTick = 0;
    double heading = 0;   // 0..FULL_TURN
    int32_t turnState = 0;   // 0 straight, 1 turning by -0.1, 2 by +0.1 per step
    uint8_t homing = 0;      // farther than 150 from the lake centre
    double headingToCentre = 0;
    double stepsDown = 0;
    double stepsUp = 0;
    int32_t climbState = 0;  // 0 level, 1 climbing, 2 sinking
};

// A swarm of five insects following a wandering leader about its spawn point; type 1 small,
// type 2 wide.
class InsectSwarm {
public:
    InsectSwarm();
    ~InsectSwarm() {}
    // Only types 1 and 2 exist; any other leaves the swarm inactive.
    void Start(float x_, float y_, float z_, int32_t type_);
    void Update();  // one 100 ms step

    int32_t leader = 1;
    float centreX = 0, centreY = 0, centreZ = 0;
    float spread = 0;
    float sizeBase = 0;
    double x[SWARM_MEMBERS] = {}, y[SWARM_MEMBERS] = {}, z[SWARM_MEMBERS] = {};
    double size[SWARM_MEMBERS] = {};
    double lag[SWARM_MEMBERS] = {};
    int32_t active = 0;
    int32_t type = 0;
    double heading[SWARM_MEMBERS] = {};
    double pitch[SWARM_MEMBERS] = {};  // FULL_TURN level, smaller climbs, larger sinks
    double targetHeading = 0;
    double targetPitch = FULL_TURN;
    double speed[SWARM_MEMBERS] = {};
    uint32_t lastTick = 0;
};

// A spot on the lake bed that keeps sending a bubble up to the surface.
class BubbleSpot {
public:
    BubbleSpot();
    ~BubbleSpot() {}
    void Start(double x_, double y_, double z_);
    void Update();  // one 50 ms step

    uint8_t active = 0;
    double x = 0, y = 0, z = 0;  // the bubble
    double riseSpeed = 0;
    double startY = 0;
    double wait = 0;       // steps left before the bubble rises
    uint8_t surfaced = 0;  // set on the step the bubble reached the surface
    uint32_t lastTick = 0;
};

// A dragonfly darting about its home.
class Dragonfly {
public:
    Dragonfly();
    ~Dragonfly() {}
    void Start(double x_, double y_, double z_);
    void Update();  // one 100 ms step

    uint8_t active = 0;
    double x = 0, y = 0, z = 0;
    double homeX = 0, homeY = 0, homeZ = 0;
    double vx = 0, vy = 0, vz = 0;
    double range = 0;
    uint32_t lastTick = 0;
};
