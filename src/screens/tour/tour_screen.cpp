// The lake tour: entry from the map, the flight along the waypoints with its fading-in light and
// captions, the water sheet under the surface, and X back to the map.
#include <algorithm>
#include <cmath>
#include "common/angles.h"
#include "common/single_precision.h"
#include "common/step_gate.h"
#include "platform/d3dx.h"
#include "platform/system.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t TOUR_TICK_MS = 20;
// The fade ends once the level reaches this; the level then holds this mark.
constexpr float FADE_DONE_FROM = 0.82f;
constexpr float FADE_DONE = 999.0f;
constexpr uint32_t CAPTION_COLOUR = 0xFFFAFAFA;

// The tour's sun: a directional light from the south-west, diffuse and ambient as given.
plat::Light TourLight(float diffuse, float ambient) {
    plat::Light light{};
    light.type = plat::LIGHT_DIRECTIONAL;
    const plat::Vector3 towards{0.8f, -0.3f, 0.4f};
    plat::Vec3Normalize(&light.direction, &towards);
    light.position = light.direction;
    light.range = 1000.0f;
    light.diffuse = {diffuse, diffuse, diffuse, 0.0f};
    light.ambient = {ambient, ambient, ambient, 0.0f};
    return light;
}

struct Caption {
    int32_t fromTick, toTick;  // shown while tourTicks is in fromTick..toTick
    double x1, y1;
    const char* line1;
    double x2, y2;
    const char* line2;          // null: one line
};

// The captions that introduce the venue ("\x85" is the ellipsis).
const Caption CAPTIONS[] = {
    {0, 49, 11, 20, "Welcome to Wendlow Lake at Harrowmere Fisheries\x85", 0, 0, nullptr},
    {50, 99, 25, 20, "A 4 acre lake stocked with close", 27, 25, "to 100 very big English carp\x85"},
    {100, 149, 25, 20, "The largest fish is close to 40lb", 22, 25, "whilst the average size is over 26lb\x85"},
    {150, 199, 7, 20, "The fishing on Wendlow is exclusively for members only\x85", 0, 0, nullptr},
    {200, 269, 17, 20, "Members can also night fish the Old Lake", 21, 25, "which is an out and out runs water\x85"},
    {270, 369, 12, 20, "Membership details are available by emailing", 25, 25,
     "membership@harrowmerefisheries.example\x85"},
};
constexpr int32_t EXIT_PROMPT_AFTER = 400;

// One step of 0.01 toward `goal`: down when above it, then up when below it.
double PitchToward(double pitch, double goal) {
    if (pitch > goal) pitch = F32(pitch - 0.01);
    if (pitch < goal) pitch = F32(pitch + 0.01);
    return pitch;
}

}  // namespace

void GameApp::EnterTour() {
    playClickSound = 1;
    tourWaypoint = 0;
    tourFade = -0.5f;
    tourTicks = 0;
    savedMapHeight = eyeY;
    moveSpeed = 0.7;
    EnterLakeScreen(MODE_TOUR, 60, 2, 0, 0.3, 6.6);
}

// Light fade: the sun goes off on the first tick; from the sixth the tour's own light comes up
// by 0.025 a tick until the final light holds.
void GameApp::FadeTourLight() {
    float level = tourFade;
    if (level < 0.0f && tourTick) {
        level += 0.1f;
        SwitchLight(LIGHT_LAKESIDE, false);
    }
    if (level > 0.0f && level < FADE_DONE_FROM) {
        SwitchLight(LIGHT_LAKESIDE, false);
        const plat::Light light = TourLight(level, level - 0.2f);
        device->SetLight(LIGHT_TOUR, &light);
        SwitchLight(LIGHT_TOUR, true);
        if (tourTick) level += 0.025f;
    } else if (level >= FADE_DONE_FROM) {
        SwitchLight(LIGHT_LAKESIDE, false);
        level = FADE_DONE;
        const plat::Light light = TourLight(0.85f, 0.65f);
        device->SetLight(LIGHT_TOUR, &light);
        SwitchLight(LIGHT_TOUR, true);
    }
    tourFade = level;
}

