// GameApp construction, destruction and the frame's call points.
#include "shell/game_app.h"
#include <array>
#include <cstdio>
#include "platform/d3dx.h"
#include "platform/backend.h"
#include "platform/system.h"

namespace {
// Deletes every object of a pool and empties its slots.
template <class T, size_t N>
void FreePool(T* (&pool)[N]) {
    for (T*& object : pool) {
        delete object;
        object = nullptr;
    }
}

const char* const LOADING_MESSAGE =
    "Loading 'QUELLAN' version 1.3 (Wendlow Lake at Harrowmere Fisheries) ... please wait";
}

GameApp::GameApp() {
    // 1. Frame settings.
    desktopWidth = plat::DesktopWidth();
    windowTitle = "QUELLAN - Virtual fishing on Harrowmere's Wendlow Lake";
    windowWidth = 800;
    windowHeight = 600;
    usesDepthBuffer = 1;
    showDeviceCursor = 0;
    startFullscreenOption = 0;

    // 2. Loading flag, input manager, sound system, merged axes and clips start null/zero
    //    (member initialisers).

    // 3. Pools and records, each allocated once.
    for (SoundSlot*& s : soundSlots) s = new SoundSlot();
    for (SwimRecord*& s : swims) s = new SwimRecord{};
    for (PhotoRecord*& photo : photos) photo = new PhotoRecord{};
    for (SceneryItem*& s : sceneryItems) s = new SceneryItem();
    for (InsectSwarm*& s : insectSwarms) s = new InsectSwarm();
    for (FeedingBubble*& b : feedingBubbles) b = new FeedingBubble();
    for (BubbleSpot*& s : bubbleSpots) s = new BubbleSpot();
    for (Wake*& w : wakes) w = new Wake();
    for (RippleRing*& r : rippleRings) r = new RippleRing();
    for (int32_t i = 0; i < FISH_COUNT; ++i) {
        fishPlacements[i] = new FishPlacement{};
        fish[i] = new Fish();
    }
    for (BaitAttraction*& b : baitAttractions) b = new BaitAttraction();
    for (Billboard*& b : billboards) b = new Billboard();
    for (Dragonfly*& d : dragonflies) d = new Dragonfly();
    terrainCells = new TerrainCellTable();

    // 4. Every other default.
    gameMode = MODE_TITLE;
    highDetailScenery = HIGH_DETAIL_SCENERY ? 1 : 0;

    // 5. Save file: photos, then the stock records and best weights.
    AllocateStockRecords();
    ReadSaveFile();

    // 6. Gulls at their fixed start points.
    for (int32_t i = 0; i < GULL_COUNT; ++i)
        gulls[i] = new Gull(GULL_START_POINTS[i][0], GULL_START_POINTS[i][1], GULL_START_POINTS[i][2]);
}

GameApp::~GameApp() {
    // 1. The save file first, with a new best weight still waiting in the weigh sling (the game
    // closed there) recorded for the landed fish.
    CommitPendingBestWeight();
    if (!WriteSaveFile() && saveNotWritten) *saveNotWritten = true;

    // 2. Free the pools, in order.
    delete terrainCells;
    terrainCells = nullptr;
    FreePool(billboards);
    FreePool(sceneryItems);
    FreePool(insectSwarms);
    FreePool(dragonflies);
    FreePool(bubbleSpots);
    FreePool(wakes);
    FreePool(rippleRings);
    FreePool(feedingBubbles);
    FreePool(fish);
    FreePool(fishPlacements);
    FreePool(baitAttractions);
    FreePool(swims);
    FreePool(gulls);
    FreePool(soundSlots);
    FreePool(stockRecords);
    FreePool(photos);
}

plat::HResult GameApp::CheckDevice(uint32_t) { return plat::OK; }

plat::HResult GameApp::InitOnce() {
    PaintNow();
    if (plat::Failed(InitInput(windowHandle)))
        std::fprintf(stderr, "lakeside: no input devices; the game runs without input\n");
    if (plat::Failed(LoadSounds(windowHandle)))
        std::fprintf(stderr, "lakeside: sound could not be opened; the game runs silently\n");
    loadingMessage = 0;
    return plat::OK;
}

