// The photo album: draw (not built yet), P back to the lake, D deleting the shown photo.
#include "common/step_gate.h"
#include "shell/game_app.h"

void GameApp::DrawPhotoAlbumScreen() {}

void GameApp::UpdatePhotoAlbumScreen(const InputDeviceState& input) {
    if (input.keyP != 0) LeavePhotoAlbum();
    if (input.keyD != 0) DeleteShownPhoto();
}

// Back to the lake where the album was opened.
void GameApp::LeavePhotoAlbum() {
    gameMode = MODE_FISHING;
    inputLock = 10;
    albumFrameCount = 0;
    eyeX = savedEyeX;
    eyeZ = savedEyeZ;
    heading = savedHeading;
    eyeY = savedEyeY;
    pitch = savedPitch;
}

// Removes the shown photo; the later ones move down so the photos in use stay packed at the front.
// At most once per 500 ms, so a held D deletes one photo at a time.
void GameApp::DeleteShownPhoto() {
    if (!StepDue(photoDeleteStamp, 500)) return;
    int inUse = 0;
    for (const PhotoRecord* photo : photos)
        if (photo->inUse) ++inUse;
    if (currentPhoto < 0 || currentPhoto >= inUse) return;  // no photo shown: nothing to delete
    for (int q = currentPhoto; q < PHOTO_SLOT_COUNT - 1; ++q) *photos[q] = *photos[q + 1];
    photos[PHOTO_SLOT_COUNT - 1]->inUse = 0;
}
