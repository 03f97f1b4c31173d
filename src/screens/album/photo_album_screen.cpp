// The photo album: each stored photo staged again (its swim, the rods as they stood, the fish on
// the mat, the camera), the click to the next photo, D deleting the shown photo, P back to the lake.
#include <cmath>
#include <cstdio>
#include "common/single_precision.h"
#include "common/step_gate.h"
#include "fishing/weight.h"
#include "screens/records/records_text.h"
#include "screens/album/photo_album.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t WHITE = 0xFFFAFAFAu;
constexpr uint32_t CAPTION_COLOUR = 0xFFFA3232u;
constexpr int32_t NEXT_PHOTO_LOCK = 3;   // tenths of a second
constexpr int32_t LEAVE_LOCK = 10;
constexpr int32_t LAST_PHOTO_LOCK = 3;
constexpr double LEVEL_PITCH = 6.4;       // the eye's pitch back at the lake after the last photo
constexpr uint32_t DELETE_STEP_MS = 500;
// A photo shows the caption alone for this many frames less one, then its scene.
constexpr int32_t STAGING_FRAME = 50;
constexpr double THREE_QUARTER_TURN = 4.712388975;
constexpr double QUARTER_TURN = 1.570796325;
// Drawing divisor for a fish shape that cannot divide (0 or less).
constexpr double EVEN_SHAPE = 30.0;

// One rest or swinger pair around the rod pod: r units out along facing + b.
struct PodItem {
    double r, b;
};
constexpr PodItem ROD1_FRONT = {0.6, 5.45};
constexpr PodItem ROD2_FRONT = {0.6, 0.7};
constexpr PodItem FIRST_REAR = {3.0, 3.0};
constexpr PodItem SECOND_REAR = {3.0, 3.284};


}  // namespace

const char* PhotoFishCaption(const StockRecord* const* stock, int32_t kind) {
    if (kind >= 1 && kind <= NAMED_FISH_COUNT) return stock[kind - 1]->name;
    if (kind == 28) return "Unnamed Common";
    if (kind >= 29 && kind <= 31) return "Unnamed Mirror";
    if (kind == 32) return "Unknown Mirror!";
    return "";  // a kind no photo can hold: no name
}

// Opened with P at the lake: the first photo, and the eye kept for the way back.
void GameApp::EnterPhotoAlbum() {
    gameMode = MODE_PHOTO_ALBUM;
    inputLock = LEAVE_LOCK;
    currentPhoto = 0;
    albumFrameCount = 0;
    savedEyeX = eyeX;
    savedEyeZ = eyeZ;
    savedEyeY = eyeY;
    savedHeading = heading;
    savedPitch = pitch;
}

int32_t GameApp::PhotosInUse() const {
    int32_t inUse = 0;
    for (const PhotoRecord* photo : photos)
        if (photo->inUse) ++inUse;
    return inUse;
}

void GameApp::DrawPhotoAlbumScreen() {
    if (albumFrameCount < STAGING_FRAME) ++albumFrameCount;
    device->SetRenderState(plat::RS_ALPHABLENDENABLE, 1);
    device->SetRenderState(plat::RS_ALPHATESTENABLE, 1);

    if (leftButtonDown == 1 && inputLock == 0) {
        currentPhoto += 1;
        inputLock = NEXT_PHOTO_LOCK;
        albumFrameCount = 0;
    }
    if (currentPhoto < 0 || PhotosInUse() <= currentPhoto) {
        ReturnFromPhotoAlbum(LAST_PHOTO_LOCK, LEVEL_PITCH);  // no photo left to show: looking level
        return;
    }

    const PhotoRecord& photo = *photos[currentPhoto];
    waterScroll1 = photo.waterScroll[0];
    waterScroll2 = photo.waterScroll[1];
    waterScroll3 = photo.waterScroll[2];
    eyeX = photo.eyeX;
    eyeY = photo.eyeY;
    eyeZ = photo.eyeZ;
    heading = photo.heading;
    pitch = photo.pitch;
    const double tilt = F32(pitch - THREE_QUARTER_TURN);
    const double a = F32(QUARTER_TURN - tilt);
    const double lookX = F32(F32(std::sin(heading)) * F32(std::cos(a)));
    const double lookY = F32(std::cos(tilt));
    const double lookZ = F32(F32(std::cos(heading)) * F32(std::cos(a)));

    if (albumFrameCount == STAGING_FRAME) {
        DrawLakeWorld(LAKE_WORLD_ALBUM);
        // The fish, the mat and the pod stand at the photo's swim; a swim no photo can hold
        // leaves them out, and the photo shows its lake and its texts.
        if (photo.swim >= 1 && photo.swim <= SWIM_COUNT) {
            const SwimRecord& swim = *swims[photo.swim - 1];
            DrawAlbumFish(photo, swim);
            DrawAlbumRodPod(photo, swim);
        }
        device->SetRenderState(plat::RS_ALPHABLENDENABLE, 0);
        device->SetRenderState(plat::RS_ALPHATESTENABLE, 0);
        DrawTextAt(58, 2, WHITE, CatchWeightText(photo.fishWeight).c_str(), 2);
        DrawTextAt(58, 8, WHITE, PhotoFishCaption(stockRecords, photo.fishKind), 2);
        char number[32];
        std::snprintf(number, sizeof number, "%s%d", "photo number ", currentPhoto + 1);
        DrawTextAt(2, 12, WHITE, number, 1);
        DrawTextAt(2, 3, WHITE, "Click the left mouse button to view the next photo.", 1);
        DrawTextAt(2, 6, WHITE, "Press P to stop looking at photos.", 1);
        DrawTextAt(2, 9, WHITE, "Press D to delete this photo.", 1);
    }

    DrawTextAt(35, 5, CAPTION_COLOUR, "Photo album", 2);
    // The view so set serves the next frame's drawing.
    SetViewCamera(eyeX, eyeY, eyeZ, F32(eyeX + lookX), F32(eyeY + lookY), F32(eyeZ + lookZ), 0, 1, 0);
}

