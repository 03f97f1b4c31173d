// DrawMapScreen: the overhead lake map with its tackle panel, and the orbiting wireframe view.
#include <cmath>
#include <cstdio>
#include "common/single_precision.h"
#include "platform/d3dx.h"
#include "screens/map/map_tables.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t DARK = 0xff141414u;
constexpr uint32_t LIGHT = 0xfffafafau;

// A picture of the panel: flat, 10 units below the eye, so it stays put while the map moves.
void PanelPicture(GameApp& app, TextureName name, double dx, double dz, double sx, double sz) {
    app.SetWorldTransform(app.eyeX + dx, app.eyeY - 10.0, app.eyeZ + dz, 0, 0, 0, sx, sx, sz);
    app.DrawFlatQuad(TextureIdOf(name));
}
void PanelPicture(GameApp& app, TextureName name, double dx, double dz, double scale) {
    PanelPicture(app, name, dx, dz, scale, scale);
}

// The frame, the buttons, the tackle choices and the pictures of the current choices.
void DrawPanel(GameApp& app, const MapZoom& zoom) {
    PanelPicture(app, TEX_BORDER, 0, 0, 5.6, 4.2);
    PanelPicture(app, TEX_HUD1, 0, 0, zoom.hudScale);
    PanelPicture(app, TEX_MODE, -5.07, 3.75, 0.35, 0.33);  // go fishing
    PanelPicture(app, TEX_MODE, -4.35, 3.75, 0.35, 0.33);  // instructions
    PanelPicture(app, TEX_MODE, -5.05, 1.15, 0.24, 0.2);   // tour
    PanelPicture(app, TEX_MODE, -5.05, 0.7, 0.24, 0.2);    // duck
    const double zoomButtons[4][2] = {{-5.3, 2.95}, {-4.8, 2.95}, {-5.3, 2.5}, {-4.8, 2.5}};
    for (const auto& b : zoomButtons) PanelPicture(app, TEX_MODE, b[0], b[1], 0.15);
    PanelPicture(app, TEX_MOVE, -5.05, 1.7, 0.3);

    const double reels[4][2] = {{1.8, -3.4}, {2.22, -3.4}, {1.8, -3.8}, {2.22, -3.8}};
    for (int r = 0; r < 4; ++r) PanelPicture(app, static_cast<TextureName>(TEX_REEL1 + r), reels[r][0], reels[r][1], 0.15);
    if (app.rodReel >= 1 && app.rodReel <= 4)
        PanelPicture(app, static_cast<TextureName>(TEX_REEL1 + app.rodReel - 1), 3.45, -3.7, 0.35);

    if (const HookBaitInfo* bait = HookBaitFor(app.hookBait)) PanelPicture(app, bait->picture, 5.0, 3.0, 0.3);
    // Choices 1..6 in the left column, then 8..13 in the right one.
    const double baitRows[6] = {2.3, 1.9, 1.5, 1.1, 0.7, 0.3};
    for (int row = 0; row < 6; ++row) PanelPicture(app, HookBaitFor(1 + row)->picture, 4.8, baitRows[row], 0.15);
    for (int row = 0; row < 6; ++row) PanelPicture(app, HookBaitFor(8 + row)->picture, 5.2, baitRows[row], 0.15);

    if (const GroundbaitInfo* g = GroundbaitFor(app.groundbait)) PanelPicture(app, g->picture, 5.0, -1.5, 0.3);
    const double groundbaits[3][2] = {{4.8, -2.25}, {5.2, -2.25}, {5.0, -2.65}};
    for (int g = 0; g < 3; ++g) PanelPicture(app, GroundbaitFor(g + 1)->picture, groundbaits[g][0], groundbaits[g][1], 0.15);

    PanelPicture(app, TEX_MODE, 4.94, -3.4, 0.45, 0.18);  // stocking records
    PanelPicture(app, TEX_MODE, 4.94, -3.9, 0.45, 0.18);  // contours

    const double methods[7][2] = {{-5.25, -2.1}, {-4.85, -2.1}, {-5.25, -2.5}, {-4.85, -2.5},
                                  {-5.25, -2.9}, {-4.85, -2.9}, {-5.05, -3.3}};
    for (int m = 0; m < 7; ++m) PanelPicture(app, MethodFor(m + 1)->picture, methods[m][0], methods[m][1], 0.15);
    if (const MethodInfo* m = MethodFor(app.method)) {
        PanelPicture(app, m->picture, -5.05, -1.4, 0.3);
        PanelPicture(app, static_cast<TextureName>(TEX_RIG1 + app.method - 1), -1.6, -3.6, 2.8, 0.35);
    }
}

