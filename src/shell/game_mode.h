// Game modes, their clear colours, the device light slots and the click lock.
#pragma once
#include <cstdint>

enum GameModeValue : int32_t {
    MODE_TITLE = 0,
    MODE_MAP = 7,
    MODE_FISHING = 8,
    MODE_PHOTO_ALBUM = 9,
    MODE_TOUR = 10,
    MODE_DUCK = 12,
    MODE_CATCH_RECORDS = 13,
    MODE_INSTRUCTIONS = 14,
    MODE_STOCKING_RECORDS = 15,
};

constexpr uint32_t CLEAR_BLACK = 0x00000000u;
constexpr uint32_t CLEAR_GREY = 0x00323232u;

// Device light slots: the point light high over the lake lights the map and the title; the
// directional sun lights the lake screens; the tour fades its own sun in on slot 3.
enum LightSlot : uint32_t {
    LIGHT_MAP = 0,
    LIGHT_LAKESIDE = 1,
    LIGHT_TOUR = 3,
    LIGHT_SLOT_COUNT = 4,
};

// Tenths of a second of input lock after a click on a screen button: one click acts once.
constexpr int32_t CLICK_LOCK = 3;
