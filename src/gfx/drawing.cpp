// The drawing layer: world, view and projection transforms, the three textured quads, mesh parts and text.
#include <cmath>
#include "platform/d3dx.h"
#include "shell/game_app.h"

void GameApp::SetWorldTransform(double x, double y, double z, double pitch_, double yaw, double roll,
                                double scaleX, double scaleY, double scaleZ) {
    plat::Matrix s, r, t, sr, world;
    plat::MatrixScaling(&s, static_cast<float>(scaleX), static_cast<float>(scaleY), static_cast<float>(scaleZ));
    plat::MatrixRotationYawPitchRoll(&r, static_cast<float>(yaw), static_cast<float>(pitch_),
                                     static_cast<float>(roll));
    plat::MatrixTranslation(&t, static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
    plat::MatrixMultiply(&sr, &s, &r);
    plat::MatrixMultiply(&world, &sr, &t);
    device->SetTransform(plat::TS_WORLD, &world);
}

void GameApp::SetProjectionFov(float fieldOfView) {
    plat::Matrix m;
    const float aspect = static_cast<float>(backBufferWidth) / static_cast<float>(backBufferHeight);
    plat::MatrixPerspectiveFovLH(&m, fieldOfView, aspect, 1.0f, 5000.0f);
    device->SetTransform(plat::TS_PROJECTION, &m);
}

void GameApp::SetViewCamera(double eyeX_, double eyeY_, double eyeZ_, double targetX, double targetY,
                            double targetZ, double upX, double upY, double upZ) {
    plat::Vector3 eye{static_cast<float>(eyeX_), static_cast<float>(eyeY_), static_cast<float>(eyeZ_)};
    plat::Vector3 at{static_cast<float>(targetX), static_cast<float>(targetY), static_cast<float>(targetZ)};
    plat::Vector3 up{static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    plat::Matrix view;
    plat::MatrixLookAtLH(&view, &eye, &at, &up);
    device->SetTransform(plat::TS_VIEW, &view);
}

namespace {
void DrawQuadStrips(plat::Device* device, plat::VertexBuffer* mesh, int faces) {
    if (mesh) {  // a mesh whose buffer could not be made is skipped
        device->SetStreamSource(0, mesh, 0, 32);
        for (int f = 0; f < faces; ++f) device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 4 * f, 2);
    }
    device->SetTexture(0, nullptr);
}
}  // namespace

void GameApp::DrawFlatQuad(TextureId textureId) {
    device->SetFVF(plat::FVF_MESH);
    SetTextureById(textureId);
    DrawQuadStrips(device, decalQuadUpMesh, 1);
}

void GameApp::DrawUprightQuad(TextureId textureId) {
    device->SetFVF(plat::FVF_MESH);
    SetTextureById(textureId);
    DrawQuadStrips(device, billboardMesh, 1);
}

void GameApp::DrawTwoSidedQuad(TextureId textureId) {
    device->SetFVF(plat::FVF_MESH);
    SetTextureById(textureId);
    DrawQuadStrips(device, twoSidedBoardMesh, 2);
}

void GameApp::DrawMeshPart(plat::VertexBuffer* mesh, TextureName texture, plat::PrimitiveType type, uint32_t start,
                           uint32_t count) {
    device->SetFVF(plat::FVF_MESH);
    device->SetTexture(0, textures[texture]);
    if (!mesh) return;
    device->SetStreamSource(0, mesh, 0, sizeof(MeshVertex));
    device->DrawPrimitive(type, start, count);
}

void GameApp::DrawTextAt(double xPercent, double yPercent, uint32_t colour, const char* text, int32_t font) {
    plat::Font* f = nullptr;
    switch (font) {
        case 1: f = textFontSmall; break;
        case 2: f = textFontLarge; break;
        case 3: f = textFontMedium; break;
        default: return;
    }
    if (desktopWidth < 810 && xPercent < 10) xPercent += 0.5;
    plat::Rect rect;
    rect.left = static_cast<int32_t>(static_cast<float>(clientWidth / 100.0 * xPercent));
    rect.top = static_cast<int32_t>(static_cast<float>(clientHeight / 100.0 * yPercent));
    rect.right = static_cast<int32_t>(backBufferWidth) - 20;
    rect.bottom = rect.top + 50;
    if (!f || !text) return;
    f->Begin();
    f->DrawText(text, -1, &rect, 0, colour);
    f->End();
}
