// GameApp: the one game object, and the map of the game (members and methods by defining file).
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include "platform/app_frame.h"
#include "platform/d3d_types.h"
#include "platform/device.h"
#include "platform/input.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "common/texture_ids.h"
#include "gfx/geometry.h"
#include "fishing/fishing_state.h"
#include "fishing/school/bait_attraction.h"
#include "fishing/school/fish.h"
#include "fishing/stock/stock_file.h"
#include "shell/game_mode.h"
#include "shell/input_state.h"
#include "shell/photo_record.h"
#include "screens/records/records_text.h"
#include "world/lake_view.h"
#include "world/world.h"

// Build option: full scenery detail (1 in lakeside, 0 in lakeside-lite). Defined by each program.
extern const bool HIGH_DETAIL_SCENERY;

// shell/game_app.cpp: the material every draw uses, white, lit by the diffuse and ambient light
// alike.
plat::Material StandardMaterial();

class GameApp : public plat::AppFrame {
public:
    //=======================================================================================
    // shell/: the game object, input and the save file

    //-----------------------
    // shell/game_app.cpp: construction, the frame's call points, sound clips and fonts
    GameApp();
    ~GameApp() override;
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
    plat::HResult LoadSounds(plat::WindowHandle window);
    struct ClipEntry {
        plat::SoundClip** member;
        const char* file;
        uint32_t flags;
    };
    static constexpr int SOUND_CLIP_COUNT = 33;
    // The sound clips with their files and creation flags, in load order.
    std::array<ClipEntry, SOUND_CLIP_COUNT> SoundClipTable();
    uint32_t ClearColourForMode(int32_t mode) const;
    void DrawCurrentScreen();
    // A light switched on or off for the screen shown; a device reset (Alt+Enter) switches every
    // light back as the screens last left it.
    void SwitchLight(uint32_t slot, bool on);
    bool lightOn[LIGHT_SLOT_COUNT] = {true, false, false, false};  // the map's light until a lake screen
    // Test access to the device and frame members.
    plat::Device* Device() const { return device; }
    uint32_t BackBufferWidth() const { return backBufferWidth; }

    int32_t loadingMessage = 1;        // 1 until start-up is done: the window paints the loading line
    int32_t gameMode = MODE_TITLE;     // GameModeValue: the screen shown
    uint8_t highDetailScenery = 1;     // HIGH_DETAIL_SCENERY of this program
    int32_t desktopWidth = 0;          // pixels
    double clientWidth = 0;            // the game window's size in pixels
    double clientHeight = 0;
    // The eye, shared by every screen: x and z over the lake grid (0..200), y the height
    // (the map's zoom height), heading and pitch in radians (FULL_TURN is level).
    double eyeX = 100.0;
    double eyeY = 350.0;
    double eyeZ = 92.0;
    double heading = 6.0;
    double pitch = 6.28;
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
    plat::Font* textFontSmall = nullptr;   // font 0: client width / 50 pixels high
    plat::Font* textFontLarge = nullptr;   // font 1: client width / 25
    plat::Font* textFontMedium = nullptr;  // font 2: client width / 35

    //-----------------------
    // shell/input.cpp: the action map, the per-frame poll and the screen-input dispatch
    plat::HResult InitInput(plat::WindowHandle window);
    void PollInput();
    void ShutdownInput();
    void ZeroInputRecords();
    static plat::HResult OnInputDeviceFound(plat::InputActionManager* manager, plat::InputDevice* device,
                                            void* context);
    plat::HResult SetupInputDevice(plat::DeviceEntry& entry);
    void DispatchScreenInput(InputDeviceState& input);
    ScreenPointer ReadScreenPointer();
    void PlayRequestedClick();
    void CentreCursor();
    plat::InputActionManager* inputManager = nullptr;
    plat::ActionFormat actionFormat;
    float verticalAxis = 0.0f;    // merged mouse movement of the devices polled so far this frame
    float horizontalAxis = 0.0f;
    int32_t leftButtonDown = 0;   // shared by every device's pass
    int32_t rightButtonDown = 0;
    int32_t inputLock = 0;        // tenths of a second; 0 = input accepted (counted down by DrawFrame)
    uint32_t inputLockStart = plat::GetTickCount();
    int32_t clientOriginX = 0;    // the game window's corner on the desktop, pixels
    int32_t clientOriginY = 0;
    int32_t cursorX = 0;          // pixels from the game window's corner, less one
    int32_t cursorY = 0;
    uint8_t cursorOverMap = 0;    // the cursor is over the map's grid area
    uint8_t playClickSound = 0;   // a screen asks for the click; played once in the pass

