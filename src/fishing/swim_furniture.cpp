// The swim's tackle: the landing net parked or in the hand, the rod pod with its bite alarms,
// swingers and rear rests, the rods on their rests with their reels, and the floats.
#include <cmath>
#include "fishing/fishing_rules.h"
#include "shell/game_app.h"


namespace {

bool FloatRig(int32_t method) { return method == 5 || method == 6; }

// The reel's small pieces: place behind the rest point and to a side, height, pitch, roll, scale,
// textures; a box piece has only a side texture.
struct ReelPiece {
    double back;
    int side;  // 0 none, 1 the yaw + 1.571 side, 2 the yaw + 4.713 side
    double sideDistance;
    double dy, pitch, roll;
    double sx, sy, sz;
    TextureName sideTexture, endTexture;  // a box has no end: TEXTURE_COUNT
    bool box;
};
const ReelPiece REEL_PIECES[10] = {
    {0.25, 0, 0, -0.008, 1.571, 3.142, 0.0125, 0.006, 0.0125, TEX_S1TEX, TEX_SFRONTTEX, false},
    {0.15, 1, 0.042, -0.006, 1.571, 4.713, 0.009, 0.0015, 0.009, TEX_S1TEX, TEX_CAR1TEX, false},
    {0.15, 2, 0.05, -0.006, 1.571, 1.571, 0.0085, 0.005, 0.0085, TEX_KNOBTEX, TEX_KNOBTEX, false},
    {0.15, 2, 0.1, -0.006, 4.1, 0, 0.005, 0.0145, 0.005, TEX_KNOBTEX, TEX_KNOBTEX, false},
    {0.31, 2, 0.12, -0.13, 5.5, 0, 0.005, 0.004, 0.005, TEX_KNOBTEX, TEX_CAR1TEX, false},
    {0.31, 2, 0.12, -0.13, 2.358, 0, 0.005, 0.004, 0.005, TEX_KNOBTEX, TEX_CAR1TEX, false},
    {0.25, 0, 0, 0.05, 5.8, 0, 0.3, 0.3, 0.08, TEX_CAR2TEX, TEXTURE_COUNT, true},
    {0.125, 0, 0, 0.05, 0.5, 0, 0.012, 0.005, 0.012, TEX_CAR1TEX, TEX_CAR1TEX, false},
    {0.098, 0, 0, 0.1, 0, 0, 0.0085, 0.005, 0.0085, TEX_CAR1TEX, TEX_CAR1TEX, false},
    {0.1, 0, 0, 0.18, 0, 0, 0.2, 0.05, 1.0, TEX_CAR1TEX, TEXTURE_COUNT, true},
};

// The rod's twelve sections: distance along the rod from the rest point, thickness and length.
struct RodSection {
    double distance, thickness, length;
};
const RodSection ROD_SECTIONS[12] = {
    {-1.4, 0.015, 0.15}, {0.1, 0.014, 0.15},  {1.4, 0.013, 0.13},   {2.7, 0.012, 0.11},
    {3.8, 0.011, 0.09},  {4.7, 0.01, 0.07},   {5.4, 0.009, 0.06},   {6.0, 0.008, 0.05},
    {6.4, 0.007, 0.045}, {6.8, 0.006, 0.04},  {7.1, 0.005, 0.035},  {7.4, 0.004, 0.03},
};

// Where each rod's alarm head and its rest point stand on the pod: distance and angle from podYaw.
constexpr double ALARM_ANGLE[ROD_COUNT] = {5.45, 0.7};
constexpr double REST_ANGLE[ROD_COUNT] = {3.342, 2.942};

}  // namespace

void GameApp::DrawPodQuad(double r, double a, double y, double yaw, double roll, double sx, double sy, double sz,
                          TextureId textureId) {
    SetWorldTransform(rodPodX + r * std::sin(podYaw + a), y, rodPodZ + r * std::cos(podYaw + a), 0, yaw, roll, sx, sy,
                      sz);
    DrawUprightQuad(textureId);
}

