// The catch records: the player's best weights, the turning model of the row under the cursor, and
// the ways back to the lake.
#include <cmath>
#include <cstdio>
#include <string>
#include "fishing/weight.h"
#include "screens/records/records_text.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t RED = 0xFFFA1414u;
constexpr uint32_t GREEN = 0xFF14FA14u;
constexpr int32_t LEAVE_LOCK = 10;  // tenths of a second
constexpr int32_t UNNAMED_COMMON_KIND = 28;

// Divisors of the screen height for the 27 catch-records rows.
const float RECORD_ROW_DIVISORS[NAMED_FISH_COUNT] = {
    7.6f,  6.3f,  5.3f,  4.5f,  4.0f,  3.65f, 3.22f, 2.95f, 2.75f, 2.55f, 2.35f, 2.18f, 2.05f, 1.92f,
    1.82f, 1.73f, 1.65f, 1.57f, 1.5f,  1.45f, 1.39f, 1.33f, 1.28f, 1.23f, 1.18f, 1.13f, 1.1f};

// The biggest unnamed fish's best weight line: red with the weight, or white when none is caught.
struct UnnamedLine {
    double y;
    const char* caught;
    double weightX;
    const char* notCaught;
};

}  // namespace

std::string CatchRecordRowText(const StockRecord& record, float best) {
    char text[160];
    if (best == 0.0f) {
        std::snprintf(text, sizeof text, "%s%s  (%s)", "You have not caught  ", record.name, record.tagNumber);
        return text;
    }
    const PoundsOunces w = WeightToPoundsOunces(best);
    if (w.ounces != 0)
        std::snprintf(text, sizeof text, "%s%s  (%s)  %s%d%s%d%s", "You have caught   ", record.name,
                      record.tagNumber, " at ", w.pounds, " lb's  ", w.ounces, " ounces.");
    else
        std::snprintf(text, sizeof text, "%s%s  (%s)  %s%d%s", "You have caught   ", record.name,
                      record.tagNumber, " at ", w.pounds, " lb's  ");
    return text;
}

UnnamedBests GameApp::BiggestUnnamedCatches() const {
    UnnamedBests bests{0.0f, 0.0f};
    for (int32_t i = NAMED_FISH_COUNT; i < FISH_COUNT; ++i) {
        const float best = bestWeight[i];
        if (!(best > 0.0f)) continue;
        float& biggest = fish[i]->kind == UNNAMED_COMMON_KIND ? bests.common : bests.mirror;
        if (best > biggest) biggest = best;
    }
    return bests;
}

// The pulsing colour's level runs 0..255 and back, resting one frame at each end.
void GameApp::StepRecordsPulse() {
    if (recordsPulseRising) {
        if (recordsPulse > 254)
            recordsPulseRising = 0;
        else
            ++recordsPulse;
    } else {
        if (recordsPulse < 1)
            recordsPulseRising = 1;
        else
            --recordsPulse;
    }
}

void GameApp::DrawCatchRecordsScreen() {
    const uint32_t pulse = 0xFFFA0000u + static_cast<uint32_t>(recordsPulse) * 0x101u;
    StepRecordsPulse();
    const int32_t selection = recordsSelection >= 0 && recordsSelection < NAMED_FISH_COUNT ? recordsSelection : 0;

    // The selected fish turning slowly; a shape of 0 or less is drawn as an even 30 (the model
    // itself draws nothing for a fish with no size).
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    SetViewCamera(99.9, 1000.5, 99.0, 100.0, 1000.0, 110.0, 0, 1, 0);
    const Fish& selected = *fish[selection];
    const double shape = selected.shapeFactor > 0 ? selected.shapeFactor : 30.0;
    DrawRecordsFishModel(selection + 1, shape, selected.size);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);

    DrawTextAt(40, 1, RECORDS_TITLE_COLOUR, "Catch records", 2);
    DrawTextAt(14, 4, RECORDS_WHITE, "Named fish", 1);
    DrawTextAt(70, 4, RECORDS_WHITE, "Unnamed fish", 1);
    for (int32_t i = 0; i < NAMED_FISH_COUNT; ++i) {
        const uint32_t colour = i == selection ? GREEN : bestWeight[i] != 0.0f ? RED : RECORDS_WHITE;
        DrawTextAt(5, 7 + 3 * i, colour, CatchRecordRowText(*stockRecords[i], bestWeight[i]).c_str(), 1);
    }

    const UnnamedBests bests = BiggestUnnamedCatches();
    const UnnamedLine commonLine = {7, "Your biggest unnamed common is", 81, "You have not caught an unnamed common"};
    const UnnamedLine mirrorLine = {10, "Your biggest unnamed mirror is", 79, "You have not caught an unnamed mirror"};
    const std::pair<const UnnamedLine*, float> lines[] = {{&commonLine, bests.common}, {&mirrorLine, bests.mirror}};
    for (const auto& line : lines) {
        if (line.second > 0.0f) {
            DrawTextAt(55, line.first->y, RED, line.first->caught, 1);
            DrawTextAt(line.first->weightX, line.first->y, RED, RecordsWeightText(line.second).c_str(), 1);
        } else {
            DrawTextAt(55, line.first->y, RECORDS_WHITE, line.first->notCaught, 1);
        }
    }

    DrawTextAt(72, 70, pulse, stockRecords[selection]->name, 1);
    DrawTextAt(36, 89, RECORDS_WHITE, "Click here to play.", 2);
    DrawTextAt(60, 34, pulse, "Use the mouse to jump directly to a fish.", 1);
}

// Hover, no lock: rows under the cursor in the left half; where rows overlap the lower wins.
void GameApp::HoverCatchRecordsRow(const ScreenPointer& pointer) {
    const float width = static_cast<float>(clientWidth);
    const float height = static_cast<float>(clientHeight);
    if (pointer.windowX >= width / 2.0f) return;
    for (int row = NAMED_FISH_COUNT - 1; row >= 0; --row)
        if (std::fabs(pointer.windowY - height / RECORD_ROW_DIVISORS[row]) < 10.0f) recordsSelection = row;
}

void GameApp::UpdateCatchRecordsKeys(const InputDeviceState& input) {
    if (input.keyX != 0) LeaveCatchRecords();
}

void GameApp::ClickCatchRecords(const ScreenPointer& pointer) {
    if (leftButtonDown == 1 && pointer.onButton) LeaveCatchRecords();
}

// Opened with C at the lake: the view of the lake is kept for the way back.
void GameApp::EnterCatchRecords() {
    gameMode = MODE_CATCH_RECORDS;
    inputLock = LEAVE_LOCK;
}

void GameApp::LeaveCatchRecords() {
    gameMode = MODE_FISHING;
    inputLock = LEAVE_LOCK;
}
