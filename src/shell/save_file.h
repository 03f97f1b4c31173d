// Reading the save file's values from an open file (the game's start-up reads photos\photos.qd
// through it).
#pragma once
#include <cstdio>
#include "shell/game_app.h"
#include "shell/photo_record.h"

constexpr int SAVE_VALUES_PER_PHOTO = 17;
constexpr int SAVE_FILE_VALUE_COUNT = PHOTO_SLOT_COUNT * SAVE_VALUES_PER_PHOTO + GameApp::BEST_WEIGHT_COUNT;
// The largest save file read: its 925 numbers at the longest a number may be (64 characters),
// each with a two-byte line end, fit (61,050 bytes); anything larger is not a save file.
constexpr size_t SAVE_FILE_MAX_BYTES = 64 * 1024;

struct SaveFileContents {
    PhotoRecord photos[PHOTO_SLOT_COUNT] = {};
    float bestWeight[GameApp::BEST_WEIGHT_COUNT] = {};
    int valuesRead = 0;      // SAVE_FILE_VALUE_COUNT for a whole file
    bool moreAfter = false;  // something follows the last best weight (the game never writes that)
};

// Reads the 50 photo records and the 75 best weights in file order, stopping for good at the end
// of the file or at the first value that is not a number; a record cut short is not a photo, and
// whatever is not read keeps its zero default; anything after the 925th value is noted, not read,
// and then no best weight is taken (a 51st photo record may stand where they are looked for).
// The photos in use are then moved to the front of the slots, keeping their order.
void ReadSaveValues(FILE* f, SaveFileContents* out);
