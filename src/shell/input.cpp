// Input: the action map, the per-frame poll of every device and the screen-input dispatch.
#include <cmath>
#include <iterator>
#include <vector>
#include "common/sound_cue.h"
#include "gfx/geometry.h"
#include "shell/game_app.h"

namespace {

// Action codes: the values each event carries back.
enum ActionCode : uint32_t {
    ACTION_KEY_F5 = 0,
    ACTION_LEFT_BUTTON = 1,
    ACTION_MOUSE_Y = 2,
    ACTION_MOUSE_X = 3,
    ACTION_MOVE_UP = 4,
    ACTION_MOVE_DOWN = 5,
    ACTION_MOVE_LEFT = 6,
    ACTION_MOVE_RIGHT = 7,
    ACTION_ZOOM_OUT = 8,
    ACTION_ZOOM_IN = 9,
    ACTION_KEY_0 = 10,
    ACTION_STRIKE_ROD1 = 11,
    ACTION_STRIKE_ROD2 = 12,
    ACTION_KEY_3 = 13,
    ACTION_KEY_4 = 14,
    ACTION_KEY_5 = 15,
    ACTION_KEY_6 = 16,
    ACTION_KEY_7 = 17,
    ACTION_KEY_8 = 18,
    ACTION_KEY_9 = 19,
    ACTION_KEY_V = 20,
    ACTION_RIGHT_BUTTON = 21,
    ACTION_BACK = 22,
    ACTION_KEY_O = 23,
    ACTION_KEY_U = 24,
    ACTION_DELETE_PHOTO = 25,
    ACTION_BEST_CATCHES = 26,
    ACTION_FISH_HERE = 27,
    ACTION_GROUNDBAIT = 28,
    ACTION_HOOK_BAITS = 29,
    ACTION_BINOCULARS = 30,
    ACTION_RECAST = 31,
    ACTION_PHOTO = 32,
    ACTION_TIPS = 33,
    ACTION_CODE_COUNT = 34,
};

using plat::InputSource;
using plat::KeyId;

// The action map "viewer Game", in row order.
const plat::ActionBinding ACTION_TABLE[] = {
    {ACTION_MOUSE_Y, InputSource::MouseAxisY, KeyId::None, 0, "ACTION_MOUSE_Y"},
    {ACTION_MOUSE_X, InputSource::MouseAxisX, KeyId::None, 0, "ACTION_MOUSE_X"},
    {ACTION_LEFT_BUTTON, InputSource::MouseButtonLeft, KeyId::None, 0, "ACTION_LEFT_BUTTON"},
    {ACTION_RIGHT_BUTTON, InputSource::MouseButtonRight, KeyId::None, 0, "ACTION_RIGHT_BUTTON"},
    {ACTION_ZOOM_OUT, InputSource::Key, KeyId::Minus, 0, "ACTION_ZOOM_OUT"},
    {ACTION_ZOOM_IN, InputSource::Key, KeyId::Equals, 0, "ACTION_ZOOM_IN"},
    {ACTION_MOVE_LEFT, InputSource::Key, KeyId::Left, 0, "ACTION_MOVE_LEFT"},
    {ACTION_MOVE_RIGHT, InputSource::Key, KeyId::Right, 0, "ACTION_MOVE_RIGHT"},
    {ACTION_MOVE_UP, InputSource::Key, KeyId::Up, 0, "ACTION_MOVE_UP"},
    {ACTION_MOVE_DOWN, InputSource::Key, KeyId::Down, 0, "ACTION_MOVE_DOWN"},
    {ACTION_KEY_F5, InputSource::Key, KeyId::F5, 0, "ACTION_KEY_F5"},
    {ACTION_KEY_0, InputSource::Key, KeyId::Num0, 0, "ACTION_KEY_0"},
    {ACTION_STRIKE_ROD1, InputSource::Key, KeyId::Num1, 0, "ACTION_STRIKE_ROD1"},
    {ACTION_STRIKE_ROD2, InputSource::Key, KeyId::Num2, 0, "ACTION_STRIKE_ROD2"},
    {ACTION_KEY_3, InputSource::Key, KeyId::Num3, 0, "ACTION_KEY_3"},
    {ACTION_KEY_4, InputSource::Key, KeyId::Num4, 0, "ACTION_KEY_4"},
    {ACTION_KEY_5, InputSource::Key, KeyId::Num5, 0, "ACTION_KEY_5"},
    {ACTION_KEY_6, InputSource::Key, KeyId::Num6, 0, "ACTION_KEY_6"},
    {ACTION_KEY_7, InputSource::Key, KeyId::Num7, 0, "ACTION_KEY_7"},
    {ACTION_KEY_8, InputSource::Key, KeyId::Num8, 0, "ACTION_KEY_8"},
    {ACTION_KEY_9, InputSource::Key, KeyId::Num9, 0, "ACTION_KEY_9"},
    {ACTION_KEY_V, InputSource::Key, KeyId::V, 0, "ACTION_KEY_V"},
    {ACTION_BACK, InputSource::Key, KeyId::X, 0, "ACTION_BACK"},
    {ACTION_KEY_O, InputSource::Key, KeyId::O, 0, "ACTION_KEY_O"},
    {ACTION_KEY_U, InputSource::Key, KeyId::U, 0, "ACTION_KEY_U"},
    {ACTION_DELETE_PHOTO, InputSource::Key, KeyId::D, 0, "ACTION_DELETE_PHOTO"},
    {ACTION_BEST_CATCHES, InputSource::Key, KeyId::C, 0, "ACTION_BEST_CATCHES"},
    {ACTION_FISH_HERE, InputSource::Key, KeyId::F, 0, "ACTION_FISH_HERE"},
    {ACTION_GROUNDBAIT, InputSource::Key, KeyId::G, 0, "ACTION_GROUNDBAIT"},
    {ACTION_HOOK_BAITS, InputSource::Key, KeyId::H, 0, "ACTION_HOOK_BAITS"},
    {ACTION_BINOCULARS, InputSource::Key, KeyId::B, 0, "ACTION_BINOCULARS"},
    {ACTION_RECAST, InputSource::Key, KeyId::R, 0, "ACTION_RECAST"},
    {ACTION_TIPS, InputSource::Key, KeyId::T, 0, "ACTION_TIPS"},
    {ACTION_PHOTO, InputSource::Key, KeyId::P, 0, "ACTION_PHOTO"},
};
static_assert(sizeof(ACTION_TABLE) / sizeof(ACTION_TABLE[0]) == ACTION_CODE_COUNT, "34 actions");

// The key field each action code writes (null: an action that nothing reads).
using KeyField = int32_t InputDeviceState::*;
KeyField KeyFieldFor(uint32_t code) {
    switch (code) {
        case ACTION_ZOOM_OUT: return &InputDeviceState::keyMinus;
        case ACTION_ZOOM_IN: return &InputDeviceState::keyEquals;
        case ACTION_MOVE_LEFT: return &InputDeviceState::keyLeft;
        case ACTION_MOVE_RIGHT: return &InputDeviceState::keyRight;
        case ACTION_MOVE_UP: return &InputDeviceState::keyUp;
        case ACTION_MOVE_DOWN: return &InputDeviceState::keyDown;
        case ACTION_STRIKE_ROD1: return &InputDeviceState::key1;
        case ACTION_STRIKE_ROD2: return &InputDeviceState::key2;
        case ACTION_BACK: return &InputDeviceState::keyX;
        case ACTION_KEY_O: return &InputDeviceState::keyO;
        case ACTION_DELETE_PHOTO: return &InputDeviceState::keyD;
        case ACTION_BEST_CATCHES: return &InputDeviceState::keyC;
        case ACTION_FISH_HERE: return &InputDeviceState::keyF;
        case ACTION_GROUNDBAIT: return &InputDeviceState::keyG;
        case ACTION_HOOK_BAITS: return &InputDeviceState::keyH;
        case ACTION_BINOCULARS: return &InputDeviceState::keyB;
        case ACTION_RECAST: return &InputDeviceState::keyR;
        case ACTION_TIPS: return &InputDeviceState::keyT;
        case ACTION_PHOTO: return &InputDeviceState::keyP;
        default: return nullptr;
    }
}

// Events taken from one device per frame; the rest wait in its buffer.
constexpr uint32_t EVENTS_PER_POLL = 23;

InputDeviceState* RecordOf(const plat::DeviceEntry& entry) {
    return static_cast<InputDeviceState*>(entry.userData);
}

}  // namespace