// The photographed fish lying on the unhooking mat beside the swim.
void GameApp::DrawAlbumFish(const PhotoRecord& photo, const SwimRecord& swim) {
    const double f = swim.facing;
    const double yaw = F32(f - 1.571);
    const double s = photo.fishSize;
    const double k = photo.fishShape > 0 ? static_cast<double>(photo.fishShape) : EVEN_SHAPE;
    const double x = F32(swim.x + F32(F32(std::sin(f + 4.8)) * 1.8));
    const double z = F32(swim.z + F32(F32(std::cos(f + 4.8)) * 1.8));
    const double y = F32(s / 40.0);
    const double across = F32(s / k);
    const double along = F32(s / 30.0);
    const double side = F32(std::cos(QUARTER_TURN - F32(6.3 - THREE_QUARTER_TURN)));
    const double d = F32(F32(side * s) / 60.0);
    const double t = F32(F32(side * s) / 22.3);
    const double finY = F32(y - F32(F32(30.0 / k) / 15.0));
    const double tailY = F32(F32(y + F32(15.0 / F32(F32(30.0 / s) * 200.0))) +
                             F32(F32(std::cos(6.3 - THREE_QUARTER_TURN)) * across));
    // A size and shape whose measures are past single precision leave the mat empty.
    for (double measure : {y, across, along, d, t, finY, tailY}) {
        if (!std::isfinite(measure)) {
            DrawAlbumMat(x, z, yaw);
            return;
        }
    }

    SetWorldTransform(x, y, z, 6.2, yaw, 0, across, across, along);
    DrawFishBody(photo.fishKind);

    const double left = F32(f + 6.15 - 1.571);
    SetWorldTransform(F32(x + F32(d * F32(std::sin(left)))), finY, F32(z + F32(d * F32(std::cos(left)))), 6.3, yaw,
                      0.4, along, along, along);
    DrawFishParts(fishLeftFinMesh, TEX_PEC1, true, FISH_PART_FIN);
    const double right = F32(f + 0.179 - 1.571);
    SetWorldTransform(F32(x + F32(d * F32(std::sin(right)))), finY, F32(z + F32(d * F32(std::cos(right)))), 0, yaw,
                      -0.4, along, along, along);
    DrawFishParts(fishRightFinMesh, TEX_PEC1, true, FISH_PART_FIN);

    SetWorldTransform(x, y, z, 6.2, yaw, 0, along, across, along);
    DrawFishParts(fishMouthMesh, TEX_MOUTH, true, FISH_PART_MOUTH);

    const double back = F32(f - 1.571);
    SetWorldTransform(F32(x - F32(t * F32(std::sin(back)))), tailY, F32(z - F32(t * F32(std::cos(back)))), 6.2, yaw, 0,
                      along, across, along);
    DrawFishParts(fishTailMesh, TEX_TAIL, true, FISH_PART_TAIL);
    DrawAlbumMat(x, z, yaw);
}

// The unhooking mat the photographed fish lies on.
void GameApp::DrawAlbumMat(double x, double z, double yaw) {
    SetWorldTransform(x, 0.2, z, 6.2, yaw, 0, 1.3, 1.3, 1.3);
    DrawFlatQuad(TextureIdOf(TEX_MAT));
}

