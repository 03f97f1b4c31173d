// The game modes: which screen is shown.
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