// The sound clips with their files and creation flags, in load order.
std::array<GameApp::ClipEntry, GameApp::SOUND_CLIP_COUNT> GameApp::SoundClipTable() {
    return {{
        {&clickSound, "sounds\\button.wav", 0x80},
        {&panSound, "sounds\\button2.wav", 0x80},
        {&splashSound, "sounds\\splash.wav", 0x80},
        {&shutterSound, "sounds\\shutter.wav", 0x80},
        {&birdSounds[0], "sounds\\bird1.wav", 0x80},
        {&birdSounds[1], "sounds\\bird2.wav", 0x80},
        {&birdSounds[2], "sounds\\bird3.wav", 0x80},
        {&birdSounds[3], "sounds\\bird4.wav", 0x80},
        {&birdSounds[4], "sounds\\bird5.wav", 0x80},
        {&ambienceSound, "sounds\\back.wav", 0x80},
        {&ambienceSound2, "sounds\\back2.wav", 0x80},
        {&crowSound, "sounds\\crow.wav", 0x80},
        {&reelSound, "sounds\\reelin.wav", 0x80},
        {&clutchSound, "sounds\\clutch.wav", 0x80},
        {&lineSound, "sounds\\line.wav", 0x80},
        {&snapSound, "sounds\\snap.wav", 0},
        {&rodSound, "sounds\\rod.wav", 0x80},
        {&alarmSound, "sounds\\alarm.wav", 0x80},
        {&cattySound, "sounds\\catty.wav", 0},
        {&spraySound, "sounds\\spray.wav", 0},
        {&elasticSound, "sounds\\elastic.wav", 0},
        {&footstepLandSound, "sounds\\foot1.wav", 0},
        {&footstepLandSound2, "sounds\\foot1b.wav", 0},
        {&footstepPlatformSound, "sounds\\foot3.wav", 0},
        {&quackSound, "sounds\\duck.wav", 0x80},
        {&footstepWaterSound, "sounds\\foot2.wav", 0},
        {&footstepWaterSound2, "sounds\\foot2b.wav", 0},
        {&duckFootSound, "sounds\\duckfoot.wav", 0x80},
        {&sploshSounds[0], "sounds\\splosh.wav", 0xa0},
        {&sploshSounds[1], "sounds\\splosh.wav", 0xa0},
        {&sploshSounds[2], "sounds\\splosh.wav", 0xa0},
        {&sploshSounds[3], "sounds\\splosh.wav", 0xa0},
        {&sploshSounds[4], "sounds\\splosh.wav", 0xa0},
    }};
}

plat::HResult GameApp::LoadSounds(plat::WindowHandle window) {
    soundSystem = new plat::SoundSystem();
    plat::HResult r = soundSystem->Initialize(window, plat::SOUND_PRIORITY_LEVEL);
    if (plat::Failed(r)) return r;
    r = soundSystem->SetPrimaryBufferFormat(2, 22050, 16);
    if (plat::Failed(r)) return r;

    for (const ClipEntry& e : SoundClipTable()) {
        *e.member = nullptr;
        soundSystem->Create(e.member, e.file, e.flags, nullptr, 1);
    }
    return plat::OK;
}

plat::HResult GameApp::CreateDeviceResources() {
    // The game window's own size (it is the whole "screen" of our frame).
    plat::Rect r = plat::GameWindowRect();
    clientWidth = r.right;
    clientHeight = r.bottom;
    CreateStaticMeshes();
    LoadBaseTextures();
    LoadTextureSet(TEXTURE_SET_MAP);
    plat::GameSrand(static_cast<uint32_t>(plat::CalendarSeconds()));
    return plat::OK;
}

plat::Material StandardMaterial() {
    plat::Material material{};
    material.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    material.ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    return material;
}

plat::HResult GameApp::ResetDeviceResources() {
    using namespace plat;
    const Material material = StandardMaterial();
    device->SetMaterial(&material);

    device->SetTextureStageState(0, TSS_COLORARG1, TA_TEXTURE);
    device->SetTextureStageState(0, TSS_COLORARG2, TA_DIFFUSE);
    device->SetTextureStageState(0, TSS_ALPHAOP, TOP_MODULATE);
    device->SetSamplerState(0, SAMP_MINFILTER, TEXF_LINEAR);
    device->SetSamplerState(0, SAMP_MAGFILTER, TEXF_LINEAR);

    device->SetRenderState(RS_ZENABLE, 1);
    device->SetRenderState(RS_SRCBLEND, BLEND_SRCALPHA);
    device->SetRenderState(RS_DESTBLEND, BLEND_INVSRCALPHA);
    device->SetRenderState(RS_ALPHAREF, 0xFE);
    device->SetRenderState(RS_ALPHAFUNC, CMP_GREATER);

    Matrix m;
    MatrixIdentity(&m);
    device->SetTransform(TS_WORLD, &m);
    Vector3 eye{0.0f, 0.0f, 0.0f}, at{0.0f, 0.0f, 1.0f}, up{0.0f, 1.0f, 0.0f};
    MatrixLookAtLH(&m, &eye, &at, &up);
    device->SetTransform(TS_VIEW, &m);
    SetProjectionFov(NORMAL_FIELD_OF_VIEW);

    device->SetRenderState(RS_LIGHTING, 1);

    Light light0{};
    light0.type = LIGHT_POINT;
    light0.position = {200.0f, 5000.0f, 200.0f};
    light0.diffuse = {0.95f, 0.95f, 0.95f, 0.0f};
    light0.ambient = {0.82f, 0.82f, 0.82f, 0.0f};
    light0.range = 100000.0f;
    light0.attenuation0 = 0.0f;
    light0.attenuation1 = 0.00019f;
    light0.attenuation2 = 0.0f;
    device->SetLight(LIGHT_MAP, &light0);

    Light light1{};
    light1.type = LIGHT_DIRECTIONAL;
    Vector3 dir{0.8f, -0.4f, 0.4f};
    Vec3Normalize(&light1.direction, &dir);
    light1.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light1.ambient = {0.75f, 0.75f, 0.75f, 0.0f};
    light1.range = 1000.0f;
    device->SetLight(LIGHT_LAKESIDE, &light1);
    // The map's light on and the sun off at start-up; after a reset the lights the screen shown
    // has switched (the lake's sun, the tour's own light), not the map's. The tour sets its
    // light's colour again every frame it is on.
    for (uint32_t slot = 0; slot < LIGHT_SLOT_COUNT; ++slot) device->LightEnable(slot, lightOn[slot]);

    const int32_t width = static_cast<int32_t>(clientWidth);
    struct FontEntry {
        Font** member;
        int32_t divisor;
        uint32_t charSet;
        uint32_t quality;
    };
    const FontEntry fonts[] = {
        {&textFontSmall, 50, DEFAULT_CHARSET, DEFAULT_QUALITY},
        {&textFontLarge, 25, ANSI_CHARSET, ANTIALIASED_QUALITY},
        {&textFontMedium, 35, ANSI_CHARSET, ANTIALIASED_QUALITY},
    };
    for (const FontEntry& f : fonts) {
        HResult r = CreateFont(device, width / f.divisor, 0, FW_NORMAL, 1, false, f.charSet, 0, f.quality,
                               0, "MICROSOFT SANS SERIF", f.member);
        if (Failed(r)) return r;
    }
    return OK;
}

