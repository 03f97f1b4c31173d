// The stocking records: entry from the map, the pages of the stock table and the page-turning click.
#include "screens/records/stocking_records_screen.h"
#include <string>
#include "screens/records/records_text.h"
#include "screens/text_lines.h"
#include "shell/game_app.h"

namespace {

constexpr int32_t PAGE_LOCK = 6;  // tenths of a second

// The first fish of each page, and one past the last fish of the last page.
constexpr int32_t PAGE_START[STOCKING_PAGE_COUNT + 1] = {0, 11, 22, 34, 45, 56, 68, FISH_COUNT};

const TextLine HEADER[] = {
    {10, 13, 1,
     "The lake in this game is stocked with the best 27 of these fish, and another 48 stockies making 75 fish "
     "in total."},
    {10, 16, 1, "Individual graphics and behaviour are used for each of the 27 'originals'."},
    {10, 19, 1,
     "The stockies are a mix of commons and mirrors and also have individual behavioural characteristics."},
    {10, 25, 1, "The following data is supplied by Harrowmere fisheries and was correct in June 2006"},
    {10, 28, 1,
     "A free update will from time to time be available for download which will update these records as they "
     "change."},
    {10, 34, 1,
     "Tag number               Species               Stocking weight               Most recent weight          "
     "     Name"},
};

// The venue's town (the second header line names it).
constexpr const char* VENUE_TOWN = "Corvely";

}  // namespace

StockingPageRange StockingPageFish(int32_t page) {
    if (page < 1 || page > STOCKING_PAGE_COUNT) return {0, 0};
    return {PAGE_START[page - 1], PAGE_START[page]};
}

const char* StockingSpecies(int32_t kind) {
    switch (kind) {
        case 2:
        case 24: return "Ghost";
        case 4:
        case 8:
        case 15:
        case 28: return "Common";
        default: return "Mirror";
    }
}

void GameApp::EnterStockingRecords() {
    playClickSound = 1;
    gameMode = MODE_STOCKING_RECORDS;
    stockingPage = 1;
    savedMapHeight = eyeY;
    eyeX = 100;
    eyeY = 1000;
    eyeZ = 100;
}

void GameApp::DrawStockingRecordsScreen() {
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);

    DrawTextAt(25, 1, RECORDS_TITLE_COLOUR, "Wendlow Lake Stocking Records", 2);
    const std::string venue = std::string("Wendlow Lake at Harrowmere Fisheries in ") + VENUE_TOWN +
                              " is stocked with nearly 100 English Carp.";
    DrawTextAt(10, 10, RECORDS_WHITE, venue.c_str(), 1);
    for (const TextLine& line : HEADER) DrawTextAt(line.x, line.y, RECORDS_WHITE, line.text, line.font);

    const StockingPageRange range = StockingPageFish(stockingPage);
    double y = 38;
    for (int32_t i = range.first; i < range.end; ++i, y += 4) {
        const StockRecord& record = *stockRecords[i];
        DrawTextAt(10, y, RECORDS_WHITE, record.tagNumber, 1);
        DrawTextAt(25, y, RECORDS_WHITE, StockingSpecies(fishPlacements[i]->kind), 1);
        DrawTextAt(37, y, RECORDS_WHITE, RecordsWeightText(record.stockingWeight).c_str(), 1);
        DrawTextAt(54, y, RECORDS_WHITE,
                   record.recentWeight > 0 ? RecordsWeightText(record.recentWeight).c_str() : "---", 1);
        DrawTextAt(73.2, y, RECORDS_WHITE, record.name, 1);
    }

    if (stockingPage == STOCKING_PAGE_COUNT)
        DrawTextAt(36, 89, RECORDS_WHITE, "Click here to play", 2);
    else
        DrawTextAt(31, 89, RECORDS_WHITE, "Click here to continue", 2);
}

// The bottom button turns the page; on the last page it goes back to the map.
void GameApp::ClickStockingRecords(const ScreenPointer& pointer) {
    if (leftButtonDown != 1 || !pointer.onButton) return;
    if (stockingPage >= STOCKING_PAGE_COUNT) {
        gameMode = MODE_MAP;
        inputLock = PAGE_LOCK;
        eyeY = savedMapHeight;
        eyeX = 100.0;
        eyeZ = 100.0;
    } else {
        stockingPage += 1;
        inputLock = PAGE_LOCK;
    }
}
