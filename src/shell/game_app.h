// GameApp: the one game object. Holds the whole game state as members; its methods are spread
// over the files of their areas (shell, gfx, world, fishing, screens).
#pragma once
#include <cstdint>
#include "platform/app_frame.h"
#include "platform/d3d_types.h"
#include "platform/device.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "gfx/geometry.h"
#include "gfx/texture_ids.h"
#include "fishing/bait_attraction.h"
#include "fishing/fish.h"
#include "fishing/lake_view.h"
#include "screens/stock_file.h"
#include "shell/game_mode.h"

// Build option: full scenery detail (1 in lakeside, 0 in lakeside-lite). Defined by each program.
extern const bool kHighDetailScenery;


class GameApp : public plat::AppFrame {
public:
    GameApp();
    ~GameApp() override;

    // ---- frame overrides ----
    plat::HResult CheckDevice(uint32_t behaviour) override;
    plat::HResult InitOnce() override;
    plat::HResult CreateDeviceResources() override;
    plat::HResult ResetDeviceResources() override;
    plat::HResult StepFrame() override;
    plat::HResult DrawFrame() override;
    plat::HResult LoseDeviceResources() override;
    plat::HResult FreeDeviceResources() override;
    plat::HResult Shutdown() override;
    intptr_t HandleMessage(plat::WindowHandle window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam) override;
    void SetPaused(bool pause) override;

    // ---- application object ----
    plat::HResult LoadSounds(plat::WindowHandle window);
    uint32_t ClearColourForMode(int32_t mode) const;
    void DrawCurrentScreen();

    // ---- drawing layer ----
    void SetWorldTransform(double x, double y, double z, double pitch, double yaw, double roll,
                           double scaleX, double scaleY, double scaleZ);
    void SetViewCamera(double eyeX_, double eyeY_, double eyeZ_, double targetX, double targetY,
                       double targetZ, double upX, double upY, double upZ);
    void DrawFlatQuad(int32_t textureId);
    void DrawUprightQuad(int32_t textureId);
    void DrawTwoSidedQuad(int32_t textureId);
    void DrawTextAt(double xPercent, double yPercent, uint32_t colour, const char* text, int32_t font);
    HeadingPitch HeadingAndPitchTo(double x1, double y1, double z1, double x2, double y2, double z2);

    // ---- draw functions of the game modes ----
    void DrawTitleScreen();
    void DrawMapScreen();
    void DrawFishingScreen();
    void DrawPhotoAlbumScreen();
    void DrawTourScreen();
    void DrawDuckModeScreen();
    void DrawCatchRecordsScreen();
    void DrawInstructionsScreen();
    void DrawStockingRecordsScreen();

    // Test access to the device and frame members.
    plat::Device* Device() const { return device; }
    uint32_t BackBufferWidth() const { return backBufferWidth; }

    // ================= members =================

    // ---- application object and lifecycle ----
    int32_t loadingMessage = 1;
    int32_t gameMode = MODE_TITLE;
    uint8_t highDetailScenery = 1;
    int32_t desktopWidth = 0;
    double clientWidth = 0;
    double clientHeight = 0;
    plat::SoundSystem* soundSystem = nullptr;
    plat::SoundClip* clickSound = nullptr;
    plat::SoundClip* panSound = nullptr;
    plat::SoundClip* splashSound = nullptr;
    plat::SoundClip* shutterSound = nullptr;
    plat::SoundClip* birdSounds[5] = {};
    plat::SoundClip* ambienceSound = nullptr;
    plat::SoundClip* ambienceSound2 = nullptr;
    plat::SoundClip* crowSound = nullptr;
    plat::SoundClip* reelSound = nullptr;
    plat::SoundClip* clutchSound = nullptr;
    plat::SoundClip* lineSound = nullptr;
    plat::SoundClip* snapSound = nullptr;
    plat::SoundClip* rodSound = nullptr;
    plat::SoundClip* alarmSound = nullptr;
    plat::SoundClip* cattySound = nullptr;
    plat::SoundClip* spraySound = nullptr;
    plat::SoundClip* elasticSound = nullptr;
    plat::SoundClip* footstepLandSound = nullptr;
    plat::SoundClip* footstepLandSound2 = nullptr;
    plat::SoundClip* footstepPlatformSound = nullptr;
    plat::SoundClip* quackSound = nullptr;
    plat::SoundClip* footstepWaterSound = nullptr;
    plat::SoundClip* footstepWaterSound2 = nullptr;
    plat::SoundClip* duckFootSound = nullptr;
    plat::SoundClip* sploshSounds[5] = {};
    plat::Font* textFontSmall = nullptr;
    plat::Font* textFontLarge = nullptr;
    plat::Font* textFontMedium = nullptr;

