// PhotoRecord: one stored catch photo, the values from which the album stages the scene again.
#pragma once
#include <cstdint>

struct PhotoRecord {
    uint8_t rod1Shown;     // rod 1 stood on its rest (out in the water, not the struck rod)
    uint8_t rod2Shown;     // the same for rod 2
    uint8_t alarmRig;      // the rig was fished on bite alarms (not a float rig)
    uint8_t inUse;         // the slot holds a photo
    int32_t swim;          // swim 1..9
    float fishSize;
    float fishWeight;      // pounds
    int32_t fishKind;
    float fishShape;
    float waterScroll[3];  // the three water layers' texture offsets
    float eyeX, eyeY, eyeZ;
    float heading;
    float pitch;
};

// Photo slots; the ones in use are always packed at the front.
constexpr int PHOTO_SLOT_COUNT = 50;
