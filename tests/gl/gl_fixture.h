// One window and GL device shared by all GL tests, with helpers to draw quads and read pixels.
#pragma once
#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <vector>
#include "platform/d3dx.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_backend.h"

namespace gltest {

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};
struct Normal {
    float x, y, z;
};

// White lights of the given strengths.
inline plat::Light PointLight(plat::Vector3 at, float diffuse, float ambient, float range, float att0, float att1) {
    plat::Light l{};
    l.type = plat::LIGHT_POINT;
    l.position = at;
    l.diffuse = {diffuse, diffuse, diffuse, 0};
    l.ambient = {ambient, ambient, ambient, 0};
    l.range = range;
    l.attenuation0 = att0;
    l.attenuation1 = att1;
    return l;
}
inline plat::Light DirectionalLight(plat::Vector3 along, float diffuse, float ambient = 0) {
    plat::Light l = PointLight({}, diffuse, ambient, 0, 0, 0);
    l.type = plat::LIGHT_DIRECTIONAL;
    plat::Vec3Normalize(&l.direction, &along);
    return l;
}

inline uint8_t Red(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
inline uint8_t Blue(uint32_t c) { return static_cast<uint8_t>(c); }
inline uint32_t Rgb(uint32_t c) { return c & 0xFFFFFFu; }
// Pixels with a colour channel more than 2 apart.
int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b);

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void ClearBlack();
    // Identity transforms, lighting off: vertices are clip coordinates (+y up, z in 0..1).
    void UseUnlitClipSpace();
    // The game's camera: eye at the origin looking along +z, perspective 45 degrees.
    void UseGameCamera();
    // The game's material and stage set-up (white material, texture x diffuse).
    void UseGameMaterial();

    plat::VertexBuffer* MakeBuffer(const std::vector<Vertex>& vertices);
    // An axis-aligned quad as a clockwise (front-facing) strip; z may run from left to right.
    plat::VertexBuffer* MakeQuad(float x0, float y0, float x1, float y1, float z, float zRight = NAN,
                                 Normal n = {0, 0, -1});
    plat::Texture* MakeImage(uint32_t w, uint32_t h, const std::vector<uint32_t>& argb);
    plat::Texture* MakeTexture(uint32_t argb) { return MakeImage(4, 4, std::vector<uint32_t>(16, argb)); }
    void DrawStrip(plat::VertexBuffer* vb, uint32_t triangles = 2);

    std::vector<uint32_t> Read();
    uint32_t At(int x, int y);  // RGB of a back-buffer pixel, (0, 0) top-left
    uint32_t Centre() { return At(400, 300); }

    plat::SdlBackend* backend = nullptr;
    plat::GlDevice* device = nullptr;
    std::vector<plat::DeviceObject*> owned;
};

}  // namespace gltest