void GameApp::DrawNetInHand() {
    const double y0 = eyeY - 0.8;
    const double p = netHeight + 1.571;
    const double along = netYaw + 0.1;
    auto at = [&](double k, double pitch_, double yaw, double sx, double sy, double sz) {
        SetWorldTransform(netHead[0] + k * std::sin(along), y0 + k * std::cos(p) - netHeight / 5.0,
                          netHead[2] + k * std::cos(along), pitch_, yaw, 0, sx, sy, sz);
    };
    SetWorldTransform(netHead[0], y0, netHead[2], p, along, 0, 0.015, 0.35, 0.015);
    DrawMeshPart(rodSectionMesh, TEX_3DROD, plat::PT_TRIANGLESTRIP, 0, 16);
    at(3.5, p, netYaw + 0.5, 0.01, 0.05, 0.01);
    DrawMeshPart(rodSectionMesh, TEX_3DROD, plat::PT_TRIANGLESTRIP, 0, 16);
    at(3.5, p, netYaw - 0.4, 0.01, 0.05, 0.01);
    DrawMeshPart(rodSectionMesh, TEX_3DROD, plat::PT_TRIANGLESTRIP, 0, 16);
    at(3.9, netHeight, along, 2, 2, 2);
    DrawMeshPart(groundStripMesh, TEX_NET, plat::PT_TRIANGLESTRIP, 0, 2);
    device->SetTexture(0, nullptr);
}

// Step 7: the net, the alarms with their light and sound, the swingers and the rear rests.
void GameApp::DrawSwimFurniture() {
    if (fishingState < 0 || !atSwim) return;
    if (!rodHasFish[0] && !rodHasFish[1]) {
        netYaw = podYaw;
        netHead[0] = eyeX + std::sin(podYaw + 3.4);
        netHead[2] = eyeZ + std::cos(podYaw + 3.4);
    }
    if (playedFish < NO_FISH && fishingState != FISHING_FISH_LANDED && fishingState != FISHING_PHOTO_MODE) {
        netHead[0] = eyeX + 1.2 * std::sin(heading - 0.55);
        netHead[2] = eyeZ + 1.2 * std::cos(heading - 0.55);
        DrawNetInHand();
    }

    const bool floatRig = FloatRig(method);
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        TextureName front = TEX_REST;
        if (!floatRig) {
            front = biteSignal[rod] ? TEX_ALARMON : biteCountdown[rod] != 0 ? TEX_ALARMLAT : TEX_ALARM;
            if (front == TEX_ALARMON && alarmRetrigger == 0) {
                PlayAtVolume(alarmSound, -1000, true);
                alarmRetrigger = 1;
                spoolTurn[rod] += 0.3;
            }
        }
        DrawPodQuad(0.6, ALARM_ANGLE[rod], 0, podYaw, 0, 0.7, 0.68, 0.7, TextureIdOf(front));
        DrawPodQuad(0.6, ALARM_ANGLE[rod], 0, podYaw + 3.142, 0, 0.7, 0.68, 0.7,
                    TextureIdOf(floatRig ? TEX_REST : TEX_ALARM2));
    }
    if (!floatRig) {
        for (int rod = 0; rod < ROD_COUNT; ++rod) {
            DrawPodQuad(0.6, ALARM_ANGLE[rod], 0.65, podYaw + 1.5, biteIndicatorUpper[rod], 0.35, 0.35, 0.35,
                        TextureIdOf(TEX_SWINGER2));
            DrawPodQuad(0.6, ALARM_ANGLE[rod], 0.65, podYaw + 1.5 + 3.142, biteIndicatorLower[rod] + 3.142 - 0.6, 0.35,
                        0.35, 0.35, TextureIdOf(TEX_SWINGER2));
        }
    }
    DrawPodQuad(3, 3.0, 0, podYaw, 0, 0.7, 0.67, 0.7, TextureIdOf(TEX_REAR));
    DrawPodQuad(3, 3.0, 0, podYaw + 3.142, 0, 0.7, 0.67, 0.7, TextureIdOf(TEX_REAR));
    DrawPodQuad(3, 3.284, 0, podYaw, 0, 0.7, 0.68, 0.7, TextureIdOf(TEX_REAR));
    DrawPodQuad(3, 3.284, 0, podYaw + 3.142, 0, 0.7, 0.68, 0.7, TextureIdOf(TEX_REAR));
}