void GameApp::SwitchLight(uint32_t slot, bool on) {
    if (slot >= LIGHT_SLOT_COUNT) return;
    lightOn[slot] = on;
    if (device) device->LightEnable(slot, on);
}

plat::HResult GameApp::StepFrame() {
    PollInput();
    return plat::OK;
}

uint32_t GameApp::ClearColourForMode(int32_t mode) const {
    switch (mode) {
        case MODE_TITLE:
        case MODE_MAP:
        case MODE_CATCH_RECORDS:
            return CLEAR_BLACK;
        default:
            return CLEAR_GREY;
    }
}

void GameApp::DrawCurrentScreen() {
    switch (gameMode) {
        case MODE_TITLE: DrawTitleScreen(); break;
        case MODE_MAP: DrawMapScreen(); break;
        case MODE_FISHING: DrawFishingScreen(); break;
        case MODE_PHOTO_ALBUM: DrawPhotoAlbumScreen(); break;
        case MODE_TOUR: DrawTourScreen(); break;
        case MODE_DUCK: DrawDuckModeScreen(); break;
        case MODE_CATCH_RECORDS: DrawCatchRecordsScreen(); break;
        case MODE_INSTRUCTIONS: DrawInstructionsScreen(); break;
        case MODE_STOCKING_RECORDS: DrawStockingRecordsScreen(); break;
        default: break;
    }
}

plat::HResult GameApp::DrawFrame() {
    // A lock runs from the last frame at which it was 0.
    const uint32_t now = plat::GetTickCount();
    if (static_cast<int32_t>(now - inputLockStart) >= inputLock * 100) {
        inputLock = 0;
        inputLockStart = now;
    }
    device->BeginScene();
    device->Clear(0, nullptr, plat::CLEAR_TARGET | plat::CLEAR_ZBUFFER, ClearColourForMode(gameMode), 1.0f,
                  0);
    DrawCurrentScreen();
    device->EndScene();
    return plat::OK;
}

plat::HResult GameApp::LoseDeviceResources() {
    plat::Font** fonts[] = {&textFontSmall, &textFontLarge, &textFontMedium};
    for (plat::Font** f : fonts) {
        if (*f) {
            (*f)->Release();
            *f = nullptr;
        }
    }
    return plat::OK;
}

plat::HResult GameApp::FreeDeviceResources() {
    // Every title texture still held (they are already gone once the title has been left).
    ReleaseTitleTextures();
    LoseDeviceResources();
    ReleaseStaticMeshes();
    ReleaseResidentTextures();
    ReleaseLoadedTextureSets();
    ReleaseTerrainCellBuffers();
    return plat::OK;
}

plat::HResult GameApp::Shutdown() {
    // The game is closing: a new best weight waiting in the weigh sling is the landed fish's.
    CommitPendingBestWeight();
    ShutdownInput();
    // The named clips in load order (click and pan first), then the five splash clips.
    for (const ClipEntry& e : SoundClipTable()) {
        delete *e.member;
        *e.member = nullptr;
    }
    delete soundSystem;
    soundSystem = nullptr;
    return plat::OK;
}

intptr_t GameApp::HandleMessage(plat::WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    const plat::Rect windowRect = plat::GameWindowRect();
    clientOriginX = windowRect.left;
    clientOriginY = windowRect.top;
    if (message == plat::MSG_PAINT && loadingMessage != 0) {
        if (plat::Backend* backend = plat::CurrentBackend()) backend->PaintWindowText(LOADING_MESSAGE);
    }
    return AppFrame::HandleMessage(window, message, wParam, lParam);
}

void GameApp::SetPaused(bool pause) {
    ZeroInputRecords();
    AppFrame::SetPaused(pause);
}
