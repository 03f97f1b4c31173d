// Short-lived effects on the water surface (ripple rings, wakes, feeding bubbles) and the splash
// sound slots.
#pragma once
#include <cstdint>

constexpr int32_t RIPPLE_RING_COUNT = 500;
constexpr int32_t WAKE_COUNT = 500;
constexpr int32_t FEEDING_BUBBLE_COUNT = 500;
constexpr int32_t SOUND_SLOT_COUNT = 5;
constexpr int32_t AMBIENT_CALL_COUNT = 6;  // the crow, then five birds

// An expanding, spinning ring where something broke the surface.
class RippleRing {
public:
    RippleRing();
    ~RippleRing() {}
    void Start(double x_, double y_, double z_, double size);
    void Update();  // one 50 ms step; ends the ring once it is full grown

    uint8_t active = 0;
    double x = 0, y = 0, z = 0;
    double radius = 0;
    double maxRadius = 0;
    double spinAngle = 0;  // 0..FULL_TURN
    uint8_t spinUp = 0;    // 1: spins by +0.06 per step, 0: by -0.06
    int32_t stage = 1;     // 1..3, picks the ring texture
    uint32_t lastTick = 0;
};

// A V-shaped wake behind something moving at the surface.
class Wake {
public:
    Wake();
    ~Wake() {}
    void Start(double x_, double y_, double z_, double size, double heading_);
    void Update();  // one 50 ms step

    uint8_t active = 0;
    double x = 0, y = 0, z = 0;  // apex of the V
    double radius = 0;
    double maxRadius = 0;
    double heading = 0;
    int32_t stage = 1;
    uint32_t lastTick = 0;
};

// A bubble a feeding fish sends up; it ends 1.2 below the surface, where its rings start.
class FeedingBubble {
public:
    FeedingBubble();
    ~FeedingBubble() {}
    void Start(double x_, double y_, double z_, double speed_);
    void Update();  // one 50 ms step

    uint32_t lastTick = 0;
    uint8_t active = 0;
    double x = 0, y = 0, z = 0;
    double speed = 0;      // rise per step is half of it
    uint8_t surfaced = 0;  // stays set until the bubble is started again
};

// A splash sound channel, held for a number of drawn frames after its clip starts.
struct SoundSlot {
    uint8_t busy = 0;
    double framesLeft = 0;
};

// Volume in hundredths of a decibel of a splash `distance` from the viewer: 0 at the viewer,
// 50 quieter per unit, at most -5000.
int32_t SploshVolume(double distance);