// One step of the current swim's pulse: up by 3 to 12, down by 3 to 0, a frame's rest at each end.
void StepSwimPulse(GameApp& app) {
    if (app.swimMarkerRising) {
        if (app.swimMarkerPulse < 10) app.swimMarkerPulse += 3;
        else app.swimMarkerRising = 0;
    }
    if (!app.swimMarkerRising) {
        if (app.swimMarkerPulse > 0) app.swimMarkerPulse -= 3;
        else app.swimMarkerRising = 1;
    }
}

// The number signs of the 9 swims, the current one pulsing, and its number on the panel.
void DrawSwimSigns(GameApp& app, const MapZoom& zoom) {
    StepSwimPulse(app);
    const float pulse = static_cast<float>(app.swimMarkerPulse);
    for (int n = 1; n <= SWIM_COUNT; ++n) {
        const SwimRecord& s = *app.swims[n - 1];
        const float scale = zoom.signBase + (n == app.currentSwim ? pulse / zoom.pulseDivisor : 0.0f);
        app.SetWorldTransform(s.x, 5, s.z, 0, 0, 0, scale, scale, scale);
        app.DrawFlatQuad(TextureIdOf(static_cast<TextureName>(TEX_ONE + n - 1)));
    }
    if (app.currentSwim >= 1 && app.currentSwim <= SWIM_COUNT) {
        PanelPicture(app, static_cast<TextureName>(TEX_ONE + app.currentSwim - 1), -5.07, 0.02,
                     0.1f + pulse / 500.0f);
    }
}

// The terrain cell under the mouse, from fixed pixels-per-cell constants of each zoom height.
// Returns the cell's mean corner height when the mouse is over the grid.
float FindCursorCell(GameApp& app, const MapZoom& zoom) {
    const float perColumn = static_cast<float>(zoom.kc / zoom.height);
    const float perRow = static_cast<float>(zoom.kr / zoom.height);
    const float dx = static_cast<float>(app.cursorX - app.clientWidth / 2);
    const float dy = static_cast<float>(app.cursorY - app.clientHeight / 2);
    app.mapCursorColumn = static_cast<int32_t>(dx / perColumn) + (static_cast<int32_t>(app.eyeX) - 100) / 2 + 51;
    app.mapCursorRow = static_cast<int32_t>(dy / perRow) + zoom.r0 - (static_cast<int32_t>(app.eyeZ) - 92) / 2 +
                       zoom.rowShift;
    if (app.mapCursorColumn < 1 || app.mapCursorColumn > 100 || app.mapCursorRow < 1 || app.mapCursorRow > 100)
        return 0.0f;
    app.hoveredCell = (app.mapCursorRow - 1) * 100 + (app.mapCursorColumn - 1);
    const TerrainCell& cell = (*app.terrainCells)[app.hoveredCell];
    return (cell.y[0] + cell.y[1] + cell.y[2] + cell.y[3]) / 4.0f;
}

// Flat icons of the billboards inside the grid, by billboard kind.
void DrawBillboardIcons(GameApp& app) {
    for (int b = 1; b < BILLBOARD_COUNT; ++b) {
        const Billboard& board = *app.billboards[b];
        if (!board.active || !(board.x > 1 && board.x < 199 && board.z > 1 && board.z < 199)) continue;
        const BillboardIcon* icon = BillboardIconFor(board.type);
        if (!icon) continue;
        const float scale = icon->sizeFactor * board.size;
        app.SetWorldTransform(board.x, board.y + 2.0f, board.z, 0, 0, 0, scale, scale, scale);
        app.DrawFlatQuad(TextureIdOf(icon->picture));
    }
}

void Text(GameApp& app, double x, double y, const char* text, uint32_t colour = DARK, int32_t font = 1) {
    app.DrawTextAt(x, y, colour, text, font);
}

// The tackle row under the rig drawing: the values of the current method's parts.
void DrawTackleRow(GameApp& app) {
    constexpr double y = 87.0;
    char s[256];
    auto lb = [&](double x, int32_t v) {
        std::snprintf(s, sizeof s, "%d lb", v);
        Text(app, x, y, s);
    };
    auto oz = [&](double x, int32_t v) {
        std::snprintf(s, sizeof s, "%d oz", v);
        Text(app, x, y, s);
    };
    auto hook = [&](double x) {
        std::snprintf(s, sizeof s, "size %d", app.hookSize);
        Text(app, x, y, s);
    };
    switch (app.method) {
        case 1:
        case 2:
        case 4:
            lb(22.5, app.mainlineLb);
            oz(38.5, app.leadOz);
            lb(45.0, app.hooklengthLb);
            hook(53.8);
            break;
        case 3:
            lb(22.5, app.hooklengthLb);
            hook(36.0);
            lb(48.0, app.mainlineLb);
            oz(55.0, app.leadOz);
            break;
        case 5:
            lb(22.5, app.mainlineLb);
            if (const char* shot = ShotText(app.wagglerShot)) Text(app, 36.5, y, shot);
            if (const char* depth = DepthLabel(app.floatDepth)) Text(app, app.floatDepth == 4 ? 43.0 : 44.0, y, depth);
            hook(53.8);
            break;
        case 6:
            lb(22.5, app.mainlineLb);
            std::snprintf(s, sizeof s, "%.1f oz", app.controllerOz);
            Text(app, 37.8, y, s);
            lb(45.0, app.hooklengthLb);
            hook(53.8);
            break;
        case 7:
            lb(22.5, app.mainlineLb);
            hook(53.8);
            break;
        default: break;
    }
}

