// The water: drifting texture coordinates and the stack of water layers over the lake.
#include "common/step_gate.h"
#include "shell/game_app.h"

namespace {

// Writes the texture coordinates of a mesh's first vertices; positions and normals stay.
void WriteTexCoords(plat::VertexBuffer* mesh, const float (*uv)[2], int count) {
    if (!mesh || mesh->Length() < count * sizeof(MeshVertex)) return;
    void* data = nullptr;
    if (plat::Failed(mesh->Lock(0, 0, &data, 0)) || !data) return;
    MeshVertex* v = static_cast<MeshVertex*>(data);
    for (int k = 0; k < count; ++k) {
        v[k].u = uv[k][0];
        v[k].v = uv[k][1];
    }
    mesh->Unlock();
}

// A drift value one step on, kept in single precision (it is stored with photos).
double Drift(double value, double step) { return static_cast<float>(value + step); }

// The deep layers seen from above the water, with binoculars, and by the diving duck.
const float BINOCULAR_DEPTHS[] = {-3.0f, -2.6f, -2.2f, -1.8f, -1.4f, -1.0f, -0.6f, -0.2f};
const float DUCK_DEPTHS[] = {-3.0f, -2.5f, -2.0f, -1.5f, -1.0f, -0.5f, -0.2f};
const float NORMAL_DEPTHS[] = {-0.2f};

}  // namespace

void GameApp::AnimateAndDrawWater() {
    const float s1 = static_cast<float>(waterScroll1);
    const float s2 = static_cast<float>(waterScroll2 + 0.5);
    const float s3 = static_cast<float>(waterScroll3);
    const float t = static_cast<float>(waterTileSpan);
    const float sky[4][2] = {{s3, s3}, {s3, s3 + 1}, {s3 + 1, s3}, {s3 + 1, s3 + 1}};
    const float surface[8][2] = {{s1, s1},     {s1, s1 + t}, {s1 + t, s1}, {s1 + t, s1 + t},
                                 {s1 + t, s1}, {s1 + t, s1 + t}, {s1, s1}, {s1, s1 + t}};
    const float under[8][2] = {{s2, s2},     {s2, s2 + t}, {s2 + t, s2}, {s2 + t, s2 + t},
                               {s2 + t, s2}, {s2 + t, s2 + t}, {s2, s2}, {s2, s2 + t}};
    WriteTexCoords(waterSkyReflectionMesh, sky, 4);
    WriteTexCoords(waterSurfaceMesh, surface, 8);
    WriteTexCoords(waterUnderLayerMesh, under, 8);
    WriteTexCoords(skyPlaneMesh, sky, 4);

    // One drift step per call at most, and only once 10 ms have passed: no catching up.
    if (StepDue(waterScrollStamp, 10)) {
        waterScroll3 = Drift(waterScroll3, 0.0003);
        waterScroll1 = Drift(waterScroll1, 0.00035);
        waterScroll2 = Drift(waterScroll2, 0.00015);
    }
    for (double* s : {&waterScroll1, &waterScroll2, &waterScroll3})
        if (*s >= 1.0) *s = 0.0;

    DrawWaterLayers();
}

void GameApp::DrawWaterLayers() {
    auto drawLayer = [this](plat::VertexBuffer* mesh, float height, bool bothFaces) {
        if (!mesh) return;
        SetWorldTransform(100, height, 100, 0, 0, 0, 100, 1, 100);
        device->SetStreamSource(0, mesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
        if (bothFaces) device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 4, 2);
    };

    device->SetFVF(plat::FVF_MESH);

    // Deep layers: one opaque layer normally; a translucent stack with binoculars or when diving.
    const float* depths = NORMAL_DEPTHS;
    int layers = 1;
    TextureName deep = TEX_WATER3B;
    uint32_t reference = 254;
    if (gameMode == MODE_DUCK) {
        depths = DUCK_DEPTHS;
        layers = 7;
        deep = TEX_WATER3;
        reference = 0;
    } else if (binocularState != 0) {
        depths = BINOCULAR_DEPTHS;
        layers = 8;
        deep = TEX_WATER3;
        reference = 0;
    }
    device->SetRenderState(plat::RS_ALPHAREF, reference);
    device->SetTexture(0, textures[deep]);
    for (int i = 0; i < layers; ++i) drawLayer(waterSurfaceMesh, depths[i], false);

    device->SetRenderState(plat::RS_ALPHAREF, 254);
    if (waterSurfaceVisible != 0) {
        device->SetRenderState(plat::RS_ALPHAREF, 0);
        device->SetTexture(0, textures[TEX_WATER]);
        drawLayer(waterSurfaceMesh, -0.15f, false);
        device->SetTexture(0, textures[TEX_SKY2]);
        device->SetRenderState(plat::RS_ALPHAREF, 0);
        drawLayer(waterSkyReflectionMesh, -0.1f, false);
    }

    device->SetTexture(0, textures[TEX_WATER2]);
    device->SetRenderState(plat::RS_ALPHAREF, 254);
    drawLayer(waterSurfaceMesh, -0.05f, true);
    drawLayer(waterUnderLayerMesh, -0.05f, true);

    device->SetRenderState(plat::RS_ALPHAREF, 254);
    device->SetTexture(0, nullptr);
}
