// Around the terrain: the ground skirts, the tree-line panoramas and the sky.
#include "shell/game_app.h"

void GameApp::DrawBackdrop() {
    struct Placement {
        plat::VertexBuffer* mesh;
        float x, y, z, scaleX, scaleZ;
    };
    const Placement skirts[] = {
        {skirtWestEastMesh, -50, 0, 100, 50, 205},   // x -100..0
        {skirtWestEastMesh, 250, 0, 100, 50, 205},   // x 200..300
        {skirtNorthSouthMesh, 100, 0, 250, 100, 50}, // z 200..300
        {skirtNorthSouthMesh, 100, 0, -50, 100, 50}, // z -100..0
    };
    device->SetTexture(0, textures[TEX_SURFACE]);
    for (const Placement& s : skirts) {
        if (!s.mesh) continue;
        SetWorldTransform(s.x, s.y, s.z, 0, 0, 0, s.scaleX, 1, s.scaleZ);
        device->SetStreamSource(0, s.mesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
    }

    // Tree lines 12 units high, standing from -1 just beyond the banks.
    struct Panorama {
        TextureId textureId;
        double x, z, yaw, width;
    };
    const Panorama panoramas[] = {
        {TextureId(181), 200, 110, 2.1, 141.5},  // TEX_BORDER1B
        {TextureId(182), 50, -11.5, 3.142, 85},  // TEX_BORDER1C
        {TextureId(183), 50, 105, 5.3, 142},     // TEX_BORDER1D
        {TextureId(87), 190, 210, 0, 75},        // TEX_BORDER1
    };
    for (const Panorama& p : panoramas) {
        SetWorldTransform(p.x, -1, p.z, 0, p.yaw, 0, p.width, 6, 1);
        DrawUprightQuad(p.textureId);
    }

    // The sky: a ceiling turned face down at height 50; its texture stays bound.
    device->SetTexture(0, textures[TEX_SKY]);
    if (skyPlaneMesh) {
        SetWorldTransform(100, 50, 100, 0, 1.571, 3.142, 5000, 1, 5000);
        device->SetStreamSource(0, skyPlaneMesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
    }
}
