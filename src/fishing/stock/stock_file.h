// The stock file data\data.qd (the 75 stocked fish and the 9 swims) and each fish's start data.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include "fishing/school/fish.h"

class LakeView;

constexpr int32_t SWIM_COUNT = 9;
constexpr int32_t NO_SWIM = 99;
constexpr int32_t STOCK_NAME_LENGTH = 24;
constexpr int32_t STOCK_TAG_LENGTH = 26;
// Candidate cells drawn for one fish before the lake is judged to have too little deep water.
constexpr int32_t MAX_PLACEMENT_DRAWS = 100000;
// The largest stock file read: its 477 values at the longest a token is kept (256 characters),
// each with a two-byte line end, fit (123,066 bytes).
constexpr size_t STOCK_FILE_MAX_BYTES = 128 * 1024;

struct StockRecord {
    char name[STOCK_NAME_LENGTH + 1];
    char tagNumber[STOCK_TAG_LENGTH + 1];
    float stockingWeight;
    float recentWeight;   // 0 when there is none
    float currentWeight;  // worked out at start-up, not in the file
    int32_t kind;         // 1..27 the named fish, 28..32 commons and mirrors
    float shapeFactor;    // 0..50
};

struct SwimRecord {
    float x;
    float z;
    float facing;
};

struct FishPlacement {
    double x;
    double y;
    double z;
    double heading;
    double size;
    double weight;
    int32_t kind;
    float shapeFactor;
};

struct StockFileContents {
    StockRecord fish[FISH_COUNT];
    SwimRecord swims[SWIM_COUNT];
};

// Reads the 75 stock records and 9 swim records: whitespace-separated tokens, each of which must
// parse completely as its type; names and tag numbers longer than their fields are cut to fit;
// anything after the ninth swim is not read. On a missing or malformed token, returns false with
// `error` naming the record and field; `out` is then incomplete and must not be used.
bool ReadStockFile(FILE* file, StockFileContents* out, std::string* error);

// This run's weight of a fish: its recent weight + 2 + up to 3 lb, or, when that is below 10,
// its stocking weight + 2 + up to 3 lb (a fresh draw).
float StartingWeight(float stockingWeight, float recentWeight);

// Start data of a fish from its stock record (weight, size, kind, shape, and a heading draw).
void FillStartData(const StockRecord& record, FishPlacement* placement);

// Draws even candidate points (6..196) until one lies over water deeper than 1.5 (mean corner
// height of its cell) and more than 7 from the hut; its x and z go into `placement`, y is -1.5.
// False when MAX_PLACEMENT_DRAWS candidates find no such point.
bool PlaceFish(const LakeView& lake, FishPlacement* placement);