plat::HResult GameApp::InitInput(plat::WindowHandle window) {
    actionFormat = plat::ActionFormat{};
    actionFormat.mapName = "viewer Game";
    actionFormat.genre = 0x24000000;
    actionFormat.bufferSize = 255;
    actionFormat.axisMin = -100;
    actionFormat.axisMax = 100;
    actionFormat.actions.assign(std::begin(ACTION_TABLE), std::end(ACTION_TABLE));
    inputManager = new plat::InputActionManager();
    return inputManager->Create(window, &actionFormat, &GameApp::OnInputDeviceFound, this);
}

plat::HResult GameApp::OnInputDeviceFound(plat::InputActionManager* manager, plat::InputDevice* device,
                                          void* context) {
    for (plat::DeviceEntry& entry : manager->Devices())
        if (entry.device == device) return static_cast<GameApp*>(context)->SetupInputDevice(entry);
    return plat::FAIL;
}

plat::HResult GameApp::SetupInputDevice(plat::DeviceEntry& entry) {
    entry.device->SetDeadZone(500);
    entry.userData = new InputDeviceState{};
    return plat::OK;
}

// Keyboard first, then the mouse: each device's pass sees the axes merged over itself and the
// devices before it, and the mouse buttons (GameApp members) whichever device reported them.
void GameApp::PollInput() {
    if (!inputManager) return;
    std::vector<plat::DeviceEntry>& devices = inputManager->Devices();

    for (plat::DeviceEntry& entry : devices) {
        InputDeviceState* record = RecordOf(entry);
        if (!record) continue;
        entry.device->Acquire();
        entry.device->Poll();
        plat::DeviceEvent events[EVENTS_PER_POLL];
        uint32_t count = EVENTS_PER_POLL;
        if (plat::Failed(entry.device->GetDeviceData(sizeof(plat::DeviceEvent), events, &count, 0)))
            continue;  // the record keeps last frame's values
        if (count > EVENTS_PER_POLL) count = EVENTS_PER_POLL;
        record->axisX = 0.0f;
        record->axisY = 0.0f;
        for (uint32_t i = 0; i < count; ++i) {
            const plat::DeviceEvent& ev = events[i];
            const int32_t held = ev.data == plat::EVENT_PRESSED ? 1 : 0;
            const float axis = static_cast<float>(static_cast<int32_t>(ev.data) / 500.0);
            switch (ev.appData) {
                case ACTION_MOUSE_X: record->axisX = axis; break;
                case ACTION_MOUSE_Y: record->axisY = -axis; break;
                case ACTION_LEFT_BUTTON: leftButtonDown = held; break;
                case ACTION_RIGHT_BUTTON: rightButtonDown = held; break;
                default:
                    if (KeyField field = KeyFieldFor(static_cast<uint32_t>(ev.appData))) record->*field = held;
                    break;
            }
        }
    }

    verticalAxis = 0.0f;
    horizontalAxis = 0.0f;
    for (plat::DeviceEntry& entry : devices) {
        InputDeviceState* record = RecordOf(entry);
        if (!record) continue;
        if (std::fabs(horizontalAxis) < std::fabs(record->axisX)) horizontalAxis = record->axisX;
        if (std::fabs(verticalAxis) < std::fabs(record->axisY)) verticalAxis = record->axisY;
        DispatchScreenInput(*record);
    }
}