// The sentence describing the rig, e.g. "10lb mainline, a 2oz semi fixed lead ,a ...".
void FormatRigSentence(const GameApp& app, char* s, size_t size) {
    const char* lead = nullptr;
    switch (app.method) {
        case 1:
        case 3: lead = "semi fixed lead"; break;
        case 2: lead = "running lead"; break;
        case 4: lead = "swim feeder"; break;
        default: break;
    }
    s[0] = '\0';
    if (lead) {
        std::snprintf(s, size, "%dlb mainline, a %doz %s ,a %dlb hooklength and a size %d hook.", app.mainlineLb,
                      app.leadOz, lead, app.hooklengthLb, app.hookSize);
    } else if (app.method == 5) {
        const char* shot = ShotText(app.wagglerShot);
        const char* depth = DepthWord(app.floatDepth);
        char bigShot[16] = "";
        if (shot) {
            std::snprintf(bigShot, sizeof bigShot, "%s", shot);
            if (app.floatDepth != 1)
                for (char* c = bigShot; *c; ++c)
                    if (*c == 'x') *c = 'X';
        }
        std::snprintf(s, size, "%dlb mainline, a %s waggler set %s and a size  %d hook.", app.mainlineLb, bigShot,
                      depth ? depth : "", app.hookSize);
    } else if (app.method == 6) {
        std::snprintf(s, size, "%dlb mainline, a %.1foz surface controller ,a %dlb hooklength and a size %d hook.",
                      app.mainlineLb, app.controllerOz, app.hooklengthLb, app.hookSize);
    } else if (app.method == 7) {
        std::snprintf(s, size, "%dlb mainline and a size %d hook.", app.mainlineLb, app.hookSize);
    }
}

// Labels, names of the current choices, the three sentences and the height read-out.
void DrawMapTexts(GameApp& app, bool overGrid, float groundLevel) {
    char s[256] = "";

    static const struct {
        const char* text;
        double x;
    } TEST_CURVES[4] = {{"(1.5lb test curve)", 74.0}, {"(2lb test curve)", 74.5},
                        {"(2.5lb test curve)", 74.0}, {"(3lb test curve)", 74.5}};
    if (app.rodReel >= 1 && app.rodReel <= 4) Text(app, TEST_CURVES[app.rodReel - 1].x, 83.0, TEST_CURVES[app.rodReel - 1].text);

    if (const HookBaitInfo* b = HookBaitFor(app.hookBait)) {
        Text(app, b->x1, 5.0, b->line1);
        if (b->line2) Text(app, b->x2, 7.0, b->line2);
    }
    if (const GroundbaitInfo* g = GroundbaitFor(app.groundbait)) {
        Text(app, g->x1, 56.0, g->line1);
        if (g->line2) Text(app, g->x2, 58.0, g->line2);
    }
    if (const MethodInfo* m = MethodFor(app.method)) {
        if (m->line1) Text(app, m->x1, 54.0, m->line1);
        Text(app, m->x2, 56.0, m->line2);
    }
    DrawTackleRow(app);

    static const struct {
        const char* text;
        double x, y;
    } LABELS[] = {
        {"Go", 3.9, 2.3},        {"fishing!", 2.4, 4.2},      {"Read", 8.8, 2.3},
        {"manual", 8.4, 4.2},    {"Bait", 92.5, 2.0},         {"Ground", 91.0, 51.0},
        {"bait", 92.5, 53.0},    {"Zoom", 2.8, 9.0},          {"1", 2.3, 12.4},
        {"2", 6.8, 12.4},        {"3", 2.3, 17.6},            {"4", 6.8, 17.6},
        {"Tackle", 33.5, 81.0},  {"Move", 2.8, 22.2},         {"Rod/Reel", 64.0, 81.0},
        {"Current rod/reel", 74.0, 81.0}, {"Tour", 3.2, 33.0}, {"Duck", 3.0, 38.5},
        {"Stocks", 90.9, 85.0},  {"Contours", 90.2, 90.8},    {"Method", 2.0, 51.0},
        {"Selected tackle etc :", 15.0, 3.5}, {"Swim", 2.8, 43.0},
    };
    for (const auto& l : LABELS) Text(app, l.x, l.y, l.text);

    app.dragBase = app.mainlineLb / 2 + app.rodReel * 2;

    static const char* const ROD_SENTENCES[4] = {
        "A small reel coupled with a soft action rod. ", "A medium reel coupled with a medium action rod. ",
        "A large reel coupled with a stiff action rod. ", "A huge reel coupled with a very stiff action rod. "};
    if (app.rodReel >= 1 && app.rodReel <= 4) Text(app, 31.0, 1.0, ROD_SENTENCES[app.rodReel - 1]);

    FormatRigSentence(app, s, sizeof s);
    if (s[0]) Text(app, 31.0, 3.5, s);

    const HookBaitInfo* bait = HookBaitFor(app.hookBait);
    const GroundbaitInfo* ground = GroundbaitFor(app.groundbait);
    std::snprintf(s, sizeof s, "Your hook bait is %s and your groundbait is %s.", bait ? bait->sentenceName : "",
                  ground ? ground->sentenceName : "");
    Text(app, 31.0, 6.0, s);

    // Cell 0 shows no read-out, as the game always had it.
    if (overGrid && app.hoveredCell >= 1 && app.hoveredCell <= 9999 && app.cursorOverMap) {
        // The mean times 3.1 rounded once to float (3.1f would round the constant first: a mean
        // of -3.5 would read 10.8, not 10.9); + 0 turns a negative zero into "0.0".
        const float v = static_cast<float>(groundLevel * 3.1) + 0.0f;
        if (v >= 0) std::snprintf(s, sizeof s, "height = %.1f", v);
        else std::snprintf(s, sizeof s, "depth = %.1f", std::fabs(v));
        const double x = app.cursorX > app.clientWidth / 2 ? (app.cursorX - 70) / app.clientWidth * 100
                                                           : (app.cursorX + 20) / app.clientWidth * 100;
        const double y = app.cursorY > app.clientHeight / 2 ? (app.cursorY - 50) / app.clientHeight * 100
                                                            : (app.cursorY - 20) / app.clientHeight * 100;
        Text(app, x, y, s, LIGHT);
    }
}

}  // namespace

