// Basic types and constants of our Direct3D-9-shaped device layer.
#pragma once
#include <cstdint>

namespace plat {

using HResult = int32_t;
constexpr HResult OK = 0;
constexpr HResult FAIL = -1;
inline bool Failed(HResult r) { return r < 0; }

struct Vector3 { float x, y, z; };
struct ColorValue { float r, g, b, a; };
struct Rect { int32_t left, top, right, bottom; };
struct Point { int32_t x, y; };

// Row-vector 4x4 matrix, stored row by row (m[row][col]).
struct Matrix {
    float m[4][4];
};

enum TransformType : uint32_t { TS_VIEW = 2, TS_PROJECTION = 3, TS_WORLD = 256 };

enum RenderStateType : uint32_t {
    RS_ZENABLE = 7,
    RS_FILLMODE = 8,
    RS_SHADEMODE = 9,
    RS_ZWRITEENABLE = 14,
    RS_ALPHATESTENABLE = 15,
    RS_SRCBLEND = 19,
    RS_DESTBLEND = 20,
    RS_CULLMODE = 22,
    RS_ZFUNC = 23,
    RS_ALPHAREF = 24,
    RS_ALPHAFUNC = 25,
    RS_ALPHABLENDENABLE = 27,
    RS_FOGENABLE = 28,
    RS_SPECULARENABLE = 29,
    RS_LIGHTING = 137,
    RS_AMBIENT = 139,
    RS_NORMALIZENORMALS = 143,
};
constexpr uint32_t RENDER_STATE_COUNT = 256;

enum FillMode : uint32_t { FILL_POINT = 1, FILL_WIREFRAME = 2, FILL_SOLID = 3 };
enum CullMode : uint32_t { CULL_NONE = 1, CULL_CW = 2, CULL_CCW = 3 };
enum CmpFunc : uint32_t {
    CMP_NEVER = 1, CMP_LESS = 2, CMP_EQUAL = 3, CMP_LESSEQUAL = 4,
    CMP_GREATER = 5, CMP_NOTEQUAL = 6, CMP_GREATEREQUAL = 7, CMP_ALWAYS = 8
};
enum Blend : uint32_t {
    BLEND_ZERO = 1, BLEND_ONE = 2, BLEND_SRCCOLOR = 3, BLEND_INVSRCCOLOR = 4,
    BLEND_SRCALPHA = 5, BLEND_INVSRCALPHA = 6
};

enum TextureStageStateType : uint32_t {
    TSS_COLOROP = 1, TSS_COLORARG1 = 2, TSS_COLORARG2 = 3,
    TSS_ALPHAOP = 4, TSS_ALPHAARG1 = 5, TSS_ALPHAARG2 = 6
};
enum TextureOp : uint32_t { TOP_DISABLE = 1, TOP_SELECTARG1 = 2, TOP_SELECTARG2 = 3, TOP_MODULATE = 4 };
enum TextureArg : uint32_t { TA_DIFFUSE = 0, TA_CURRENT = 1, TA_TEXTURE = 2 };

enum SamplerStateType : uint32_t {
    SAMP_ADDRESSU = 1, SAMP_ADDRESSV = 2, SAMP_MAGFILTER = 5, SAMP_MINFILTER = 6, SAMP_MIPFILTER = 7
};
enum TextureFilter : uint32_t { TEXF_NONE = 0, TEXF_POINT = 1, TEXF_LINEAR = 2 };
enum TextureAddress : uint32_t { TADDRESS_WRAP = 1, TADDRESS_CLAMP = 3 };

enum PrimitiveType : uint32_t { PT_TRIANGLESTRIP = 5, PT_TRIANGLEFAN = 6 };

enum LightType : uint32_t { LIGHT_POINT = 1, LIGHT_SPOT = 2, LIGHT_DIRECTIONAL = 3 };

constexpr uint32_t CLEAR_TARGET = 1;
constexpr uint32_t CLEAR_ZBUFFER = 2;

constexpr uint32_t FVF_XYZ = 0x002;
constexpr uint32_t FVF_NORMAL = 0x010;
constexpr uint32_t FVF_TEX1 = 0x100;
constexpr uint32_t FVF_MESH = FVF_XYZ | FVF_NORMAL | FVF_TEX1;  // 0x112

enum Pool : uint32_t { POOL_DEFAULT = 0, POOL_MANAGED = 1 };

// Texture loader parameters.
constexpr uint32_t DEFAULT_VALUE = 0xFFFFFFFFu;  // "choose for me" (size, mip levels, filters)
constexpr uint32_t FORMAT_UNKNOWN = 0;
constexpr uint32_t FILTER_NONE = 1;

struct Material {
    ColorValue diffuse, ambient, specular, emissive;
    float power;
};

struct Light {
    uint32_t type;
    ColorValue diffuse, specular, ambient;
    Vector3 position, direction;
    float range, falloff;
    float attenuation0, attenuation1, attenuation2;
    float theta, phi;
};

// Font creation parameters (system-font shaped).
constexpr int32_t FW_NORMAL = 400;
constexpr uint32_t ANSI_CHARSET = 0;
constexpr uint32_t DEFAULT_CHARSET = 1;
constexpr uint32_t DEFAULT_QUALITY = 0;
constexpr uint32_t ANTIALIASED_QUALITY = 4;

// Text format flags (top-left, no word break, clipped is 0).
constexpr uint32_t DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_VCENTER = 0x4, DT_SINGLELINE = 0x20;

// Window message ids the game looks at.
constexpr uint32_t MSG_SIZE = 0x0005;
constexpr uint32_t MSG_PAINT = 0x000F;
constexpr uint32_t MSG_CLOSE = 0x0010;
constexpr uint32_t MSG_ACTIVATEAPP = 0x001C;

using WindowHandle = void*;

}  // namespace plat
