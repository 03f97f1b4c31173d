// The fishing screen's hint and status texts, and the lake's ambient sound at the end of the frame.
#include <cstdio>
#include "fishing/weight.h"
#include "shell/game_app.h"

namespace {
constexpr uint32_t TEXT_COLOUR = 0xFFFAFAFAu;
constexpr uint32_t HINT_COLOUR = 0xFFFA1414u;
constexpr int32_t SMALL = 1;
constexpr int32_t LARGE = 2;

struct CatapultLine {
    const char* text;
    double x;
    double cancelX;   // groundbait only: x of "Press G to cancel catapult."
};

// By groundbait 1..3.
const CatapultLine GROUNDBAIT_LINES[3] = {
    {"Catapulting fishmeal groundbait.", 40.0, 42.0},
    {"Catapulting fruity groundbait.", 41.3, 41.5},
    {"Catapulting hemp seed.", 41.7, 40.5},
};

// By hook bait 1..13; bait 7 has no line.
const CatapultLine HOOK_BAIT_LINES[13] = {
    {"Catapulting fruity boilies.", 42.7, 0},   {"Catapulting fishmeal boilies.", 41.4, 0},
    {"Catapulting fruity popups.", 42.5, 0},    {"Catapulting fishmeal popups.", 41.0, 0},
    {"Catapulting hard pellets.", 42.0, 0},     {"Catapulting soft pellets.", 41.6, 0},
    {nullptr, 0, 0},                            {"Catapulting luncheon meat.", 41.5, 0},
    {"Catapulting sweet corn.", 42.8, 0},       {"Catapulting maggots.", 43.5, 0},
    {"Catapulting casters.", 43.9, 0},          {"Catapulting worms.", 44.2, 0},
    {"Catapulting bread.", 44.4, 0},
};
}  // namespace

