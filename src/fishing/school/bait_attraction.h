// BaitAttraction: a hook bait, groundbait pouch, loose-feed pouch or natural feeding spot that
// draws fish and frightens them while fresh.
#pragma once
#include <cstdint>

constexpr int32_t BAIT_ITEM_COUNT = 50;

// Item types.
constexpr int32_t BAIT_HOOK = 1;         // a rod's hook bait
constexpr int32_t BAIT_GROUNDBAIT = 2;   // a pouch of groundbait, or a natural feeding spot
constexpr int32_t BAIT_LOOSE_FEED = 3;   // a pouch of loose hook baits

class LakeView;
class Fish;

// The lake's natural feeding spots (x, z): put down when the lake is stocked and renewed now and
// then by the school pass, as groundbait of this kind.
constexpr float NATURAL_FEED_SPOTS[6][2] = {{121, 142}, {145, 125}, {105, 95}, {120, 85}, {85, 66}, {100, 46}};
constexpr int32_t NATURAL_FEED_BAIT = 3;

class BaitAttraction {
public:
    BaitAttraction();
    ~BaitAttraction() {}
    void Start(double x_, double y_, double z_, int32_t type_, int32_t method_, int32_t lineLb,
               double weight, int32_t linkLb, int32_t hookSize, int32_t bait_);
    // Fades the item, at most every 50 ms; it ends when its strength is spent.
    void Update();

    float x = 0;
    float y = 0;
    float z = 0;
    uint8_t active = 0;
    int32_t method = 0;
    double scare = 0;
    double coverBonus = 0;
    double strength = 0;
    double strengthDecay = 0;
    double scareDecay = 0;
    double scareRadius = 0;
    uint32_t lastTick = 0;
    int32_t type = 0;
    double attractRadius = 0;
    int32_t bait = 0;
    double tackleScare = 0;
    double takeEase = 0;
    double pullRisk = 0;
    double hookWear = 0;
    uint8_t taken = 0;
};

// Cover near a hook bait at (x, z): 6 less the distance to a reed or lily billboard (type above 5)
// within 6, a fifth of that for rig 3. The last such billboard in record order decides.
double CoverBonusAt(const LakeView& lake, double x, double z, int32_t method);

// A fish's take score on a hook bait at distance d (dy in height), with the random draw r.
double TakeScore(const Fish& f, const BaitAttraction& bait, double d, double dy, int r);
// Take threshold T(a, b) of a fish on a hook bait: a + a size term - (b - takeEase) / 10.
double TakeThreshold(const Fish& f, const BaitAttraction& bait, double a, double b);