    // ---- camera ----
    double eyeX = 100.0;
    double eyeY = 350.0;
    double eyeZ = 92.0;
    double heading = 6.0;
    double pitch = 6.28;

    // ---- save file and photo records ----
    void ReadSaveFile();
    void WriteSaveFile();
    // (members: save file)

    // ---- input and screen-input dispatch ----
    plat::HResult InitInput(plat::WindowHandle window);
    void PollInput();
    void ShutdownInput();
    void ZeroInputRecords();
    // (members: input)

    // ---- static meshes ----
    void CreateStaticMeshes();
    void ReleaseStaticMeshes();
    void ReleaseTerrainCellBuffers();
    plat::VertexBuffer* groundStripMesh = nullptr;
    plat::VertexBuffer* reelMesh = nullptr;
    plat::VertexBuffer* reelBoxMesh = nullptr;
    plat::VertexBuffer* decalQuadUpMesh = nullptr;
    plat::VertexBuffer* decalQuadDownMesh = nullptr;
    plat::VertexBuffer* billboardMesh = nullptr;
    plat::VertexBuffer* twoSidedBoardMesh = nullptr;
    plat::VertexBuffer* waterSurfaceMesh = nullptr;
    plat::VertexBuffer* waterSkyReflectionMesh = nullptr;
    plat::VertexBuffer* waterUnderLayerMesh = nullptr;
    plat::VertexBuffer* skyPlaneMesh = nullptr;
    plat::VertexBuffer* skirtNorthSouthMesh = nullptr;
    plat::VertexBuffer* skirtWestEastMesh = nullptr;
    plat::VertexBuffer* cubeMesh = nullptr;
    plat::VertexBuffer* taperedColumnMesh = nullptr;
    plat::VertexBuffer* aeratorPostMesh = nullptr;
    plat::VertexBuffer* rodSectionMesh = nullptr;
    plat::VertexBuffer* uprightQuadMesh = nullptr;
    plat::VertexBuffer* fishBodyMesh = nullptr;
    plat::VertexBuffer* fishTailMesh = nullptr;
    plat::VertexBuffer* fishMouthMesh = nullptr;
    plat::VertexBuffer* fishLeftFinMesh = nullptr;
    plat::VertexBuffer* fishRightFinMesh = nullptr;
    static constexpr int TERRAIN_CELL_COUNT = 10000;
    plat::VertexBuffer* cellVertexBuffers[TERRAIN_CELL_COUNT] = {};
    // (members: meshes)

    // ---- texture bank ----
    void LoadBaseTextures();
    void LoadTextureSet(int32_t set);
    void SetTextureById(int32_t textureId);
    void ReleaseTitleTextures();
    void ReleaseResidentTextures();
    void ReleaseLoadedTextureSets();
    plat::Texture* textures[TEXTURE_COUNT] = {};
    uint8_t mapTexturesLoaded = 0;
    uint8_t lakeTexturesLoaded = 0;
    // (members: textures)

    // ---- terrain grid, lake model, water and sky ----
    // (members: world)

    // ---- fish, bait attraction, stock and placement ----
    void SpawnFish(double x, double y, double z, double sizeBase, double weight, double heading_,
                   int32_t kind, double shapeFactor);
    int32_t SpawnBaitAttraction(float x, float y, float z, int32_t type, int32_t method, int32_t lineLb,
                                double weight, int32_t linkLb, int32_t hookSize, int32_t bait);
    void AllocateStockRecords();
    // Once per run, on the map screen's first frame: feed spots, stock, placement and the fish.
    // A stock file or lake that cannot be used is reported and closes the game.
    void InitialiseLake();
    // Reads the stock file, works out weights and start points and spawns the 75 fish; false with
    // `error` set, and nothing changed but the random draws, when that cannot be done.
    bool StockLake(std::string* error);
    Fish* fish[FISH_COUNT] = {};
    BaitAttraction* baitAttractions[BAIT_ITEM_COUNT] = {};
    uint8_t lakeInitialised = 0;
    StockRecord* stockRecords[FISH_COUNT] = {};
    FishPlacement* fishPlacements[FISH_COUNT] = {};
    SwimRecord* swims[SWIM_COUNT] = {};
    // The terrain and billboards as the fish and bait items read them (tests script their own).
    GameLakeView gameLakeView{*this};
    const LakeView* lakeView = &gameLakeView;
    // (members: fish)

    // ---- title, instructions, map and tackle ----
    // (members: screens)
};