// Step 8: each rod lying on its rest with its rig out, and the float of a float rig on the water.
void GameApp::DrawRodsOnRestsAndFloats() {
    for (int rod = 0; rod < ROD_COUNT; ++rod) {
        if (!rodInWater[rod] || rodHasFish[rod] || rodStruck[rod] || castFlight[rod] != 0) continue;
        const double a = podYaw + REST_ANGLE[rod];
        DrawRodOnRest(rodPodX + 2 * std::sin(a), 1.0, rodPodZ + 2 * std::cos(a), podYaw, spoolTurn[rod]);
        if (!FloatRig(method)) continue;
        const double x = hookBaitPos[rod][0], z = hookBaitPos[rod][1];
        const double yaw = HeadingAndPitchTo(x, 0, z, eyeX, eyeY, eyeZ).heading + 3.142;
        if (method == 5) {
            SetWorldTransform(x, -0.37 - floatDip[rod], z, 0, yaw, 0, 0.5, 0.2, 0.2);
            DrawUprightQuad(TextureIdOf(TEX_WAGGLER));
        } else {
            SetWorldTransform(x, -0.32 - floatDip[rod], z, 0, yaw, 0, 0.15, 0.15, 0.15);
            DrawUprightQuad(TextureIdOf(TEX_CONTROL));
        }
    }
}

// One rod with its reel lying along `yaw` on the rest point (x, y, z); also stages the photo album.
void GameApp::DrawRodOnRest(double x, double y, double z, double yaw, double spoolTurn_) {
    SetWorldTransform(x, y, z, 0, yaw, spoolTurn_, 1, 1, 1);
    DrawMeshPart(reelMesh, TEX_S1TEX, plat::PT_TRIANGLESTRIP, 0, 34);
    DrawMeshPart(reelMesh, TEX_SBACKTEX, plat::PT_TRIANGLEFAN, 36, 16);
    DrawMeshPart(reelMesh, TEX_CAR1TEX, plat::PT_TRIANGLEFAN, 54, 16);
    SetWorldTransform(x, y, z, 0, yaw, 0, 1, 1, 1);
    static const struct {
        uint32_t start;
        TextureName texture;
    } REEL_BODY[8] = {{72, TEX_CAR1TEX}, {76, TEX_CAR1TEX}, {80, TEX_CAR3TEX}, {84, TEX_CAR3TEX},
                  {88, TEX_CAR1TEX}, {92, TEX_CAR1TEX}, {96, TEX_CAR1TEX}, {100, TEX_CAR1TEX}};
    for (const auto& part : REEL_BODY) DrawMeshPart(reelMesh, part.texture, plat::PT_TRIANGLESTRIP, part.start, 2);

    const double back = yaw + 3.142;
    for (const ReelPiece& piece : REEL_PIECES) {
        double px = x + piece.back * std::sin(back), pz = z + piece.back * std::cos(back);
        if (piece.side != 0) {
            const double side = yaw + (piece.side == 1 ? 1.571 : 4.713);
            px += piece.sideDistance * std::sin(side);
            pz += piece.sideDistance * std::cos(side);
        }
        SetWorldTransform(px, y + piece.dy, pz, piece.pitch, yaw, piece.roll, piece.sx, piece.sy, piece.sz);
        if (piece.box) {
            for (uint32_t face = 0; face < 6; ++face)
                DrawMeshPart(reelBoxMesh, piece.sideTexture, plat::PT_TRIANGLESTRIP, face * 4, 2);
        } else {
            DrawMeshPart(taperedColumnMesh, piece.sideTexture, plat::PT_TRIANGLESTRIP, 0, 16);
            DrawMeshPart(taperedColumnMesh, piece.endTexture, plat::PT_TRIANGLEFAN, 18, 8);
        }
    }

    for (int i = 0; i < 12; ++i) {
        const RodSection& s = ROD_SECTIONS[i];
        SetWorldTransform(x + s.distance * std::sin(yaw), y + 0.21, z + s.distance * std::cos(yaw), 1.571, yaw, 0,
                          s.thickness, s.length, s.thickness);
        const TextureName texture = i == 0 ? TEX_BUT : TEX_3DROD;
        DrawMeshPart(rodSectionMesh, texture, plat::PT_TRIANGLESTRIP, 0, 16);
        DrawMeshPart(rodSectionMesh, texture, plat::PT_TRIANGLEFAN, 30, 8);
        if (i % 2 == 1) DrawMeshPart(rodSectionMesh, TEX_RING, plat::PT_TRIANGLESTRIP, 18, 2);
    }
    device->SetTexture(0, nullptr);
}
