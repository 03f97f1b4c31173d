// Fish: one of the lake's 75 fish, its behaviour states and its behaviour tick.
#pragma once
#include <cstdint>

// FishState: the only values ever stored in Fish::state.
constexpr int32_t FISH_CRUISE = 0;
constexpr int32_t FISH_FLEE = 3;
constexpr int32_t FISH_ROLL = 6;
constexpr int32_t FISH_LEAP = 7;
constexpr int32_t FISH_HOOKED = 8;
constexpr int32_t FISH_NETTED = 11;
constexpr int32_t FISH_LANDED = 12;

constexpr int32_t FISH_COUNT = 75;
constexpr int32_t NO_FISH = 999;
constexpr int32_t NO_ITEM = 999;

// The hut: cruising fish keep away from this point.
constexpr double HUT_X = 25.0;
constexpr double HUT_Z = 24.0;

class Fish {
public:
    Fish();
    ~Fish() {}
    void Start(double x_, double y_, double z_, double sizeBase, double weight_, double heading_,
               int32_t kind_, double shapeFactor_);
    // One behaviour tick, at most every 100 ms. The caller has set nextX, nextZ, bottomY and
    // lineLoad for this tick.
    void Update();

    uint8_t active = 0;
    double x = 100;
    double y = -1;
    double z = 110;
    double size = 1;
    double heading = 0;
    uint8_t blocked = 0;
    uint8_t hasBeenHooked = 0;
    int32_t leapHoldTicks = 0;
    double pitch = 6.2;
    double tailSwing = 0;
    uint8_t tailSwingUp = 0;
    int32_t kind = 1;
    uint32_t lastTick = 0;
    int32_t state = FISH_CRUISE;
    double speed = 0;
    double nextX = 0;
    double nextZ = 0;
    double bottomY = 0;
    uint8_t rising = 0;
    uint8_t diving = 0;
    uint8_t turningRight = 0;
    uint8_t turningLeft = 0;
    double bodyDepth = 0;
    double fear = 0;
    double confidence = 0;
    double calmSpeed = 0;
    double lineLoad = 0;
    double appetite = 0;
    double climbRate = 0;
    uint8_t climbing = 0;
    uint8_t breached = 0;
    double tiltRate = 0;
    double depthLayer = 0;
    int32_t targetItem = NO_ITEM;
    int32_t leapTurn = 0;
    double runHeading = 0;
    double stamina = 0;
    double strength = 0;
    uint8_t tired = 1;
    uint8_t canSwitchRun = 0;
    uint8_t thrashing = 0;
    uint8_t longRunner = 0;
    int32_t longRunTicks = 0;
    uint8_t runSwitched = 0;
    uint8_t secondWind = 0;
    double takeValue[2] = {0, 0};
    double weight = 0;
    double shapeFactor = 0;
    int32_t feedCount = 0;
    int32_t feedPause = 0;
    uint8_t feeding = 0;
    int32_t stillTicks = 0;
    double lastX = 0;
    double lastY = 0;
    double lastZ = 0;
    uint8_t stuck = 0;
    int32_t splashCooldown = 0;

private:
    void Cruise();
    void Flee();
    void Roll();
    void Leap();
    void SplashBackToCruise();
    void NoseUpAndClimb(double steepest);
    void NoseDown(double step);
    void Hooked();
    void BottomCheck();
    void ShallowCheck();
    void Step(bool avoidHut);
    void PickTurn(int threshold);
    void PickClimbOrDive(double riseChance, double diveChance);
    void TurnBySpeed();
};

// Puts a fish to flight from the angler's tackle (a lost hook, a dropped take, a snapped line):
// `fear` to spend, fleeing fast, calm again at 0.1, confidence gone and no takes this frame.
void PutToFlight(Fish& f, double fear);