// Step 1: where the cursor is, in the game window and over the map.
ScreenPointer GameApp::ReadScreenPointer() {
    plat::Point screen{0, 0};
    plat::GetCursorPos(&screen);
    cursorX = screen.x - clientOriginX - 1;
    cursorY = screen.y - clientOriginY - 1;
    cursorOverMap = (cursorX >= 84 && cursorX <= 714 && cursorY >= 84 && cursorY <= 524) ? 1 : 0;
    ScreenPointer pointer;
    pointer.screenX = screen.x;
    pointer.screenY = screen.y;
    pointer.windowX = static_cast<float>(screen.x - clientOriginX);
    pointer.windowY = static_cast<float>(screen.y - clientOriginY);
    const float width = static_cast<float>(clientWidth);
    const float height = static_cast<float>(clientHeight);
    pointer.onButton = Distance2D(pointer.windowX, pointer.windowY, width / 2.0f, height / 1.1f) < 100.0;
    return pointer;
}

// The screens' input steps in their fixed order; each step checks the mode again, so a step that
// changes the mode without a lock lets a later step of the new mode run in the same pass.
void GameApp::DispatchScreenInput(InputDeviceState& input) {
    const ScreenPointer pointer = ReadScreenPointer();                                          //  1
    const int32_t passMode = gameMode;
    if (gameMode == MODE_DUCK && inputLock == 0) UpdateDuckModeScreen(&input);                   //  2
    if (gameMode == MODE_MAP && inputLock == 0) UpdateMapScreen(&input, pointer.screenX, pointer.screenY);
    if (gameMode == MODE_FISHING && inputLock == 0) UpdateFishingScreen(&input);
    if (gameMode == MODE_TITLE && inputLock == 0) UpdateTitleScreen(&input);
    if (gameMode == MODE_INSTRUCTIONS && inputLock == 0) UpdateInstructionsScreen(&input);
    if (gameMode == MODE_CATCH_RECORDS) HoverCatchRecordsRow(pointer);                           //  3
    if (gameMode == MODE_CATCH_RECORDS && inputLock == 0) UpdateCatchRecordsKeys(input);         //  4
    if (gameMode == MODE_PHOTO_ALBUM && inputLock == 0) UpdatePhotoAlbumScreen(input);           //  5
    if (gameMode == MODE_TOUR && inputLock == 0) UpdateTourScreen(input);                        //  6
    if (gameMode == MODE_STOCKING_RECORDS && inputLock == 0) ClickStockingRecords(pointer);      //  7
    if (gameMode == MODE_CATCH_RECORDS && inputLock == 0) ClickCatchRecords(pointer);            //  8
    if (playClickSound) PlayRequestedClick();                                                    //  9
    if (gameMode == MODE_FISHING || gameMode == MODE_TOUR || gameMode == MODE_DUCK) CentreCursor(); // 10
    if (gameMode == MODE_TITLE) ClickTitle(pointer);                                             // 11
    if (gameMode == MODE_INSTRUCTIONS) ClickInstructions(input, pointer);                        // 12, 13
    // A click that leaves a screen is not taken again by the screen it opens: the held button
    // counts as up until it is released and pressed again. (Within this pass no step of the new
    // screen takes it: every exit by a click either locks input or lies apart from its buttons.)
    if (gameMode != passMode) leftButtonDown = 0;
}

// The click a screen asked for during this pass.
void GameApp::PlayRequestedClick() {
    playClickSound = 0;
    PlayFromStart(clickSound);
}

// The lake screens steer with the mouse: the cursor is kept in the middle.
void GameApp::CentreCursor() { plat::SetCursorPos(500, 500); }

void GameApp::ZeroInputRecords() {
    if (!inputManager) return;
    for (plat::DeviceEntry& entry : inputManager->Devices())
        if (InputDeviceState* record = RecordOf(entry)) *record = InputDeviceState{};
}

void GameApp::ShutdownInput() {
    if (!inputManager) return;
    for (plat::DeviceEntry& entry : inputManager->Devices()) {
        delete RecordOf(entry);
        entry.userData = nullptr;
    }
    delete inputManager;
    inputManager = nullptr;
}
