// The stocking records: entry from the map, draw (not built yet) and the page-turning click.
#include "shell/game_app.h"

void GameApp::EnterStockingRecords() {
    playClickSound = 1;
    gameMode = MODE_STOCKING_RECORDS;
    stockingPage = 1;
    savedMapHeight = eyeY;
    eyeX = 100;
    eyeY = 1000;
    eyeZ = 100;
}

void GameApp::DrawStockingRecordsScreen() {}

void GameApp::ClickStockingRecords(const ScreenPointer& pointer) {
    if (leftButtonDown != 1 || !pointer.onButton) return;
    if (stockingPage == 6) {
        gameMode = MODE_MAP;
        inputLock = 6;
        eyeY = savedMapHeight;
        eyeX = 100.0;
        eyeZ = 100.0;
    } else {
        stockingPage += 1;
        inputLock = 6;
    }
}