// Pitch and height toward the waypoint's, the heading turned the shorter way toward it, and the
// glide forward on a tick.
void GameApp::SteerTour() {
    const int32_t w = tourWaypoint;
    if (w == 0 || w == 2) pitch = PitchToward(pitch, 6.7);
    if (w == 1) pitch = PitchToward(pitch, 6.3);
    if (w == 3 || w == 4 || w == 5 || w == 7) pitch = PitchToward(pitch, 6.4);
    if (w == 7) pitch = PitchToward(pitch, 6.7);

    const double climb = w == 2 ? 0.03 : w == 3 ? 0.2 : 0.1;
    if (eyeY < tourWaypointY[w]) eyeY = F32(eyeY + climb);
    if (eyeY > tourWaypointY[w]) eyeY = F32(eyeY - climb);

    const double aim = HeadingAndPitchTo(eyeX, eyeY, eyeZ, tourWaypointX[w], tourWaypointY[w], tourWaypointZ[w]).heading;
    const TurnStepCounts steps = CountTurnSteps(heading, aim, 0.01, F32(moveSpeed / 30.0));
    if (tourTick) {
        if (steps.up > steps.down) heading = F32(heading - std::min(steps.down / 1000.0, 0.05));
        if (steps.down > steps.up) heading = F32(heading + std::min(steps.up / 1000.0, 0.05));
    }
    heading = WrapHeading(heading);

    if (tourTick) {
        const double reach = F32(std::cos(F32(1.570796325 - F32(pitch - 4.712388975))) * moveSpeed);
        eyeX = F32(eyeX + std::sin(heading) * reach);
        eyeZ = F32(eyeZ + std::cos(heading) * reach);
    }
}

void GameApp::DrawUnderwaterSheet() {
    const double x = F32(eyeX + std::sin(heading) * 1.5);
    const double z = F32(eyeZ + std::cos(heading) * 1.5);
    device->SetRenderState(plat::RS_ALPHAREF, 0);
    const double yaw = HeadingAndPitchTo(eyeX, eyeY, eyeZ, x, 2.0, z).heading;
    SetWorldTransform(x, 2.0, z, 0.0, yaw, 3.142, 15.0, 15.0, 15.0);
    device->SetFVF(plat::FVF_MESH);
    device->SetTexture(0, textures[TEX_WATER3]);  // a texture without an id: bound by its slot
    if (billboardMesh) {
        device->SetStreamSource(0, billboardMesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
    }
    device->SetRenderState(plat::RS_ALPHAREF, 254);
    device->SetTexture(0, nullptr);
}

void GameApp::DrawTourCaptions() {
    for (const Caption& c : CAPTIONS) {
        if (tourTicks < c.fromTick || tourTicks > c.toTick) continue;
        DrawTextAt(c.x1, c.y1, CAPTION_COLOUR, c.line1, 2);
        if (c.line2) DrawTextAt(c.x2, c.y2, CAPTION_COLOUR, c.line2, 2);
    }
    if (tourTicks > EXIT_PROMPT_AFTER) DrawTextAt(29, 20, CAPTION_COLOUR, "Press 'X' to end the tour.", 2);
    DrawTextAt(2, 3, CAPTION_COLOUR, "Press X to exit.", 1);
}

// The tour's whole frame: it flies itself, so its input is only X (UpdateTourScreen).
void GameApp::DrawTourScreen() {
    tourTick = StepDue(tourTickStamp, TOUR_TICK_MS) ? 1 : 0;
    plat::SetCursorVisible(false);
    waterSurfaceVisible = 1;
    if (tourTick) ++tourTicks;
    FadeTourLight();
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);
    SteerTour();

    const double a = F32(pitch - 4.712388975);
    const double reach = F32(std::cos(F32(1.570796325 - a)));
    SetViewCamera(eyeX, eyeY, eyeZ, eyeX + std::sin(heading) * reach, eyeY + std::cos(a),
                  eyeZ + std::cos(heading) * reach, 0, 1, 0);

    const int32_t w = tourWaypoint;
    if (tourTick && std::fabs(eyeX - tourWaypointX[w]) < 10 && std::fabs(eyeZ - tourWaypointZ[w]) < 10) ++tourWaypoint;

    DrawLakeWorld(LAKE_WORLD_TOUR);
    if (eyeY < 0.1) DrawUnderwaterSheet();

    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);
    DrawTourCaptions();

    if (tourWaypoint > TOUR_WAYPOINT_COUNT - 1) tourWaypoint = 0;
    UpdateAmbientSound();
}

void GameApp::UpdateTourScreen(InputDeviceState& input) {
    if (input.keyX != 0) ReturnToMap(9);
}
