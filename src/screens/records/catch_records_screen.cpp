// The catch records: draw (not built yet), the row under the cursor, and the ways back to the lake.
#include <cmath>
#include "shell/game_app.h"

namespace {
// Divisors of the screen height for the 27 catch-records rows.
const float RECORD_ROW_DIVISORS[27] = {7.6f,  6.3f,  5.3f,  4.5f,  4.0f,  3.65f, 3.22f, 2.95f, 2.75f,
                                       2.55f, 2.35f, 2.18f, 2.05f, 1.92f, 1.82f, 1.73f, 1.65f, 1.57f,
                                       1.5f,  1.45f, 1.39f, 1.33f, 1.28f, 1.23f, 1.18f, 1.13f, 1.1f};
}  // namespace

void GameApp::DrawCatchRecordsScreen() {}

// Hover, no lock: rows under the cursor in the left half; where rows overlap the lower wins.
void GameApp::HoverCatchRecordsRow(const ScreenPointer& pointer) {
    const float width = static_cast<float>(clientWidth);
    const float height = static_cast<float>(clientHeight);
    if (pointer.windowX >= width / 2.0f) return;
    for (int row = 26; row >= 0; --row)
        if (std::fabs(pointer.windowY - height / RECORD_ROW_DIVISORS[row]) < 10.0f) recordsSelection = row;
}

void GameApp::UpdateCatchRecordsKeys(const InputDeviceState& input) {
    if (input.keyX != 0) LeaveCatchRecords();
}

void GameApp::ClickCatchRecords(const ScreenPointer& pointer) {
    if (leftButtonDown == 1 && pointer.onButton) LeaveCatchRecords();
}

void GameApp::LeaveCatchRecords() {
    gameMode = MODE_FISHING;
    inputLock = 10;
}