    //-----------------------
    // shell/save_file.cpp: photos/photos.qd, the photos and the best weights
    void ReadSaveFile();
    // False when this game's photos and best weights did not reach the save file.
    bool WriteSaveFile();
    static constexpr int BEST_WEIGHT_COUNT = 75;
    PhotoRecord* photos[PHOTO_SLOT_COUNT] = {};
    // Best weight in pounds per fish in stock order, 0 = never caught (written during play by the
    // fishing screen's weighing).
    float bestWeight[BEST_WEIGHT_COUNT] = {};
    // The save file read at start-up was damaged and no copy of it could be kept.
    bool damagedSaveNotCopied = false;
    // The save file is there but could not be read at start-up: it is never written over.
    bool saveLeftUnread = false;
    // Set by the destructor when the save could not be written (the entry then exits non-zero).
    bool* saveNotWritten = nullptr;

    //=======================================================================================
    // gfx/: drawing, meshes and textures

    //-----------------------
    // gfx/drawing.cpp: transforms, the textured quads, mesh parts and text
    void SetWorldTransform(double x, double y, double z, double pitch, double yaw, double roll,
                           double scaleX, double scaleY, double scaleZ);
    void SetViewCamera(double eyeX_, double eyeY_, double eyeZ_, double targetX, double targetY,
                       double targetZ, double upX, double upY, double upZ);
    // Projection with this vertical field of view, the back buffer's aspect, near 1, far 5000.
    void SetProjectionFov(float fieldOfView);
    void DrawFlatQuad(TextureId textureId);
    void DrawUprightQuad(TextureId textureId);
    void DrawTwoSidedQuad(TextureId textureId);
    // Draws `count` primitives of a mesh from vertex `start` under the current world transform, with
    // the texture of a slot bound directly (also the textures that have no id); a mesh that could
    // not be made is skipped.
    void DrawMeshPart(plat::VertexBuffer* mesh, TextureName texture, plat::PrimitiveType type, uint32_t start,
                      uint32_t count);
    // Text at (x %, y %) of the client size in font 0, 1 or 2.
    void DrawTextAt(double xPercent, double yPercent, uint32_t colour, const char* text, int32_t font);

    //-----------------------
    // gfx/geometry.cpp
    HeadingPitch HeadingAndPitchTo(double x1, double y1, double z1, double x2, double y2, double z2);

    //-----------------------
    // gfx/static_meshes.cpp: the meshes made once per device, and the terrain cells' buffers
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
    plat::VertexBuffer* cellVertexBuffers[TERRAIN_GRID_CELLS] = {};  // built by BuildTerrainMesh

    //-----------------------
    // gfx/texture_bank.cpp: loading and releasing the texture groups, binding by id
    void LoadBaseTextures();
    void LoadTextureSet(int32_t set);  // TEXTURE_SET_MAP or TEXTURE_SET_LAKE
    void SetTextureById(TextureId textureId);
    void ReleaseTitleTextures();
    void ReleaseResidentTextures();
    void ReleaseLoadedTextureSets();
    plat::Texture* textures[TEXTURE_COUNT] = {};  // by TextureName
    uint8_t mapTexturesLoaded = 0;
    uint8_t lakeTexturesLoaded = 0;

    //=======================================================================================
    // world/: the lake: terrain, model, water, wildlife and their sounds

    //-----------------------
    // world/terrain_mesh.cpp
    void BuildTerrainMesh();
    void DrawTerrain(int32_t fillMode);  // TERRAIN_FILL_SOLID or TERRAIN_FILL_WIREFRAME
    TerrainCellTable* terrainCells = nullptr;
    int32_t hoveredCell = TERRAIN_SPARE_CELL;  // the map's cell under the cursor, 0..9,999

    //-----------------------
    // world/backdrop.cpp: ground skirts, tree lines and sky
    void DrawBackdrop();

    //-----------------------
    // world/lake_model_load.cpp
    // Reads models\lake.qd (number 999) and puts it into play. A file that is missing or not a
    // complete, valid model changes nothing: the failure is reported to the player and
    // the game closes once the current frame is done (RequestClose).
    LakeModelResult LoadLakeModel(int32_t modelNumber);
    Billboard* billboards[BILLBOARD_COUNT] = {};
    SceneryItem* sceneryItems[SCENERY_ITEM_COUNT] = {};

    //-----------------------
    // world/scenery_items.cpp
    // Scenery item `index` (platform, plank, snag or lily bed); normalises its heading in place.
    // Items too large for a float transform are not drawn.
    void DrawSceneryItem(int32_t index);
    // The aerator posts with their spray rings, and the hut.
    void DrawAeratorsAndHut();

