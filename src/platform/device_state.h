// The device state both backends keep: what Direct3D would report after the calls so far.
// It persists across frames; Reset() returns it to the defaults of a fresh or reset device.
#pragma once
#include <cstdint>
#include "d3d_types.h"

namespace plat {

class Texture;
class VertexBuffer;

constexpr int MAX_LIGHTS = 8;

struct DeviceState {
    Matrix world, view, projection;
    uint32_t renderState[RENDER_STATE_COUNT];
    uint32_t stageState[8];    // stage 0, indexed by TextureStageStateType
    uint32_t samplerState[16]; // sampler 0, indexed by SamplerStateType
    Material material;
    Light lights[MAX_LIGHTS];
    bool lightSet[MAX_LIGHTS];
    bool lightEnabled[MAX_LIGHTS];
    Texture* texture;          // stage 0 (not owned)
    VertexBuffer* stream;      // stream 0 (not owned)
    uint32_t streamOffset, streamStride;
    uint32_t fvf;

    DeviceState() { Reset(); }
    void Reset();
};

}  // namespace plat