void GameApp::DrawMapScreen() {
    device->SetRenderState(plat::RS_FILLMODE, plat::FILL_SOLID);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    hoveredCell = TERRAIN_SPARE_CELL;

    if (!lakeInitialised) {
        InitialiseLake();
        if (IsCloseRequested()) return;  // the lake could not be prepared: the game is closing
    }

    const MapZoom& zoom = MapZoomFor(eyeY);
    if (!orbitView) {
        if (eyeX < 2) eyeX = 2;
        if (eyeX > 198) eyeX = 198;
        if (eyeZ < 2) eyeZ = 2;
        if (eyeZ > 198) eyeZ = 198;
        SetViewCamera(eyeX, eyeY, eyeZ, eyeX, 0, eyeZ, 0, 0, 1);
    } else {
        orbitEyeX = F32(std::sin(static_cast<float>(orbitAngle)) * 200.0f + 115.0f);
        orbitEyeZ = F32(std::cos(static_cast<float>(orbitAngle)) * 200.0f + 90.0f);
        SetProjectionFov(3.1415927f / static_cast<float>(orbitZoom));
        SetViewCamera(orbitEyeX, orbitHeight, orbitEyeZ, 115, 0, 90, 0, 1, 0);
    }

    bool overGrid = false;
    float groundLevel = 0.0f;
    if (!orbitView) {
        DrawPanel(*this, zoom);
        DrawSwimSigns(*this, zoom);
        groundLevel = FindCursorCell(*this, zoom);
        overGrid = hoveredCell != TERRAIN_SPARE_CELL;
        for (int32_t i = 0; i < SCENERY_ITEM_COUNT; ++i)
            if (sceneryItems[i]->active) DrawSceneryItem(i);
        DrawBillboardIcons(*this);
    }

    DrawTerrain(orbitView ? TERRAIN_FILL_WIREFRAME : TERRAIN_FILL_SOLID);

    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);

    if (!orbitView) {
        DrawMapTexts(*this, overGrid, groundLevel);
        Text(*this, 28.0, 15.0, "Harrowmere's Wendlow Lake", LIGHT);
    } else {
        Text(*this, 38.5, 9.0, "Use the arrow keys to move", LIGHT);
        Text(*this, 38.5, 12.0, "Use Minus and Plus to zoom", LIGHT);
        Text(*this, 36.0, 86.0, "Click here to play", LIGHT, 2);
        Text(*this, 40.0, 2.0, "Harrowmere's Wendlow Lake", LIGHT);
    }
}