    //-----------------------
    // world/water.cpp: the three scrolling water layers
    void AnimateAndDrawWater();
    void DrawWaterLayers();
    double waterScroll1 = 0.0;         // texture offsets of the three layers
    double waterScroll2 = 0.0;
    double waterScroll3 = 0.0;
    double waterTileSpan = 30.0;       // world units one water texture tile spans
    uint32_t waterScrollStamp = plat::GetTickCount();
    int32_t waterSurfaceVisible = 1;

    //-----------------------
    // world/lake_world.cpp: the world drawing of the screens that show the lake, in each one's order
    enum LakeWorldOrder : int32_t { LAKE_WORLD_FISHING, LAKE_WORLD_TOUR, LAKE_WORLD_DUCK, LAKE_WORLD_ALBUM };
    void DrawLakeWorld(LakeWorldOrder order);

    //-----------------------
    // world/scenery_pass.cpp
    // Once per lake frame: frees finished splash slots, steps and draws wildlife and water
    // effects (not in the photo album), then draws the scenery items and the billboards with
    // their distance detail.
    void DrawSceneryAndWildlife();

    //-----------------------
    // world/wildlife_spawn.cpp: the wildlife pools (the classes are in world/wildlife.h)
    void SpawnInsectSwarm(float x, float y, float z, int32_t type);
    void SpawnBubbleSpot(float x, float y, float z);
    void SpawnDragonfly(float x, float y, float z);
    Gull* gulls[GULL_COUNT] = {};
    InsectSwarm* insectSwarms[INSECT_SWARM_COUNT] = {};
    BubbleSpot* bubbleSpots[BUBBLE_SPOT_COUNT] = {};
    Dragonfly* dragonflies[DRAGONFLY_COUNT] = {};

    //-----------------------
    // world/water_effects.cpp: the water-surface effect pools
    void SpawnRippleRing(float x, float y, float z, double size);
    void SpawnWake(float x, float y, float z, double size, double heading_);
    void SpawnFeedingBubble(double x, double y, double z, double speed);
    RippleRing* rippleRings[RIPPLE_RING_COUNT] = {};
    Wake* wakes[WAKE_COUNT] = {};
    FeedingBubble* feedingBubbles[FEEDING_BUBBLE_COUNT] = {};

    //-----------------------
    // world/lake_sounds.cpp: splashes on the sound slots and the ambient calls
    // Plays a splash on the first free sound slot (volume in hundredths of a decibel); silent
    // when all five are busy.
    void PlaySplosh(int32_t volume);
    // Once per pass: counts down the busy slots' frames and frees those that are done.
    void FreeFinishedSoundSlots();
    // Once per drawn lake frame: bird and crow calls, the background loop, the alarm hold-off.
    void UpdateAmbientSound();
    SoundSlot* soundSlots[SOUND_SLOT_COUNT] = {};
    int32_t ambientCooldowns[AMBIENT_CALL_COUNT] = {};  // frames until a call may play again
    uint8_t underwater = 0;            // the viewer is below the surface (set by duck mode)
    int32_t alarmRetrigger = 0;        // frames of the alarm sound's hold-off (set by the swim furniture)

    //-----------------------
    // world/lake_view.cpp: the terrain and billboards as the fish and bait items read them
    GameLakeView gameLakeView{*this};
    const LakeView* lakeView = &gameLakeView;  // tests script their own

    //=======================================================================================
    // fishing/stock and fishing/school: the stock, the fish and the bait items

    //-----------------------
    // fishing/stock/initialise_lake.cpp: feed spots, stock and the fish's start points
    void AllocateStockRecords();
    // Once per run, on the map screen's first frame: feed spots, stock, placement and the fish.
    // A stock file or lake that cannot be used is reported and closes the game.
    void InitialiseLake();
    // Reads the stock file, works out weights and start points and spawns the 75 fish; false with
    // `error` set, and nothing changed but the random draws, when that cannot be done.
    bool StockLake(std::string* error);
    uint8_t lakeInitialised = 0;
    StockRecord* stockRecords[FISH_COUNT] = {};
    FishPlacement* fishPlacements[FISH_COUNT] = {};
    SwimRecord* swims[SWIM_COUNT] = {};  // swim n is swims[n - 1]

    //-----------------------
    // fishing/school/fish.cpp
    void SpawnFish(double x, double y, double z, double sizeBase, double weight, double heading_,
                   int32_t kind, double shapeFactor);
    Fish* fish[FISH_COUNT] = {};

