// The title screen: the animated picture cards, the introductory text and the way on to the map.
#include <cmath>
#include "screens/text_lines.h"
#include "common/step_gate.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t CAPTION_COLOUR = 0xFF141414u;
constexpr uint32_t TEXT_COLOUR = 0xFFFAFAFAu;
constexpr uint32_t TICK_MS = 10;  // a counter or spin tick needs more than this


// The two sets of three lake pictures, left to right.
const TextureName PICTURE_SETS[2][3] = {
    {TEX_INTRO3B, TEX_INTRO3C, TEX_INTRO3D},
    {TEX_INTRO3E, TEX_INTRO3F, TEX_INTRO3G},
};

// Where the pictures rest in the row, and where one is held in front of the title picture.
constexpr float HOME_X[3] = {-3.5f, 0.0f, 3.5f};
constexpr float HOME_Y = -4.3f;
constexpr float HOME_Z = 6.0f;
constexpr float FRONT_Y = -2.8f;
constexpr float FRONT_Z = 10.0f;
constexpr float FRONT_SCALE = 2.5f;
constexpr float ARRIVAL_DISTANCE = 0.1f;

// Waiting states: after so many ticks the next state starts.
struct TitleWait {
    int32_t state;
    int32_t ticks;
    int32_t next;
    int picture;  // -1, or the picture whose tile starts from its home spot
};
const TitleWait WAITS[] = {
    {0, 100, 1, 0}, {2, 200, 3, -1}, {4, 100, 5, -1}, {6, 200, 7, -1},
    {8, 100, 9, 2}, {10, 200, 11, -1}, {12, 100, 13, -1},
};

// Moving states: the tile steps once per frame towards its goals.
struct TitleMove {
    int32_t state;
    int picture;
    bool moveX;           // x steps towards goalX (otherwise it stays put)
    bool testX;           // arrival also needs x near goalX
    float goalX, stepX;
    float goalY, stepY;
    float goalZ, stepZ;
    float scaleGoal, scaleStep;
    float scaleBand;      // > 0: step towards the goal only while further off than this
    int32_t next;
    bool recentre;        // on arrival x goes back to 0, where the second picture starts
};
const TitleMove MOVES[] = {
    {1, 0, true, true, 0.0f, 0.0175f, FRONT_Y, 0.0075f, FRONT_Z, 0.02f, FRONT_SCALE, 0.0123f, 0.025f, 2, false},
    {3, 0, true, true, HOME_X[0], 0.035f, HOME_Y, 0.015f, HOME_Z, 0.04f, 1.0f, 0.026f, 0.0f, 4, true},
    {5, 1, false, true, 0.0f, 0.0f, FRONT_Y, 0.0075f, FRONT_Z, 0.02f, FRONT_SCALE, 0.013f, 0.0f, 6, false},
    {7, 1, false, false, 0.0f, 0.0f, HOME_Y, 0.015f, HOME_Z, 0.04f, 1.0f, 0.026f, 0.0f, 8, false},
    {9, 2, true, true, 0.0f, 0.0175f, FRONT_Y, 0.0075f, FRONT_Z, 0.02f, FRONT_SCALE, 0.0123f, 0.025f, 10, false},
    {11, 2, true, false, HOME_X[2], 0.035f, HOME_Y, 0.015f, HOME_Z, 0.04f, 1.0f, 0.026f, 0.0f, 12, false},
};

// One step of a coordinate towards its goal: up while below it, then back down once if above it,
// so that it settles within one step below or at the goal. Single precision, as the game runs.
void Approach(double& value, float goal, float step) {
    float v = static_cast<float>(value);
    if (v < goal) v += step;
    if (v > goal) v -= step;
    value = v;
}

bool Near(double value, float goal) { return std::fabs(static_cast<float>(value) - goal) <= ARRIVAL_DISTANCE; }

struct Caption {
    double x;
    const char* text;
};
// Captions of the held pictures, per set and picture.
const Caption CAPTIONS[2][3] = {
    {{36, "Old Harrowmere Lake - Harrowmere Fisheries"},
     {38, "Brackwell Lake - Harrowmere Fisheries"},
     {37, "Tollan Lake - Harrowmere Fisheries"}},
    {{37, "Wendlow Lake - Harrowmere Fisheries"},
     {36, "Old Harrowmere Lake - Harrowmere Fisheries"},
     {37, "Wendlow Lake - Harrowmere Fisheries"}},
};

const TextLine TITLE_LINES[] = {
    {9, 2, 3, "QUELLAN : Virtual carp fishing on Harrowmere Fisheries big fish water - Wendlow Lake"},
    {3, 12, 1,
     "The game, which is a first for any commercial fishery has been developed using Harrowmere\x92s "
     "\x91" "Big Fish\x92 carp water - Wendlow Lake."},
    {6, 15, 1,
     "It includes actual pictures of the lake and surrounding countryside, and exact catch details of 27 "
     "of Wendlows biggest fish. "},
    {10, 18, 1,
     "These details include both actual stocking weights, the electronic tag number which each Wendlow "
     "fish carries -"},
    {32, 21, 1, "- and the weight of the fish when last caught."},
    {21, 24, 1, "In addition, a further 48 computer generated fish are also included in the game. "},
    {15, 27, 1, "The lakes depths and contours are an exact match and were plotted by satellite technology."},
    {36, 86, 2, "Click here to play"},
    {2, 92, 1, GAME_FOOTER_LINE},
    {61, 92, 1, VENUE_FOOTER_LINE},
};