void GameApp::DrawFishingTexts() {
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);
    auto text = [this](double x, double y, const char* s, int32_t font) { DrawTextAt(x, y, TEXT_COLOUR, s, font); };

    const int32_t state = fishingState;
    const bool fishOn = rodHasFish[0] || rodHasFish[1];
    const bool binocularsOff = binocularState == 0;

    for (int rod = 0; rod < ROD_COUNT; ++rod) alarmFrames[rod] = biteSignal[rod] ? alarmFrames[rod] + 1 : 0;

    // The catch in the sling.
    const Fish* caught = playedFish >= 0 && playedFish < FISH_COUNT ? fish[playedFish] : nullptr;
    if (state == FISHING_FISH_LANDED && caught) {
        const int32_t kind = caught->kind;
        if ((kind >= 1 && kind <= 27) || kind == 32) text(15, 20, "Congratulations!", LARGE);
        if (kind >= 1 && kind <= 27) {
            const StockRecord* record = stockRecords[playedFish];
            if (record) {
                char line[96];
                std::snprintf(line, sizeof line, "%s%s  %s", "You have caught ", record->name, record->tagNumber);
                text(15, 25, line, LARGE);
            }
        } else if (kind == 28) {
            text(15, 25, "You have caught an unnamed Common", LARGE);
        } else if (kind >= 29 && kind <= 31) {
            text(15, 25, "You have caught an unnamed Mirror", LARGE);
        } else if (kind == 32) {
            text(15, 25, "You have caught an unknown Mirror!", LARGE);
        }
        text(15, 30, CatchWeightText(static_cast<float>(caught->weight)).c_str(), LARGE);
    }
    if (state == FISHING_FISH_LANDED && tipsOn) {
        text(2, 6, "Press R to re-cast", SMALL);
        text(2, 9, "Press P to take a photo", SMALL);
    }
    if (state == FISHING_PHOTO_MODE && tipsOn && photoCountdown < 1) text(2, 6, "Press R to re-cast", SMALL);

    // Strikes, bites and losses.
    if ((rodStruck[0] || rodStruck[1]) && !fishOn) {
        text(38, 3, "Missed it!!!.", LARGE);
        text(40, 10, "Press R to re-cast.", SMALL);
        static const double WEED_X[ROD_COUNT][3] = {{40, 35, 32}, {40, 33, 32}};
        for (int rod = 0; rod < ROD_COUNT; ++rod) {
            const int32_t item = rodBaitItem[rod];
            if (!rodStruck[rod] || item < 0 || item >= BAIT_ITEM_COUNT) continue;
            const double weed = baitAttractions[item]->coverBonus;
            if (weed > 4) {
                text(WEED_X[rod][0], 15, "The hook was covered in weed.", SMALL);
            } else if (weed > 2) {
                text(WEED_X[rod][1], 15, "The hook was partly covered in weed.", SMALL);
            } else if (weed > 0.5) {
                text(WEED_X[rod][2], 15, "The hook was slightly covered in weed.", SMALL);
            }
        }
    }
    if (alarmFrames[0] >= 4 && tipsOn) text(41, 15, "Press 1 to strike rod 1 !", SMALL);
    if (alarmFrames[1] >= 4 && tipsOn) text(41, 18, "Press 2 to strike rod 2 !", SMALL);
    if (fishLost && !lineSnapped && (lossReason == 1 || lossReason == 2)) text(37, 3, "Hook pulled out!!!.", LARGE);
    if (fishLost && lineSnapped) text(37, 3, "Line snapped!!!.", LARGE);
    if (fishLost) text(42, 10, "Press R to re-cast.", SMALL);

    // Hints.
    if (binocularsOff) {
        text(2, 0, tipsOn ? "Tips are on. (press T to turn off)" : "Tips are off. (press T to turn on)", SMALL);
    }
    if (tipsOn) {
        if (binocularsOff && !fishOn && state < FISHING_FISH_LANDED && state != FISHING_ROD_IN_HAND)
            text(2, 90, "Press B to use binoculars.", SMALL);
        if (binocularState == 1 && state < FISHING_FISH_LANDED) text(39, 5, "Press B to cancel binoculars.", SMALL);
        if (state == FISHING_ROAMING && binocularsOff && nearbySwim >= 1 && nearbySwim <= SWIM_COUNT)
            text(30, 6, "Press F to start fishing here.", LARGE);
        const bool catapultIdle = castFlight[1] == 0 && catapultPhase == 0 && binocularsOff;
        if ((state < 1 || state == FISHING_BOTH_RODS_OUT) && catapultIdle) {
            text(2, 6, "Press G to catapult groundbait.", SMALL);
            text(2, 9, "Press H to catapult hook baits.", SMALL);
        }
        if (state < 0 && catapultIdle) {
            text(2, 12, "Press P to look at your photos.", SMALL);
            text(2, 15, "Press C to look at your best catches.", SMALL);
        }
        if (binocularsOff && ((!fishOn && state != FISHING_PHOTO_MODE) ||
                              (state == FISHING_PHOTO_MODE && photoCountdown < 5)))
            text(2, 3, "Press X to return to game screen.", SMALL);
        if (state == FISHING_CASTING_ROD1 || state == FISHING_RECASTING_ROD1) {
            text(40, 3, "Casting first rod.", SMALL);
            text(35.5, 9, "Press R to re center your aim.", SMALL);
        }
        if ((state == FISHING_ROD1_IN_FLIGHT || state == FISHING_RECASTING_ROD2) && castFlight[0] == 0) {
            text(40, 3, "Casting second rod.", SMALL);
            text(36.5, 9, "Press R to re center your aim.", SMALL);
        }
    }

    // The catapult.
    if (state == FISHING_CATAPULT_GROUNDBAIT && groundbait >= 1 && groundbait <= 3) {
        const CatapultLine& line = GROUNDBAIT_LINES[groundbait - 1];
        text(line.x, 3, line.text, SMALL);
        if (catapultPhase == 0) {
            text(line.cancelX, 6, "Press G to cancel catapult.", SMALL);
            text(41, 9, "Press R to re center your aim.", SMALL);
        }
    }
    if (state == FISHING_CATAPULT_HOOKBAITS) {
        if (hookBait >= 1 && hookBait <= 13 && HOOK_BAIT_LINES[hookBait - 1].text)
            text(HOOK_BAIT_LINES[hookBait - 1].x, 3, HOOK_BAIT_LINES[hookBait - 1].text, SMALL);
        if (catapultPhase == 0) {
            text(41.5, 6, "Press H to cancel catapult.", SMALL);
            text(41, 9, "Press R to re center your aim.", SMALL);
        }
    }

    // Landing.
    if (state < FISHING_FISH_LANDED && lineLength < 15 && playedFish != NO_FISH && netHeight < LOWERED_NET_HEIGHT &&
        NetWaterProbe() == NET_PROBE_DRY) {
        text(2, 15, "Move near the water to use the landing net.", SMALL);
        DrawTextAt(2, 10, HINT_COLOUR, "Hint!", LARGE);
    }
    if (state == FISHING_PHOTO_MODE) {
        text(37, 10, "Use the arrow keys to move...", SMALL);
        text(37, 15, "Press P to take a picture", SMALL);
    }
}

void GameApp::UpdateFishingAmbientSound() { UpdateAmbientSound(); }