    //-----------------------
    // fishing/school/bait_attraction.cpp
    int32_t SpawnBaitAttraction(float x, float y, float z, int32_t type, int32_t method, int32_t lineLb,
                                double weight, int32_t linkLb, int32_t hookSize, int32_t bait);
    BaitAttraction* baitAttractions[BAIT_ITEM_COUNT] = {};

    //=======================================================================================
    // fishing/: the fishing screen, its frame steps by concern (fishing_screen.cpp lists them).
    // Every per-rod array has element 0 for rod 1 (key 1) and element 1 for rod 2 (key 2).

    //-----------------------
    // fishing/fishing_screen.cpp: the fishing frame as its list of steps
    void DrawFishingScreen();

    //-----------------------
    // fishing/fishing_entry.cpp: going fishing from the map
    void EnterFishingScreen();

    //-----------------------
    // fishing/fishing_input.cpp: the state machine, keys and clicks
    void UpdateFishingScreen(InputDeviceState* input);
    void WalkToSwim();
    // The standing point and facing of `currentSwim`; false for no swim (99) or a record that
    // holds no usable numbers.
    bool StandingPoint(double* x, double* z, double* facing) const;
    void PutEyeOnStandingPoint(double x, double z, double facing);
    // The end of a walk to the pod: standing still on the point (x, z), facing the water, with the
    // pod set up at the swim and the aim ahead; `state` follows.
    void ArriveAtStand(int32_t state, double x, double z, double facing);
    void CentreAimAhead();             // aim 10 units ahead along the heading, aimPitch 6.6
    // Re-casts a rod 15 units out at the swim's facing + `angle` without aiming; the splash volume.
    int32_t AutoRecast(int32_t rod, double angle);
    void ReleasePlayedFish();          // back to its start point, calm and not hungry
    void LeaveLakeForMap();
    void HandleStrikeKeys(InputDeviceState* input);
    void WalkBackAfterSnap();
    void WalkBackToStand();
    void ServeStrikeRequests();
    void StepWithArrowKeys(InputDeviceState* input);
    void LookAround(InputDeviceState* input);
    void TurnWithMouse();
    void CastOnClick();
    // A walk of `pace` toward the standing point, turning toward `aim` by `turn` while more than
    // `turnTolerance` off (then taking the aim when `setWhenClose`); true once within `reach` in x
    // and z. Nothing moves without a swim.
    bool WalkTowardStand(double pace, double aim, double turn, double turnTolerance, bool setWhenClose,
                         double pitchAim, double pitchStep, double reach);
    int32_t fishingState = FISHING_ROAMING;  // FishingStateValue
    int32_t stateBeforeCatapult = 0;   // fishingState saved when G or H raises the catapult
    int32_t catapultPhase = 0;         // shot flight countdown in frames; 0 = aiming
    int32_t catapultPull = 0;          // pull countdown in frames; a shot sets 4
    int32_t castFlight[ROD_COUNT] = {};   // cast flight countdown in frames
    uint8_t rodInWater[ROD_COUNT] = {};   // the rod lies on its rest with its rig out
    uint8_t rodKeyLatch[ROD_COUNT] = {};  // strike request of key 1 / key 2
    uint8_t rodStruck[ROD_COUNT] = {};    // a strike was made; resolved by ResolveStrikes
    uint8_t rodHasFish[ROD_COUNT] = {};   // a fish is on and being played
    int32_t rodFish[ROD_COUNT] = {NO_FISH, NO_FISH};  // fish 0..74 on (or taking) the rod
    int32_t rodBaitItem[ROD_COUNT] = {};  // baitAttractions index 0..49 of the rod's hook bait
    double hookBaitPos[ROD_COUNT][2] = {};  // x, z of the rod's hook bait
    double hookBaitHeight[ROD_COUNT] = {};  // world height of the rod's hook bait
    int32_t playedFish = NO_FISH;      // fish 0..74 being played or landed
    uint8_t fishLost = 0;              // a fish came off ("Press R to re-cast.")
    uint8_t lineSnapped = 0;           // the loss was a snapped line
    uint8_t atSwim = 0;                // set by F (walk to a swim), cleared by X
    uint8_t tipsOn = 1;                // hint texts shown
    int32_t tipsToggleDelay = 0;       // frames before T toggles again
    int32_t arrivalCountdown = 0;      // frames after entering the lake before F works
    double aimTargetX = 0.0;           // cast and catapult aim point
    double aimTargetZ = 0.0;
    double aimYaw = 0.0;               // radians
    double aimPitch = 0.0;             // radians around 6.28; the aim distance grows with it

