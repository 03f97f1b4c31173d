// One window and GL device shared by all GL tests, with helpers to draw quads and read pixels.
#pragma once
#include <gtest/gtest.h>
#include <cstdint>
#include <vector>
#include "platform/d3dx.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_backend.h"

namespace gltest {

struct Vertex {
    float x, y, z, nx, ny, nz, u, v;
};

// Created on first use; null when no display can be opened.
plat::SdlBackend* Backend();

inline uint8_t Red(uint32_t c) { return static_cast<uint8_t>(c >> 16); }
inline uint8_t Green(uint32_t c) { return static_cast<uint8_t>(c >> 8); }
inline uint8_t Blue(uint32_t c) { return static_cast<uint8_t>(c); }
inline uint32_t Rgb(uint32_t c) { return c & 0xFFFFFFu; }

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Identity world and view, identity projection: vertices are clip coordinates
    // (x, y in -1..1 with +y up, z in 0..1).
    void UseClipSpace();
    // The game's camera set-up: eye at the origin looking along +z, perspective 45 degrees.
    void UseGameCamera();
    // The game's material and stage set-up (white material, texture x diffuse).
    void UseGameMaterial();

    plat::VertexBuffer* MakeBuffer(const std::vector<Vertex>& vertices);
    // An axis-aligned quad in the z plane as a clockwise (front-facing) strip.
    plat::VertexBuffer* MakeQuad(float x0, float y0, float x1, float y1, float z, float nx = 0, float ny = 0,
                                 float nz = -1);
    plat::Texture* MakeTexture(uint32_t argb, uint32_t size = 4);
    void DrawStrip(plat::VertexBuffer* vb, uint32_t triangles = 2, uint32_t start = 0);

    std::vector<uint32_t> Read();
    uint32_t PixelAt(int x, int y);  // back-buffer pixel, (0, 0) top-left

    plat::SdlBackend* backend = nullptr;
    plat::GlDevice* device = nullptr;
    std::vector<plat::DeviceObject*> owned;
};

}  // namespace gltest
