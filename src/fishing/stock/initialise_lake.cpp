// InitialiseLake: the one-time preparation of the lake on the map screen's first frame.
#include <cstdio>
#include <string>
#include <vector>
#include "fishing/school/bait_attraction.h"
#include "fishing/school/fish.h"
#include "platform/file_bytes.h"
#include "fishing/stock/stock_file.h"
#include "shell/game_app.h"

void GameApp::AllocateStockRecords() {
    for (StockRecord*& r : stockRecords) r = new StockRecord{};
}

void GameApp::InitialiseLake() {
    if (lakeInitialised) return;
    for (const auto& spot : NATURAL_FEED_SPOTS) {
        SpawnBaitAttraction(spot[0], 0.0f, spot[1], BAIT_GROUNDBAIT, 0, 0, 0.0, 0, 0, NATURAL_FEED_BAIT);
    }
    lakeInitialised = 1;
    if (!LoadLakeModel(LAKE_MODEL_NUMBER).ok) return;  // the game is closing
    eyeX = 100;
    eyeZ = 92;
    std::string error;
    if (!StockLake(&error)) RequestClose(1, "The lake cannot be stocked: " + error + "\nThe game will close.");
}

bool GameApp::StockLake(std::string* error) {
    std::vector<uint8_t> bytes;
    std::string why;
    if (plat::ReadGameFile("data\\data.qd", STOCK_FILE_MAX_BYTES, &bytes, &why) != plat::FileRead::OK) {
        *error = "the stock file data/data.qd cannot be read: " + why + ".";
        return false;
    }
    FILE* file = plat::OpenBytesAsFile(bytes);
    if (!file) {
        *error = "the stock file data/data.qd could not be read.";
        return false;
    }
    StockFileContents stock;
    const bool read = ReadStockFile(file, &stock, error);
    std::fclose(file);
    if (!read) return false;

    for (StockRecord& r : stock.fish) r.currentWeight = StartingWeight(r.stockingWeight, r.recentWeight);
    FishPlacement placements[FISH_COUNT];
    for (int32_t i = 0; i < FISH_COUNT; ++i) FillStartData(stock.fish[i], &placements[i]);
    for (int32_t i = 0; i < FISH_COUNT; ++i) {
        if (!PlaceFish(*lakeView, &placements[i])) {
            *error = "the lake has too little water deeper than 1.5 away from the hut to place fish " +
                     std::to_string(i + 1) + " (the lake model may be missing).";
            return false;
        }
    }

    for (int32_t i = 0; i < FISH_COUNT; ++i) {
        *stockRecords[i] = stock.fish[i];
        *fishPlacements[i] = placements[i];
    }
    for (int32_t i = 0; i < SWIM_COUNT; ++i) *swims[i] = stock.swims[i];
    for (const FishPlacement* p : fishPlacements) {
        SpawnFish(p->x, p->y, p->z, p->size, p->weight, p->heading, p->kind, p->shapeFactor);
    }
    return true;
}