    //-----------------------
    // fishing/angler.cpp: walking the bank, binoculars (frame steps 1-4, 15, 24)
    void FishingFrameStart();
    double groundBeforeStep = 0.0;     // ground under the eye before this frame's step (wading)
    void UpdateWalkingSpeedAndAngles();
    void StepAnglerAndView();
    void SpawnWadingEffects();
    void FindNearbySwimAndWalk();
    void DrawBinocularMask();
    uint8_t moveForward = 0;           // forward request of this frame
    uint8_t moveBack = 0;              // backward request of this frame
    uint8_t onPlatform = 0;            // within 4 units of a platform item
    uint8_t skipPlatformStep = 1;      // the next platform footstep is silent
    int32_t nearbySwim = NO_SWIM;      // swim 1..9 within 15 units
    double viewZoom = 4.0;             // field of view is pi / viewZoom; 4 normal, 10..18 binoculars
    double moveSpeed = 0.0;            // units a frame along the heading (the tour's glide too)
    double savedEyeX = 100.0;          // the angler's place on the bank while the album is open
    double savedEyeZ = 92.0;           //   (also the last footstep position)
    int32_t binocularState = 0;        // 0 = no binoculars; read by the water drawing

    //-----------------------
    // fishing/swim_furniture.cpp: rod pod, alarms, swingers, rods on rests, floats (steps 7, 8)
    void DrawSwimFurniture();
    void DrawRodsOnRestsAndFloats();
    void DrawRodOnRest(double x, double y, double z, double yaw, double spoolTurn_);
    // One upright quad of the pod (alarm head, rest or swinger) `r` from the pod centre at podYaw + a.
    void DrawPodQuad(double r, double a, double y, double yaw, double roll, double sx, double sy, double sz,
                     TextureId textureId);
    void DrawNetInHand();
    double podYaw = 0.0;               // radians; the pod faces the water
    double rodPodX = 0.0;
    double rodPodZ = 0.0;
    double spoolTurn[ROD_COUNT] = {};  // radians, +0.3 per alarm sound
    double biteIndicatorUpper[ROD_COUNT] = {3.7, 3.7};  // swinger rolls, radians
    double biteIndicatorLower[ROD_COUNT] = {3.7, 3.7};

    //-----------------------
    // fishing/casting.cpp and fishing/catapult.cpp (steps 9-14)
    void LandCasts();
    void AimCast();
    void CountDownFlightAndPull();
    void DrawCatapultInHand();
    void AimCatapult();
    void LandCatapultShot();
    double maxRange = 0.0;             // units from the eye the aim may reach with this tackle
    double castPower = 0.0;            // half the x-z distance to the aim point
    uint8_t castTargetInGrid = 0;
    uint8_t targetOverWater = 1;
    uint8_t catapultTargetValid = 0;
    // What the flying catapult shot holds, kept from the moment it was fired (5 groundbait,
    // 6 hook baits) with its bait, so that a state change in flight cannot change the landing.
    int32_t catapultShotState = 0;
    int32_t catapultShotBait = 0;
    // The rod's hook bait put into the water at (x, z): bait item, bait height by rig.
    void PlaceHookBait(int32_t rod, double x, double z);
    void SpawnSplashRings(double x, double z, int32_t n);
    // Aim steps 2 to 5 shared by rod and catapult: the mouse moves the aim, the range holds it,
    // the marker shows it; `inGrid` receives whether the aim point is on the terrain grid.
    void MoveAimAndDrawMarker(uint8_t* inGrid);

    //-----------------------
    // fishing/strike_line.cpp: strikes, the line, snags (steps 16, 18-20)
    void ResolveStrikes();
    void RunSchoolPassAndHeldRod();
    void UpdateLineEndAndReelSounds();
    void DrawLineAndTestSnags();
    // True when a line point there touches the bed, a reed or tree, the hut's footings or an item.
    bool LinePointSnags(double x, double y, double z) const;
    void SnapLine();
    double lineEnd[3] = {};            // x, y, z of the line end at the played fish's mouth
    double lineLength = 0.0;           // half the 3-D rod-tip-to-fish distance
    double lastLineLength = 0.0;       // lineLength when the reel or clutch sound last played
    int32_t lossReason = 0;            // why the played fish came off (1, 2: hook pulls)