// The picture held at the front in a showing state (2, 6, 10), or -1.
int HeldPicture(int32_t state) {
    switch (state) {
        case 2: return 0;
        case 6: return 1;
        case 10: return 2;
        default: return -1;
    }
}

}  // namespace

void GameApp::DrawTitleScreen() {
    device->SetRenderState(plat::RS_FILLMODE, plat::FILL_SOLID);
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);

    // The counter and the spin advance on 10-ms ticks, whatever the frame rate.
    if (StepDue(titleCounterStamp, TICK_MS)) {
        if (titleState == 13) titleFlipAngle = static_cast<float>(titleFlipAngle) + 0.01f;
        titleTickCounter += 1;
    }
    if (StepDue(titleSpinStamp, TICK_MS)) {
        titleSpinAngle = static_cast<float>(titleSpinAngle) + 0.01f;
    }

    SetViewCamera(0, 0, -5, 0, 0, 0, 0, 1, 0);
    auto card = [this](TextureName name, double x, double y, double z, double yaw, double sx, double sy,
                       double sz) {
        SetWorldTransform(x, y, z, 0, yaw, 0, sx, sy, sz);
        DrawUprightQuad(TextureIdOf(name));
    };

    card(TEX_COPY, -3.05, -3.05, 3.0, 0, 1, 0.125, 0.125);
    card(TEX_INTRO, 0, -1, 3, titleSpinAngle, 1.1, 0.4, 0.4);
    card(TEX_INTRO2, 0, -1, 3, static_cast<float>(titleSpinAngle) + 3.142f, 1.1, 0.4, 0.4);
    card(TEX_INTRO3, 0, FRONT_Y, FRONT_Z, 0, FRONT_SCALE, FRONT_SCALE, FRONT_SCALE);

    const int shown = titlePictureSet == 2 ? 1 : 0;
    const TextureName* pictures = PICTURE_SETS[shown];
    if (titleState != 13) {
        for (int i = 0; i < 3; ++i) card(pictures[i], HOME_X[i], HOME_Y, HOME_Z, 0, 1, 1, 1);
    }

    for (const TitleWait& w : WAITS) {
        if (titleState != w.state || titleTickCounter < w.ticks) continue;
        titleState = w.next;
        titleTickCounter = 0;
        if (w.picture >= 0) {
            titleTilePos[0] = HOME_X[w.picture];
            titleTilePos[1] = HOME_Y;
            titleTilePos[2] = HOME_Z;
        }
        break;
    }

    for (const TitleMove& m : MOVES) {
        if (titleState != m.state) continue;
        if (m.moveX) Approach(titleTilePos[0], m.goalX, m.stepX);
        Approach(titleTilePos[1], m.goalY, m.stepY);
        Approach(titleTilePos[2], m.goalZ, m.stepZ);
        if (m.scaleBand > 0.0f) {
            float s = static_cast<float>(titleTileScale);
            if (std::fabs(s - m.scaleGoal) > m.scaleBand) s += s < m.scaleGoal ? m.scaleStep : -m.scaleStep;
            titleTileScale = s;
        } else {
            Approach(titleTileScale, m.scaleGoal, m.scaleStep);
        }
        card(pictures[m.picture], titleTilePos[0], titleTilePos[1], titleTilePos[2], 0, titleTileScale,
             titleTileScale, titleTileScale);
        const bool arrived = (!m.testX || Near(titleTilePos[0], m.goalX)) && Near(titleTilePos[1], m.goalY) &&
                             Near(titleTilePos[2], m.goalZ);
        if (arrived) {
            titleTickCounter = 0;
            titleState = m.next;
            if (m.recentre) titleTilePos[0] = 0.0;
        }
        break;
    }

    const int held = HeldPicture(titleState);
    if (held >= 0) {
        titleTileScale = FRONT_SCALE;
        card(pictures[held], 0, FRONT_Y, FRONT_Z, 0, FRONT_SCALE, FRONT_SCALE, FRONT_SCALE);
    }

    if (titleState == 13) {
        const TextureName* backs = PICTURE_SETS[1 - shown];
        const float back = static_cast<float>(titleFlipAngle) + 3.142f;
        for (int i = 0; i < 3; ++i) card(pictures[i], HOME_X[i], HOME_Y, HOME_Z, titleFlipAngle, 1, 1, 1);
        for (int i = 0; i < 3; ++i) card(backs[i], HOME_X[i], HOME_Y, HOME_Z, back, 1, 1, 1);
        if (static_cast<float>(titleFlipAngle) > 3.142f) {
            titleState = 0;
            titleTickCounter = 0;
            titleFlipAngle = 0.0;
            titlePictureSet = titlePictureSet == 1 ? 2 : 1;
        }
    }

    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);
    if (held >= 0) {
        const Caption& c = CAPTIONS[shown][held];
        DrawTextAt(c.x, 31, CAPTION_COLOUR, c.text, 1);
    }
    for (const TextLine& line : TITLE_LINES) DrawTextAt(line.x, line.y, TEXT_COLOUR, line.text, line.font);
}

void GameApp::UpdateTitleScreen(InputDeviceState* input) {
    if (!input || !input->keyX) return;
    input->keyX = 0;
    LeaveTitle();
}

// "Click here to play" (no lock).
void GameApp::ClickTitle(const ScreenPointer& pointer) {
    if (leftButtonDown == 1 && pointer.onButton) LeaveTitle();
}

// On to the map; the title is never shown again, so its textures go.
void GameApp::LeaveTitle() {
    gameMode = MODE_MAP;
    ReleaseTitleTextures();
}