// The rod pod as the photo found it: front rests (alarms with swingers, or plain rests for a float
// rig), the two rear rests, and the rods that stood on them.
void GameApp::DrawAlbumRodPod(const PhotoRecord& photo, const SwimRecord& swim) {
    const double f = swim.facing;
    rodPodX = swim.x;
    rodPodZ = swim.z;
    const auto place = [&](const PodItem& item, double height, double yaw, double roll, double sx, double sy,
                           double sz) {
        SetWorldTransform(F32(rodPodX + F32(item.r * F32(std::sin(f + item.b)))), height,
                          F32(rodPodZ + F32(item.r * F32(std::cos(f + item.b)))), 0, yaw, roll, sx, sy, sz);
    };
    const TextureId frontFace = TextureIdOf(photo.alarmRig ? TEX_ALARM : TEX_REST);
    const TextureId frontBack = TextureIdOf(photo.alarmRig ? TEX_ALARM2 : TEX_REST);
    const PodItem fronts[ROD_COUNT] = {ROD1_FRONT, ROD2_FRONT};
    const uint8_t shown[ROD_COUNT] = {photo.rod1Shown, photo.rod2Shown};
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        place(fronts[rod], 0, f, 0, 0.7, 0.68, 0.7);
        DrawUprightQuad(frontFace);
        place(fronts[rod], 0, F32(f + 3.142), 0, 0.7, 0.68, 0.7);
        DrawUprightQuad(frontBack);
        if (!photo.alarmRig) continue;
        // A rod that was out hangs its swinger lower.
        const double upper = shown[rod] ? 4.5 : 3.7;
        const double lower = shown[rod] ? 5.5 : 6.15;
        place(fronts[rod], 0.65, F32(f + 1.5), upper, 0.35, 0.35, 0.35);
        DrawUprightQuad(TextureIdOf(TEX_SWINGER2));
        place(fronts[rod], 0.65, F32(F32(f + 1.5) + 3.142), F32(F32(lower + 3.142) - 0.6), 0.35, 0.35, 0.35);
        DrawUprightQuad(TextureIdOf(TEX_SWINGER2));
    }
    place(FIRST_REAR, 0, f, 0, 0.7, 0.67, 0.7);
    DrawUprightQuad(TextureIdOf(TEX_REAR));
    place(FIRST_REAR, 0, F32(f + 3.142), 0, 0.7, 0.67, 0.7);
    DrawUprightQuad(TextureIdOf(TEX_REAR));
    place(SECOND_REAR, 0, f, 0, 0.7, 0.68, 0.7);
    DrawUprightQuad(TextureIdOf(TEX_REAR));
    place(SECOND_REAR, 0, F32(f + 3.142), 0, 0.7, 0.68, 0.7);
    DrawUprightQuad(TextureIdOf(TEX_REAR));

    const double restAngles[ROD_COUNT] = {3.342, 2.942};
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!shown[rod]) continue;
        DrawRodOnRest(F32(rodPodX + F32(2.0 * F32(std::sin(f + restAngles[rod])))), 1.0,
                      F32(rodPodZ + F32(2.0 * F32(std::cos(f + restAngles[rod])))), f, 0.0);
    }
}

void GameApp::UpdatePhotoAlbumScreen(const InputDeviceState& input) {
    if (input.keyP != 0) LeavePhotoAlbum();
    if (input.keyD != 0) DeleteShownPhoto();
}

// P: back to the lake where the album was opened, looking as before.
void GameApp::LeavePhotoAlbum() { ReturnFromPhotoAlbum(LEAVE_LOCK, savedPitch); }

// Back to the fishing screen at the eye kept when the album was opened, with this pitch.
void GameApp::ReturnFromPhotoAlbum(int32_t lock, double pitch_) {
    gameMode = MODE_FISHING;
    inputLock = lock;
    albumFrameCount = 0;
    eyeX = savedEyeX;
    eyeY = savedEyeY;
    eyeZ = savedEyeZ;
    heading = savedHeading;
    pitch = pitch_;
}

// Removes the shown photo; the later ones move down so the photos in use stay packed at the front.
// At most once per 500 ms, so a held D deletes one photo at a time.
void GameApp::DeleteShownPhoto() {
    if (!StepDue(photoDeleteStamp, DELETE_STEP_MS)) return;
    if (currentPhoto < 0 || currentPhoto >= PhotosInUse()) return;  // no photo shown: nothing to delete
    for (int q = currentPhoto; q < PHOTO_SLOT_COUNT - 1; ++q) *photos[q] = *photos[q + 1];
    photos[PHOTO_SLOT_COUNT - 1]->inUse = 0;
}