    //-----------------------
    // fishing/playing_rod.cpp: the held rod, clutch and tension (step 17)
    void UpdateTensionDialAndViewLock();
    void UpdateAndDrawPlayingRod();
    // The rod from its butt: 12 segments bending by `bend` a segment and lagging toward the fish.
    void DrawHeldRod(double x, double y, double z, double q, double bend, double stiffness);
    uint32_t rodTickStamp = plat::GetTickCount();  // last 101-ms rod tick
    double rodPitch = 0.0;             // raise of the held rod, 0.4..1
    double rodYaw = 0.0;               // sideways angle from heading, -1.3..1.3
    double clutch = 100.0;             // nominally 0..300
    double dragEffective = 0.0;
    double fishBearing = 0.0;          // radians, relative to heading
    double lineTension = 0.0;
    uint8_t surgeDirection = 1;
    double surgeProgress = 0.0;        // +0.0005 a frame
    double surgeTarget = 0.0;          // 0 = no surge
    double rodTipX = 0.0;
    double rodTipY = 0.0;
    double rodTipZ = 0.0;

    //-----------------------
    // fishing/landing.cpp and fishing/photo.cpp: net, mat, weighing, photos (steps 5, 6, 21-23)
    void UpdateHookBaitTakenFlags();
    void UpdateLandingNet();
    void DrawFishingWorldAndGauge();
    void DrawFishOnMat();
    void UpdatePhotoMode();
    // The height of the photo mode's mat centred at (x, z), turned by yaw, half as wide and long
    // as given: 0.02 above the highest ground corner under its middle and its corners (and above
    // the water).
    double MatHeight(double x, double z, double yaw, double halfAcross, double halfAlong) const;
    // The net's water probe 5 units ahead of the angler: the mean corner height of the cell there,
    // or NET_PROBE_DRY when the cell is off the grid or any corner is at or above the surface.
    double NetWaterProbe() const;
    static constexpr double NET_PROBE_DRY = 99.0;
    // netHeight only ever holds these literals or steps toward them; landing tests it for equality.
    static constexpr double LOWERED_NET_HEIGHT = 0.3;
    static constexpr double RAISED_NET_HEIGHT = -0.1;
    // The record of the current swim, or null when currentSwim names none.
    const SwimRecord* CurrentSwimRecord() const;
    // Writes a pending best weight to the fish it was weighed for (and to no other), then clears it.
    void CommitPendingBestWeight();
    // Puts the landed fish back at its start point and the angler back to walking to the rods.
    void ReleaseLandedFish();
    // Fills the first free photo slot with the scene and the posed fish; nothing when all are used.
    void StorePhotoRecord(const Fish& posed);
    int32_t pendingBestFish = NO_FISH;  // the fish pendingBestWeight was weighed for
    float pendingBestWeight = NO_PENDING_WEIGHT;  // pounds; waits for the photo step
    int32_t landingFrames = 0;         // frames the played fish has lain over the lowered net
    double netHead[3] = {0.0, 0.5, 0.0};
    double netYaw = 0.0;
    double netHeight = 0.0;            // 0.3 lowered into the water, -0.1 raised
    double netRefPoint[2] = {};        // x, z, 2 units from the angler
    uint8_t netWasOverWater = 0;
    int32_t photoCountdown = 0;        // 3 on entering photo mode; the shot is taken at -1
    int32_t photoModeStamp = 0;        // tick count when photo mode began
    uint8_t photoShotPending = 0;
    int32_t poseWiggleStamp = 0;       // tick count of the posed fish's last wiggle
    double linePull = 0.0;             // lineTension * 300, 0..300
    int32_t alarmFrames[ROD_COUNT] = {};  // consecutive frames with a bite signal

    //-----------------------
    // fishing/fishing_texts.cpp: hints, status texts, ambient sound (steps 25, 26)
    void DrawFishingTexts();
    void UpdateFishingAmbientSound();

    //-----------------------
    // fishing/school/school_pass.cpp: the fish school each frame, fish bodies
    void UpdateFishSchool();
    void DrawFishBody(int32_t kind);
    void DrawRecordsFishModel(int32_t kind, double shapeFactor, double size);
    // A fish figure (body, fins, mouth, tail) at a place and attitude: the school's fish, the mat.
    void DrawFishFigure(double x, double y, double z, double pitch_, double heading_, double size,
                        double shapeFactor, int32_t kind, double tailSwing);
    // The rod's hook bait item, or null when its index names no item.
    BaitAttraction* RodHookBait(int rod) const;
    enum FishPart : int32_t { FISH_PART_FIN, FISH_PART_MOUTH, FISH_PART_TAIL };
    void DrawFishParts(plat::VertexBuffer* mesh, TextureName texture, bool bindTexture, FishPart part);
    void DrawSchoolFish(const Fish& f);
    void UpdateFishOnLine(int32_t i);
    void SpawnFishSurfaceEffects(Fish& f);
    void SpawnFeedingBubblesOf(Fish& f);
    void ChooseBait(Fish& f);
    void DisturbByItems(Fish& f);
    void TryTake(int32_t i, int rod);
    // A fish put to flight lets go of every take it holds on a rod that is not playing it.
    void LetGoOfUnplayedTakes(int32_t i);
    void MoveBiteIndicator(int rod);
    uint8_t biteSignal[ROD_COUNT] = {};    // a take or untended taken bait signals this frame
    int32_t biteCountdown[ROD_COUNT] = {}; // frames of bite indication left
    double floatDip[ROD_COUNT] = {};       // how far the float is pulled under, 0..0.4
    double recordsModelAngle = 1.0;        // yaw of the catch-records fish model

    //=======================================================================================
    // screens/: every other screen, each with its draw, input, entry and exit

    //-----------------------
    // screens/lake_screen_entry.cpp: the way from the map into a lake screen and back
    // Mode, eye and heading of the lake screen; the lakeside textures, the sun, a click's lock.
    void EnterLakeScreen(int32_t mode, double x, double y, double z, double heading_, double pitch_);
    // Back to the map centred at (100, 92) at its saved zoom height: the map textures, the map light
    // instead of either lake light, this lock.
    void ReturnToMap(int32_t lock);
    double savedMapHeight = 0.0;       // zoom height to return to from fishing, tour, stocking records

    //-----------------------
    // screens/title/title_screen.cpp
    void DrawTitleScreen();
    void UpdateTitleScreen(InputDeviceState* input);
    void ClickTitle(const ScreenPointer& pointer);
    void LeaveTitle();
    int32_t titleState = 0;                         // title animation state 0..13
    int32_t titleTickCounter = 0;                   // 10-ms ticks counted in the current state
    uint32_t titleCounterStamp = plat::GetTickCount();
    double titleSpinAngle = 0.0;                    // yaw of the spinning card, grows without limit
    uint32_t titleSpinStamp = plat::GetTickCount();
    double titleTilePos[3] = {-3.5, -4.3, 6.0};     // the moving picture tile
    double titleTileScale = 1.0;                    // 1 in the row, larger in front
    double titleFlipAngle = 0.0;                    // yaw of the row while it flips over
    int32_t titlePictureSet = 1;                    // 1 or 2

    //-----------------------
    // screens/instructions/instructions_screen.cpp
    void EnterInstructions();
    void DrawInstructionsScreen();
    void UpdateInstructionsScreen(InputDeviceState* input);
    void ClickInstructions(InputDeviceState& input, const ScreenPointer& pointer);
    void TurnInstructionsPage(InputDeviceState& input);
    int32_t instructionsPage = 1;                   // 1..3, 3 = credits

    //-----------------------
    // screens/map/map_screen.cpp: the overhead map with its tackle panel, and the orbit view
    void DrawMapScreen();
    uint8_t orbitView = 0;             // the orbiting wireframe view instead of the overhead map
    double orbitAngle = 3.142;         // the orbiting eye's angle round the lake centre, 0..FULL_TURN
    double orbitHeight = 50.0;         // 5..500
    double orbitZoom = 4.0;            // field of view pi / orbitZoom, 4..20
    double orbitEyeX = 0.0;            // where the orbiting eye stands, lake units
    double orbitEyeZ = 0.0;
    int32_t mapCursorColumn = 0;       // terrain column and row under the mouse (1..100 on the grid)
    int32_t mapCursorRow = 0;
    double swimMarkerPulse = 0.0;      // pulse of the current swim's sign, 0..12
    uint8_t swimMarkerRising = 1;
    double dragBase = 0.0;             // where the held rod's drag starts

    //-----------------------
    // screens/map/map_input.cpp: the map's keys and buttons and the tackle selection
    void UpdateMapScreen(InputDeviceState* input, int32_t screenX, int32_t screenY);
    int32_t rodReel = 2;               // 1..4: 1.5, 2, 2.5, 3 lb test curve
    int32_t method = 1;                // 1..7: semi fixed lead, running ledger, chod rig, swim feeder,
                                       //       waggler, surface controller, free line
    int32_t mainlineLb = 10;           // 10..16
    int32_t leadOz = 2;                // 1..4
    int32_t hooklengthLb = 10;         // 10..16
    int32_t hookSize = 8;              // 10, 8, 6, 4
    int32_t wagglerShot = 3;           // 1..4: 1 x BB, 2 x BB, 2 x AAA, 4 x AAA
    int32_t floatDepth = 3;            // 1..4: shallow, medium, deep, over depth
    double controllerOz = 1.0;         // 0.5, 1.0, 1.5, 2.0
    int32_t hookBait = 1;              // 1..6, 8..13 (7 is no bait)
    int32_t groundbait = 1;            // 1..3
    int32_t currentSwim = 1;           // 1..9
    double orbitTurnSpeed = 0.005;     // orbit steps, rising while an arrow is held
    double orbitClimbSpeed = 1.0;
    int32_t orbitHoldFrames = 0;       // calls left before the orbit steps fall back
    uint8_t playPanSound = 0;

    //-----------------------
    // screens/records/stocking_records_screen.cpp
    void EnterStockingRecords();
    void DrawStockingRecordsScreen();
    void ClickStockingRecords(const ScreenPointer& pointer);
    int32_t stockingPage = 1;          // 1..STOCKING_PAGE_COUNT

    //-----------------------
    // screens/records/catch_records_screen.cpp
    void EnterCatchRecords();
    void DrawCatchRecordsScreen();
    void StepRecordsPulse();
    UnnamedBests BiggestUnnamedCatches() const;
    void HoverCatchRecordsRow(const ScreenPointer& pointer);
    void UpdateCatchRecordsKeys(const InputDeviceState& input);
    void ClickCatchRecords(const ScreenPointer& pointer);
    void LeaveCatchRecords();
    int32_t recordsSelection = 0;      // the row under the cursor, 0..26
    int32_t recordsPulse = 0;          // 0..255, level of the pulsing colour
    uint8_t recordsPulseRising = 1;

    //-----------------------
    // screens/album/photo_album_screen.cpp
    void EnterPhotoAlbum();
    void DrawPhotoAlbumScreen();
    int32_t PhotosInUse() const;
    void DrawAlbumFish(const PhotoRecord& photo, const SwimRecord& swim);
    void DrawAlbumMat(double x, double z, double yaw);
    void DrawAlbumRodPod(const PhotoRecord& photo, const SwimRecord& swim);
    void UpdatePhotoAlbumScreen(const InputDeviceState& input);
    void LeavePhotoAlbum();
    void ReturnFromPhotoAlbum(int32_t lock, double pitch_);
    void DeleteShownPhoto();
    int32_t currentPhoto = 0;          // the photo shown, 0..49
    int32_t albumFrameCount = 0;       // frames the current photo has been shown, up to 50
    uint32_t photoDeleteStamp = plat::GetTickCount();  // tick count of the last deletion
    double savedEyeY = 0.0;            // the eye at the lake while the album is open
    double savedHeading = 0.0;
    double savedPitch = 0.0;

    //-----------------------
    // screens/tour/tour_screen.cpp
    void EnterTour();
    void DrawTourScreen();
    void UpdateTourScreen(InputDeviceState& input);
    void FadeTourLight();
    void SteerTour();
    void DrawTourCaptions();
    // A sheet of water hung in front of the eye, seen from under the surface (tour and duck mode).
    void DrawUnderwaterSheet();
    static constexpr int TOUR_WAYPOINT_SLOTS = 20;
    static constexpr int TOUR_WAYPOINT_COUNT = 8;
    // The closed path: along the banks at head height, under the surface across the middle.
    double tourWaypointX[TOUR_WAYPOINT_SLOTS] = {80, 115, 160, 140, 100, 130, 90, 40};
    double tourWaypointY[TOUR_WAYPOINT_SLOTS] = {3, 3, 3, -0.2, -0.2, -0.2, -0.2, 3};
    double tourWaypointZ[TOUR_WAYPOINT_SLOTS] = {40, 100, 165, 170, 110, 70, 25, 20};
    int32_t tourWaypoint = 0;          // 0..7, the waypoint flown to
    int32_t tourTicks = 0;             // 20-ms ticks since the tour began (drives the captions)
    float tourFade = -0.5f;            // light fade level: -0.5 at the start, 999 once it is over
    uint32_t tourTickStamp = plat::GetTickCount();  // last 20-ms tick
    uint8_t tourTick = 1;              // a 20-ms tick happened in this frame

    //-----------------------
    // screens/duck/duck_mode_screen.cpp
    void EnterDuckMode();
    void DrawDuckModeScreen();
    void UpdateDuckModeScreen(InputDeviceState* input);
    void StepDuck();
    void KeepDuckOffTheBanks();
    void SetDuckHeightAndRoll(float ground, bool duckStep);
    void SetDuckCamera();
    uint8_t flyMode = 0;               // free vertical movement at the lake, toggled with F
    uint32_t duckTickStamp = plat::GetTickCount();  // last 100-ms duck step
    uint8_t duckOnLand = 1;            // the duck stood on land (ground 0 or higher) last frame
    double viewRoll = 0.0;             // side-to-side tilt of the view while waddling, -0.05..0.05
    uint8_t duckRollDirection = 1;     // 1: the tilt moves toward -0.05, 0: toward +0.05
};
