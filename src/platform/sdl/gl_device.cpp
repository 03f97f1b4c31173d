// The fixed-function GL device: state cache, lazy application to GL, draw merging, regrouping and
// layered wireframe runs, and the vertex arena that holds every vertex buffer.
#include "gl_device.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "gl_api.h"
#include "gl_font.h"
#include "gl_objects.h"
#include "gl_text.h"

namespace plat {

namespace {

constexpr uint32_t STRIDE = 32;                 // position, normal, one texture pair
constexpr size_t LAYERED_FLOATS = 9;             // position, normal, texture s, t and layer r
constexpr uint32_t INITIAL_ARENA = 4u << 20;     // bytes
constexpr uint32_t STREAMED_VERTICES = 64;       // meshes up to this size may take the stream path
constexpr size_t PLANE_SLOTS = 65536;            // a power of two
// A layered run of more triangles is handed to GL in parts of this many with a flush between
// them, so that a renderer that draws a frame's work only when flushed (as llvmpipe does) draws
// the earlier parts while the later ones are still being set up.
constexpr uint32_t LAYERED_PART_TRIANGLES = 8192;
// Solid draws are flushed once this many triangles have gone to GL since the last flush, for the
// same reason: the renderer's threads fill the terrain while the scenery is still being set up.
// Much fewer and the flushes cost more than they win (every flush starts a new binned frame).
constexpr uint32_t FLUSH_TRIANGLES = 1000;

const Matrix IDENTITY = [] {
    Matrix m{};
    for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
    return m;
}();

// The render states that reach GL (fog is never used and not mapped).
const RenderStateType RENDER_STATES[] = {
    RS_ZENABLE, RS_FILLMODE, RS_SHADEMODE, RS_ZWRITEENABLE, RS_ALPHATESTENABLE, RS_SRCBLEND,
    RS_DESTBLEND, RS_CULLMODE, RS_ZFUNC, RS_ALPHAREF, RS_ALPHAFUNC, RS_ALPHABLENDENABLE,
    RS_SPECULARENABLE, RS_LIGHTING, RS_AMBIENT, RS_NORMALIZENORMALS,
};

bool EnvFlag(const char* name) {
    const char* v = std::getenv(name);
    return v && *v && std::strcmp(v, "0") != 0;
}

GLenum CmpToGl(uint32_t f) {
    switch (f) {
        case CMP_NEVER: return GL_NEVER;
        case CMP_LESS: return GL_LESS;
        case CMP_EQUAL: return GL_EQUAL;
        case CMP_LESSEQUAL: return GL_LEQUAL;
        case CMP_GREATER: return GL_GREATER;
        case CMP_NOTEQUAL: return GL_NOTEQUAL;
        case CMP_GREATEREQUAL: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum BlendToGl(uint32_t b) {
    switch (b) {
        case BLEND_ZERO: return GL_ZERO;
        case BLEND_ONE: return GL_ONE;
        case BLEND_SRCCOLOR: return GL_SRC_COLOR;
        case BLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case BLEND_SRCALPHA: return GL_SRC_ALPHA;
        case BLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        case 7: return GL_DST_ALPHA;
        case 8: return GL_ONE_MINUS_DST_ALPHA;
        case 9: return GL_DST_COLOR;
        case 10: return GL_ONE_MINUS_DST_COLOR;
        case 11: return GL_SRC_ALPHA_SATURATE;
        default: return GL_ONE;
    }
}

GLint FilterToGl(uint32_t f) { return f == TEXF_POINT || f == TEXF_NONE ? GL_NEAREST : GL_LINEAR; }

GLint AddressToGl(uint32_t a) {
    switch (a) {
        case 2: return GL_MIRRORED_REPEAT;
        case TADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case 4: return GL_CLAMP_TO_BORDER;
        default: return GL_REPEAT;
    }
}

GLint StageArgToGl(uint32_t arg) { return (arg & 0xF) == TA_TEXTURE ? GL_TEXTURE : GL_PRIMARY_COLOR; }

void ArgbToFloats(uint32_t argb, float out[4]) {
    out[0] = ((argb >> 16) & 0xFF) / 255.0f;
    out[1] = ((argb >> 8) & 0xFF) / 255.0f;
    out[2] = (argb & 0xFF) / 255.0f;
    out[3] = ((argb >> 24) & 0xFF) / 255.0f;
}

bool SameMatrix(const Matrix& a, const Matrix& b) { return std::memcmp(&a, &b, sizeof(Matrix)) == 0; }

// The plane of a triangle, the same for both of its faces, rounded to a thousandth (of a unit
// along the normal, and of a unit of distance from the origin) and packed into a key; false for
// a triangle of no area.
bool PlaneKey(const float* a, const float* b, const float* c, uint64_t* key) {
    const float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const float v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    float n[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]};
    const float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    if (!(length > 0.0f) || !std::isfinite(length)) return false;
    int largest = 0;
    for (int k = 1; k < 3; ++k)
        if (std::fabs(n[k]) > std::fabs(n[largest])) largest = k;
    const float sign = n[largest] < 0 ? -1.0f : 1.0f;
    for (float& x : n) x = x * sign / length;
    const double d = static_cast<double>(n[0]) * a[0] + static_cast<double>(n[1]) * a[1] + static_cast<double>(n[2]) * a[2];
    auto q = [](double x) { return static_cast<uint64_t>(std::llround(std::max(-1e9, std::min(1e9, x)) * 1000.0)); };
    *key = ((q(n[0]) + 2048) & 0xFFF) << 52 | ((q(n[1]) + 2048) & 0xFFF) << 40 | ((q(n[2]) + 2048) & 0xFFF) << 28 |
           (q(d) & 0xFFFFFFF);
    return true;
}

// The inverse of the upper 3 x 3 of a row-vector matrix, transposed: what carries normals;
// false when it has none.
bool NormalMatrix(const Matrix& m, float out[3][3]) {
    const double a = m.m[0][0], b = m.m[0][1], c = m.m[0][2];
    const double d = m.m[1][0], e = m.m[1][1], f = m.m[1][2];
    const double g = m.m[2][0], h = m.m[2][1], i = m.m[2][2];
    const double det = a * (e * i - f * h) - b * (d * i - f * g) + c * (d * h - e * g);
    if (!(det != 0.0) || !std::isfinite(det)) return false;
    const double inv[3][3] = {{(e * i - f * h) / det, (c * h - b * i) / det, (b * f - c * e) / det},
                              {(f * g - d * i) / det, (a * i - c * g) / det, (c * d - a * f) / det},
                              {(d * h - e * g) / det, (b * g - a * h) / det, (a * e - b * d) / det}};
    for (int r = 0; r < 3; ++r)
        for (int col = 0; col < 3; ++col) {
            out[r][col] = static_cast<float>(inv[col][r]);
            if (!std::isfinite(out[r][col])) return false;
        }
    return true;
}
bool SameLight(const Light& a, const Light& b) { return std::memcmp(&a, &b, sizeof(Light)) == 0; }

// Sets up one stage-0 combiner (colour or alpha) from a texture operation and its arguments.
void ApplyCombiner(bool alpha, uint32_t op, uint32_t arg1, uint32_t arg2) {
    GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    GLenum src0 = alpha ? GL_SRC0_ALPHA : GL_SRC0_RGB, src1 = alpha ? GL_SRC1_ALPHA : GL_SRC1_RGB;
    GLenum opnd0 = alpha ? GL_OPERAND0_ALPHA : GL_OPERAND0_RGB, opnd1 = alpha ? GL_OPERAND1_ALPHA : GL_OPERAND1_RGB;
    GLint operand = alpha ? GL_SRC_ALPHA : GL_SRC_COLOR;
    glTexEnvi(GL_TEXTURE_ENV, opnd0, operand);
    glTexEnvi(GL_TEXTURE_ENV, opnd1, operand);
    switch (op) {
        case TOP_SELECTARG1:
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, StageArgToGl(arg1));
            break;
        case TOP_SELECTARG2:
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, StageArgToGl(arg2));
            break;
        case TOP_DISABLE:  // stage 0 off: the lit colour alone
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_REPLACE);
            glTexEnvi(GL_TEXTURE_ENV, src0, GL_PRIMARY_COLOR);
            break;
        default:
            glTexEnvi(GL_TEXTURE_ENV, combine, GL_MODULATE);
            glTexEnvi(GL_TEXTURE_ENV, src0, StageArgToGl(arg1));
            glTexEnvi(GL_TEXTURE_ENV, src1, StageArgToGl(arg2));
            break;
    }
}

// Calls `f`(a, b, c) with the vertex numbers of each triangle of a strip or fan: the same
// triangles, the same winding and the same last vertex as GL's strips and fans.
template <class F> void ForEachTriangle(PrimitiveType type, uint32_t primitiveCount, F f) {
    for (uint32_t i = 0; i < primitiveCount; ++i) {
        if (type == PT_TRIANGLEFAN) f(0u, i + 1, i + 2);
        else if (i % 2 == 0) f(i, i + 1, i + 2);
        else f(i + 1, i, i + 2);
    }
}

// A strip's or fan's triangles as a list of vertex indices from `base`.
void AppendTriangles(std::vector<uint32_t>* out, PrimitiveType type, uint32_t base, uint32_t primitiveCount) {
    ForEachTriangle(type, primitiveCount,
                    [&](uint32_t a, uint32_t b, uint32_t c) { out->insert(out->end(), {base + a, base + b, base + c}); });
}

// Whether a fragment of alpha one passes the alpha test `func` against `ref`.
bool AlphaOnePasses(uint32_t func, uint32_t ref) {
    ref &= 0xFF;
    switch (func) {
        case CMP_GREATER: return ref < 255;
        case CMP_EQUAL: return ref == 255;
        case CMP_NOTEQUAL: return ref != 255;
        case CMP_GREATEREQUAL: return true;
        case CMP_LESSEQUAL: return ref == 255;
        case CMP_LESS:
        case CMP_NEVER: return false;
        default: return true;
    }
}

}  // namespace

GlDevice::GlDevice(uint32_t backBufferWidth, uint32_t backBufferHeight)
    : bbWidth_(backBufferWidth), bbHeight_(backBufferHeight) {
    batching_ = !EnvFlag("LAKESIDE_GL_NO_BATCH");
    regrouping_ = !EnvFlag("LAKESIDE_GL_NO_REGROUP");
    layering_ = !EnvFlag("LAKESIDE_GL_NO_LAYERS");
    layeredParts_ = !EnvFlag("LAKESIDE_GL_NO_PARTS");
    if (EnvFlag("LAKESIDE_GL_NO_EARLY_FLUSHES")) {
        flushChooser_.SetChoice(FlushChoice::Never);
    } else if (EnvFlag("LAKESIDE_GL_EARLY_FLUSHES")) {
        flushChooser_.SetChoice(FlushChoice::Always);
    }
    // Fixed settings: clockwise fronts (the matrices are used as they are), no dithering,
    // one-sided lighting, no colour material.
    glFrontFace(GL_CW);
    glDisable(GL_DITHER);
    glDisable(GL_FOG);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_RESCALE_NORMAL);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_TRUE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glViewport(0, 0, static_cast<GLsizei>(bbWidth_), static_cast<GLsizei>(bbHeight_));

    GLuint arena = 0;
    glGenBuffers(1, &arena);
    arena_ = arena;
    glBindBuffer(GL_ARRAY_BUFFER, arena_);
    arenaCapacity_ = INITIAL_ARENA;
    glBufferData(GL_ARRAY_BUFFER, arenaCapacity_, nullptr, GL_STATIC_DRAW);
    planes_.assign(PLANE_SLOTS, PlaneSlot{0, nullptr, 0, 0});
    BindVertexArena();

    state_.Reset();
    Apply(D_ALL, true);
    dirty_ = 0;
}

GlDevice::~GlDevice() {
    EndOverlayNow();
    Flush();
    // The device's own references (bound texture and stream) go first.
    if (Texture* t = state_.texture) {
        state_.texture = nullptr;
        t->Release();
    }
    if (VertexBuffer* vb = state_.stream) {
        state_.stream = nullptr;
        vb->Release();
    }
    applied_.texture = nullptr;
    boundTexture_ = nullptr;
    for (const LayerStack& s : stacks_) {
        GLuint name = s.name;
        glDeleteTextures(1, &name);
    }
    stacks_.clear();
    const GLuint kept[2] = {keptVertexBuffer_, keptIndexBuffer_};
    glDeleteBuffers(2, kept);
    // Whatever the game still holds keeps working as plain objects.
    for (GlFont* f : fonts_) f->Detach();
    fonts_.clear();
    for (GlTexture* t : textures_) {
        GLuint name = t->Name();
        if (name) glDeleteTextures(1, &name);
        t->Detach();
    }
    textures_.clear();
    for (GlVertexBuffer* vb : buffers_) vb->Detach();
    buffers_.clear();
    GLuint arena = arena_;
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &arena);
    if (streamBuffer_) {
        GLuint stream = streamBuffer_;
        glDeleteBuffers(1, &stream);
    }
}

// ---------------------------------------------------------------- state setters

HResult GlDevice::SetTransform(TransformType type, const Matrix* matrix) {
    if (!matrix) return FAIL;
    Matrix* target = nullptr;
    uint32_t bit = 0;
    switch (type) {
        case TS_WORLD: target = &state_.world; bit = D_WORLD; break;
        case TS_VIEW: target = &state_.view; bit = D_VIEW; break;
        case TS_PROJECTION: target = &state_.projection; bit = D_PROJECTION; break;
        default: return FAIL;
    }
    if (SameMatrix(*target, *matrix)) return OK;
    *target = *matrix;
    dirty_ |= bit;
    return OK;
}

HResult GlDevice::SetRenderState(RenderStateType state, uint32_t value) {
    if (state >= RENDER_STATE_COUNT) return FAIL;
    if (state_.renderState[state] == value) return OK;
    state_.renderState[state] = value;
    dirty_ |= D_RENDER;
    if (state == RS_SPECULARENABLE) dirty_ |= D_MATERIAL;
    return OK;
}

HResult GlDevice::SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) {
    if (type >= 8) return FAIL;
    if (stage != 0) return OK;  // only stage 0 is used
    if (state_.stageState[type] == value) return OK;
    state_.stageState[type] = value;
    dirty_ |= D_STAGE;
    return OK;
}

HResult GlDevice::SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) {
    if (type >= 16) return FAIL;
    if (sampler != 0) return OK;
    if (state_.samplerState[type] == value) return OK;
    state_.samplerState[type] = value;
    dirty_ |= D_SAMPLER;
    return OK;
}

HResult GlDevice::SetMaterial(const Material* material) {
    if (!material) return FAIL;
    state_.material = *material;
    dirty_ |= D_MATERIAL;
    return OK;
}

HResult GlDevice::SetLight(uint32_t index, const Light* light) {
    if (!light || index >= static_cast<uint32_t>(MAX_LIGHTS)) return FAIL;
    state_.lights[index] = *light;
    state_.lightSet[index] = true;
    dirty_ |= D_LIGHTS;
    return OK;
}

HResult GlDevice::LightEnable(uint32_t index, bool enable) {
    if (index >= static_cast<uint32_t>(MAX_LIGHTS)) return FAIL;
    if (enable && !state_.lightSet[index]) {
        // Enabling a light never set gives the default light: white, directional, along +z.
        Light l{};
        l.type = LIGHT_DIRECTIONAL;
        l.diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
        l.direction = {0.0f, 0.0f, 1.0f};
        state_.lights[index] = l;
        state_.lightSet[index] = true;
    }
    state_.lightEnabled[index] = enable;
    dirty_ |= D_LIGHTS;
    return OK;
}

HResult GlDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage != 0) return OK;
    if (state_.texture == texture) return OK;
    // The device holds a reference to what is bound, so releasing a bound texture is safe.
    if (texture) texture->AddRef();
    Texture* old = state_.texture;
    state_.texture = texture;
    dirty_ |= D_TEXTURE;
    if (old) old->Release();
    return OK;
}

HResult GlDevice::SetFVF(uint32_t fvf) {
    state_.fvf = fvf;
    return OK;
}

HResult GlDevice::SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) {
    if (stream != 0) return FAIL;
    if (buffer != state_.stream) {
        if (buffer) buffer->AddRef();
        VertexBuffer* old = state_.stream;
        state_.stream = buffer;
        if (old) old->Release();
    }
    state_.streamOffset = offset;
    state_.streamStride = stride;
    return OK;
}

// ---------------------------------------------------------------- applying state to GL

uint32_t GlDevice::RealChanges(uint32_t candidates) const {
    uint32_t c = 0;
    if (candidates & D_RENDER) {
        for (RenderStateType rs : RENDER_STATES)
            if (state_.renderState[rs] != applied_.renderState[rs]) {
                c |= D_RENDER;
                break;
            }
    }
    if ((candidates & D_STAGE) && std::memcmp(state_.stageState, applied_.stageState, sizeof(state_.stageState)))
        c |= D_STAGE;
    if ((candidates & D_SAMPLER) &&
        std::memcmp(state_.samplerState, applied_.samplerState, sizeof(state_.samplerState)))
        c |= D_SAMPLER;
    if ((candidates & D_TEXTURE) && state_.texture != applied_.texture) c |= D_TEXTURE;
    if ((candidates & D_WORLD) && !SameMatrix(TargetWorld(), applied_.world)) c |= D_WORLD;
    if ((candidates & D_VIEW) && !SameMatrix(state_.view, applied_.view)) c |= D_VIEW;
    if ((candidates & D_PROJECTION) && !SameMatrix(state_.projection, applied_.projection)) c |= D_PROJECTION;
    if ((candidates & D_MATERIAL) &&
        (std::memcmp(&state_.material, &applied_.material, sizeof(Material)) ||
         state_.renderState[RS_SPECULARENABLE] != applied_.renderState[RS_SPECULARENABLE]))
        c |= D_MATERIAL;
    if (candidates & D_LIGHTS) {
        for (int i = 0; i < MAX_LIGHTS; ++i) {
            if (state_.lightEnabled[i] != applied_.lightEnabled[i] ||
                (state_.lightEnabled[i] && !SameLight(state_.lights[i], applied_.lights[i]))) {
                c |= D_LIGHTS;
                break;
            }
        }
    }
    return c;
}

void GlDevice::SyncState() {
    if (!dirty_) return;
    uint32_t changes = RealChanges(dirty_);
    dirty_ = 0;
    if (!changes) return;
    Flush();
    Apply(changes, false);
}

void GlDevice::Apply(uint32_t changes, bool force) {
    if (changes & D_MATERIAL) ApplyMaterial();  // reads the specular switch before it is copied
    if (changes & D_RENDER) ApplyRenderStates(force);
    if (changes & D_STAGE) ApplyStage();
    if (changes & (D_TEXTURE | D_SAMPLER)) ApplyTexture(force);
    if (changes & (D_WORLD | D_VIEW | D_PROJECTION | D_LIGHTS)) ApplyMatricesAndLights(changes, force);
}

void GlDevice::ApplyRenderStates(bool force) {
    const uint32_t* rs = state_.renderState;
    const uint32_t* was = applied_.renderState;
    auto changed = [&](RenderStateType s) { return force || rs[s] != was[s]; };
    auto toggle = [](GLenum cap, bool on) { on ? glEnable(cap) : glDisable(cap); };
    if (changed(RS_ZENABLE)) toggle(GL_DEPTH_TEST, rs[RS_ZENABLE] != 0);
    if (changed(RS_FILLMODE)) {
        GLenum mode = rs[RS_FILLMODE] == FILL_WIREFRAME ? GL_LINE : rs[RS_FILLMODE] == FILL_POINT ? GL_POINT : GL_FILL;
        glPolygonMode(GL_FRONT_AND_BACK, mode);
    }
    if (changed(RS_SHADEMODE)) glShadeModel(rs[RS_SHADEMODE] == 1 ? GL_FLAT : GL_SMOOTH);
    if (changed(RS_ZWRITEENABLE)) glDepthMask(rs[RS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    if (changed(RS_ZFUNC)) glDepthFunc(CmpToGl(rs[RS_ZFUNC]));
    // Blending and the alpha test are switched at each GL draw (see SwitchBlendAndTest).
    if (force) {
        toggle(GL_ALPHA_TEST, glAlphaTest_ = rs[RS_ALPHATESTENABLE] != 0);
        toggle(GL_BLEND, glBlend_ = rs[RS_ALPHABLENDENABLE] != 0);
    }
    if (changed(RS_ALPHAREF) || changed(RS_ALPHAFUNC))
        glAlphaFunc(CmpToGl(rs[RS_ALPHAFUNC]), (rs[RS_ALPHAREF] & 0xFF) / 255.0f);
    if (changed(RS_SRCBLEND) || changed(RS_DESTBLEND))
        glBlendFunc(BlendToGl(rs[RS_SRCBLEND]), BlendToGl(rs[RS_DESTBLEND]));
    if (changed(RS_CULLMODE)) {
        if (force) glFrontFace(GL_CW);
        if (rs[RS_CULLMODE] == CULL_NONE) {
            glDisable(GL_CULL_FACE);
        } else {
            glEnable(GL_CULL_FACE);
            glCullFace(rs[RS_CULLMODE] == CULL_CW ? GL_FRONT : GL_BACK);
        }
    }
    if (changed(RS_LIGHTING)) {
        toggle(GL_LIGHTING, rs[RS_LIGHTING] != 0);
        // Unlit vertices without colours are white.
        if (!rs[RS_LIGHTING]) glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    }
    if (changed(RS_AMBIENT)) {
        float c[4];
        ArgbToFloats(rs[RS_AMBIENT], c);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
    }
    if (changed(RS_NORMALIZENORMALS)) toggle(GL_NORMALIZE, rs[RS_NORMALIZENORMALS] != 0);
    std::memcpy(applied_.renderState, state_.renderState, sizeof(state_.renderState));
}

void GlDevice::ApplyStage() {
    const uint32_t* ts = state_.stageState;
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    ApplyCombiner(false, ts[TSS_COLOROP], ts[TSS_COLORARG1], ts[TSS_COLORARG2]);
    uint32_t alphaOp = ts[TSS_COLOROP] == TOP_DISABLE ? TOP_DISABLE : ts[TSS_ALPHAOP];
    ApplyCombiner(true, alphaOp, ts[TSS_ALPHAARG1], ts[TSS_ALPHAARG2]);
    std::memcpy(applied_.stageState, state_.stageState, sizeof(state_.stageState));
}

void GlDevice::ApplySamplerToTexture(GlTexture* t, const uint32_t* ss) {
    GLint mag = FilterToGl(ss[SAMP_MAGFILTER]), min = FilterToGl(ss[SAMP_MINFILTER]);
    GLint u = AddressToGl(ss[SAMP_ADDRESSU]), v = AddressToGl(ss[SAMP_ADDRESSV]);
    if (t->magFilter != static_cast<uint32_t>(mag)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
        t->magFilter = mag;
    }
    if (t->minFilter != static_cast<uint32_t>(min)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
        t->minFilter = min;
    }
    if (t->addressU != static_cast<uint32_t>(u)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, u);
        t->addressU = u;
    }
    if (t->addressV != static_cast<uint32_t>(v)) {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, v);
        t->addressV = v;
    }
}

GlTexture* GlDevice::DrawableTexture() const {
    GlTexture* t = static_cast<GlTexture*>(state_.texture);
    return t && t->Name() != 0 ? t : nullptr;
}

void GlDevice::ApplyTexture(bool force) {
    GlTexture* t = DrawableTexture();
    if (force || t != boundTexture_) {
        if (t) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, t->Name());
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        boundTexture_ = t;
    }
    if (t) ApplySamplerToTexture(t, state_.samplerState);
    applied_.texture = t;
    std::memcpy(applied_.samplerState, state_.samplerState, sizeof(state_.samplerState));
}

void GlDevice::ApplyMaterial() {
    const Material& m = state_.material;
    static const float ZERO[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &m.ambient.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &m.diffuse.r);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, state_.renderState[RS_SPECULARENABLE] ? &m.specular.r : ZERO);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &m.emissive.r);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::min(128.0f, std::max(0.0f, m.power)));
    applied_.material = m;
}

void GlDevice::ApplyLightParams(int i) {
    const Light& l = state_.lights[i];
    GLenum id = GL_LIGHT0 + i;
    glLightfv(id, GL_AMBIENT, &l.ambient.r);
    glLightfv(id, GL_DIFFUSE, &l.diffuse.r);
    glLightfv(id, GL_SPECULAR, &l.specular.r);
    if (l.type == LIGHT_DIRECTIONAL) {
        glLightf(id, GL_CONSTANT_ATTENUATION, 1.0f);
        glLightf(id, GL_LINEAR_ATTENUATION, 0.0f);
        glLightf(id, GL_QUADRATIC_ATTENUATION, 0.0f);
    } else {
        glLightf(id, GL_CONSTANT_ATTENUATION, l.attenuation0);
        glLightf(id, GL_LINEAR_ATTENUATION, l.attenuation1);
        glLightf(id, GL_QUADRATIC_ATTENUATION, l.attenuation2);
    }
    if (l.type == LIGHT_SPOT) {
        glLightf(id, GL_SPOT_CUTOFF, std::min(90.0f, std::max(0.0f, l.phi * 0.5f * 57.29578f)));
        glLightf(id, GL_SPOT_EXPONENT, std::min(128.0f, std::max(0.0f, l.falloff)));
    } else {
        glLightf(id, GL_SPOT_CUTOFF, 180.0f);
    }
    applied_.lights[i] = l;
    applied_.lightSet[i] = true;
}

void GlDevice::ApplyLightPosition(int i) {
    // Called with MODELVIEW = View: GL keeps positions in eye space, the game gives world space.
    const Light& l = state_.lights[i];
    GLenum id = GL_LIGHT0 + i;
    if (l.type == LIGHT_DIRECTIONAL) {
        const float dir[4] = {-l.direction.x, -l.direction.y, -l.direction.z, 0.0f};
        glLightfv(id, GL_POSITION, dir);
    } else {
        const float pos[4] = {l.position.x, l.position.y, l.position.z, 1.0f};
        glLightfv(id, GL_POSITION, pos);
        if (l.type == LIGHT_SPOT) glLightfv(id, GL_SPOT_DIRECTION, &l.direction.x);
    }
    lightPosValid_[i] = true;
}

void GlDevice::ApplyMatricesAndLights(uint32_t changes, bool force) {
    if (force || (changes & D_PROJECTION)) {
        // Direct3D clip depth runs 0..w, GL's -w..w: z' = 2z - w.
        Matrix p = state_.projection;
        for (int r = 0; r < 4; ++r) p.m[r][2] = 2.0f * state_.projection.m[r][2] - state_.projection.m[r][3];
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(&p.m[0][0]);
        applied_.projection = state_.projection;
    }
    bool viewChanged = force || (changes & D_VIEW);
    if (viewChanged) {
        applied_.view = state_.view;
        for (bool& v : lightPosValid_) v = false;
    }
    bool respecify = false;
    if (force || viewChanged || (changes & D_LIGHTS)) {
        for (int i = 0; i < MAX_LIGHTS; ++i) {
            bool on = state_.lightEnabled[i];
            if (force || on != applied_.lightEnabled[i]) {
                on ? glEnable(GL_LIGHT0 + i) : glDisable(GL_LIGHT0 + i);
                applied_.lightEnabled[i] = on;
            }
            if (!on) continue;
            if (force || !SameLight(state_.lights[i], applied_.lights[i])) {
                ApplyLightParams(i);
                lightPosValid_[i] = false;
            }
            if (!lightPosValid_[i]) respecify = true;
        }
    }
    glMatrixMode(GL_MODELVIEW);
    if (respecify) {
        glLoadMatrixf(&state_.view.m[0][0]);
        for (int i = 0; i < MAX_LIGHTS; ++i)
            if (state_.lightEnabled[i] && !lightPosValid_[i]) ApplyLightPosition(i);
    }
    if (force || respecify || viewChanged || (changes & D_WORLD)) {
        // MODELVIEW = World x View in row-vector terms.
        glLoadMatrixf(&state_.view.m[0][0]);
        glMultMatrixf(&TargetWorld().m[0][0]);
        applied_.world = TargetWorld();
    }
}

// ---------------------------------------------------------------- drawing

void GlDevice::Flush() {
    if (layeredRun_) {
        DrawLayeredRun();
        return;
    }
    if (bucketCount_ == 0) return;
    if (runStream_) {
        PointAtStreamBuffer();
    } else {
        BindPointers(false);
    }
    // Where every fragment written replaces what is there (opaque, blended with alpha one, or only
    // opaque texels let through), blending gives the same pixels as none; and where a texture's
    // fragments all have alpha one the alpha test passes them all. Off, llvmpipe neither reads
    // the colour buffer nor shades fragments the depth test hides.
    const uint32_t* rs = applied_.renderState;
    const bool blendOn = rs[RS_ALPHABLENDENABLE] != 0, testOn = rs[RS_ALPHATESTENABLE] != 0;
    const bool oneFails = !AlphaOnePasses(rs[RS_ALPHAFUNC], rs[RS_ALPHAREF]);
    auto draw = [&](Bucket& b) {
        if (b.indices.empty()) return;
        SwitchBlendAndTest(blendOn && !b.replaces, testOn && (!b.alphaOne || oneFails));
        GlTexture* t = b.texture;
        if (t != boundTexture_) {
            if (!t) {
                glDisable(GL_TEXTURE_2D);
            } else {
                if (!boundTexture_) glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, t->Name());
            }
            boundTexture_ = t;
        }
        if (t) ApplySamplerToTexture(t, applied_.samplerState);  // the settings the run was drawn with
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(b.indices.size()), GL_UNSIGNED_INT, b.indices.data());
        ++glDrawCalls_;
        Drawn(b.indices.size() / 3);
        b.indices.clear();
    };
    // The current texture's bucket goes last: GL is left with the texture the state says.
    for (size_t i = 0; i < bucketCount_; ++i)
        if (i != currentBucket_) draw(buckets_[i]);
    draw(buckets_[currentBucket_]);
    bucketCount_ = 0;
    streamVerts_.clear();
    ++planeGeneration_;
    planeCount_ = 0;
}

void GlDevice::Drawn(size_t triangles) {
    sinceGlFlush_ += triangles;
    if (flushChooser_.EarlyFlushes() && sinceGlFlush_ >= FLUSH_TRIANGLES) FlushGl();
}

void GlDevice::FlushGl() {
    glFlush();
    ++glFlushes_;
    sinceGlFlush_ = 0;
}

void GlDevice::SwitchBlendAndTest(bool blend, bool test) {
    // Left as they are until a draw needs them otherwise: every switch costs GL a new look-up of
    // its fragment program.
    if (blend != glBlend_) {
        blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
        glBlend_ = blend;
    }
    if (test != glAlphaTest_) {
        test ? glEnable(GL_ALPHA_TEST) : glDisable(GL_ALPHA_TEST);
        glAlphaTest_ = test;
    }
}

std::vector<uint32_t>& GlDevice::BucketFor(GlTexture* tex) {
    if (bucketCount_ > 0 && buckets_[currentBucket_].texture == tex) return buckets_[currentBucket_].indices;
    for (size_t i = 0; i < bucketCount_; ++i) {
        if (buckets_[i].texture == tex) {
            currentBucket_ = i;
            return buckets_[i].indices;
        }
    }
    if (bucketCount_ == buckets_.size()) buckets_.push_back(Bucket{nullptr, {}, false, false});
    currentBucket_ = bucketCount_++;
    buckets_[currentBucket_].texture = tex;
    // A run's other states are this draw's.
    buckets_[currentBucket_].alphaOne = FragmentAlphaIsOne(tex);
    buckets_[currentBucket_].replaces = BlendReplaces(tex);
    return buckets_[currentBucket_].indices;
}

bool GlDevice::FragmentAlphaIsOne(const GlTexture* tex) const {
    // Lit vertices carry the material's diffuse alpha; unlit ones are white.
    const bool primaryOne = !state_.renderState[RS_LIGHTING] || state_.material.diffuse.a >= 1.0f;
    if (!tex) return primaryOne;  // texturing off: the lit colour alone
    const uint32_t* ss = state_.samplerState;
    const bool borderShows = ss[SAMP_ADDRESSU] == 4 || ss[SAMP_ADDRESSV] == 4;  // transparent border
    const bool textureOne = tex->Opaque() && !borderShows;
    auto argOne = [&](uint32_t arg) { return (arg & 0xF) == TA_TEXTURE ? textureOne : primaryOne; };
    const uint32_t* ts = state_.stageState;
    const uint32_t op = ts[TSS_COLOROP] == TOP_DISABLE ? TOP_DISABLE : ts[TSS_ALPHAOP];
    switch (op) {
        case TOP_SELECTARG1: return argOne(ts[TSS_ALPHAARG1]);
        case TOP_SELECTARG2: return argOne(ts[TSS_ALPHAARG2]);
        case TOP_DISABLE: return primaryOne;
        default: return argOne(ts[TSS_ALPHAARG1]) && argOne(ts[TSS_ALPHAARG2]);  // modulate
    }
}

bool GlDevice::BlendReplaces(const GlTexture* tex) const {
    // Blending with alpha 1 replaces; so does blending what an alpha test that lets only alpha
    // above 254/255 through leaves.
    const uint32_t* rs = state_.renderState;
    if (!rs[RS_ALPHABLENDENABLE]) return true;
    const uint32_t src = rs[RS_SRCBLEND], dst = rs[RS_DESTBLEND];
    if (src == BLEND_ONE && dst == BLEND_ZERO) return true;
    return src == BLEND_SRCALPHA && dst == BLEND_INVSRCALPHA && (FragmentAlphaIsOne(tex) || AlphaTestKeepsOnlyOpaque());
}

bool GlDevice::OrderIndependent(const GlTexture* tex) const {
    // Each pixel keeps the nearest fragment whatever the order, as long as every fragment written
    // replaces what is there. Only exact depth ties (coplanar overlaps) would show the order.
    const uint32_t* rs = state_.renderState;
    if (!rs[RS_ZENABLE] || !rs[RS_ZWRITEENABLE] || rs[RS_ZFUNC] != CMP_LESSEQUAL) return false;
    // Wireframe and point edges are shared by neighbours at equal depth: the later one shows.
    if (rs[RS_FILLMODE] == FILL_WIREFRAME || rs[RS_FILLMODE] == FILL_POINT) return false;
    return BlendReplaces(tex);
}

bool GlDevice::AlphaTestKeepsOnlyOpaque() const {
    const uint32_t* rs = state_.renderState;
    if (!rs[RS_ALPHATESTENABLE]) return false;
    const uint32_t ref = rs[RS_ALPHAREF] & 0xFF;
    switch (rs[RS_ALPHAFUNC]) {
        case CMP_GREATER: return ref >= 254;
        case CMP_GREATEREQUAL:
        case CMP_EQUAL: return ref == 255;
        case CMP_NEVER: return true;
        default: return false;
    }
}

// ---------------------------------------------------------------- the stream path

const Matrix& GlDevice::TargetWorld() const { return drawStreamed_ ? IDENTITY : state_.world; }

bool GlDevice::StreamsThrough(uint32_t count) {
    // Wireframe and point fills keep their own path (and their layered runs).
    if (state_.renderState[RS_FILLMODE] != FILL_SOLID) return false;
    if (count > STREAMED_VERTICES || SameMatrix(state_.world, IDENTITY)) return false;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!std::isfinite(state_.world.m[r][c])) return false;
    return NormalMatrix(state_.world, normalMatrix_);
}

void GlDevice::TransformToScratch(const uint8_t* vertices, uint32_t count) {
    const Matrix& w = state_.world;
    const float(*n)[3] = normalMatrix_;
    scratch_.resize(static_cast<size_t>(count) * 8);
    float* out = scratch_.data();
    for (uint32_t k = 0; k < count; ++k, out += 8) {
        float v[8];
        std::memcpy(v, vertices + static_cast<size_t>(k) * STRIDE, sizeof v);
        for (int c = 0; c < 3; ++c) {
            out[c] = v[0] * w.m[0][c] + v[1] * w.m[1][c] + v[2] * w.m[2][c] + w.m[3][c];
            out[3 + c] = v[3] * n[0][c] + v[4] * n[1][c] + v[5] * n[2][c];
        }
        out[6] = v[6];
        out[7] = v[7];
    }
}

// Regions of a plane: a square of the ground grid the triangle covers, the whole plane for a
// triangle too large for squares, and a summary of every texture on the plane.
namespace {
constexpr float REGION_SIZE = 4.0f;
constexpr int MOST_REGIONS = 16;
constexpr uint64_t WHOLE_PLANE = 0xFFFFFFFFFFF0ull, ANY_ON_PLANE = 0xFFFFFFFFFFF1ull;
// How a key meets what is on the table: not at all, its first texture, or any texture on it.
constexpr uint8_t MEETS_ONE = 1, MEETS_ANY = 2;
uint64_t RegionKey(uint64_t plane, uint64_t region) { return plane * 0x100000001B3ull ^ (region * 0x9E3779B97F4A7C15ull); }
}  // namespace

size_t GlDevice::HomeSlot(uint64_t key) { return (key * 0x9E3779B97F4A7C15ull >> 40) & (PLANE_SLOTS - 1); }

GlDevice::PlaneSlot* GlDevice::FindPlaneSlot(uint64_t key) {
    for (size_t slot = HomeSlot(key);; slot = (slot + 1) & (PLANE_SLOTS - 1)) {
        PlaneSlot& p = planes_[slot];
        if (p.generation != planeGeneration_ || p.key == key) return &p;
    }
}

void GlDevice::CollectPlaneKeys(PrimitiveType type, uint32_t primitiveCount) {
    planeVisits_.clear();
    const float* v = scratch_.data();
    auto add = [&](uint64_t key, uint8_t check, uint8_t record) {
        planeVisits_.push_back(PlaneVisit{key, nullptr, check, record});
    };
    ForEachTriangle(type, primitiveCount, [&](uint32_t a, uint32_t b, uint32_t c) {
        const float* t[3] = {v + a * 8, v + b * 8, v + c * 8};
        uint64_t plane;
        if (!PlaneKey(t[0], t[1], t[2], &plane)) return;
        float x0 = t[0][0], x1 = x0, z0 = t[0][2], z1 = z0;
        for (const float* q : t) {
            x0 = std::min(x0, q[0]);
            x1 = std::max(x1, q[0]);
            z0 = std::min(z0, q[2]);
            z1 = std::max(z1, q[2]);
        }
        const double cx0 = std::floor(x0 / REGION_SIZE), cx1 = std::floor(x1 / REGION_SIZE);
        const double cz0 = std::floor(z0 / REGION_SIZE), cz1 = std::floor(z1 / REGION_SIZE);
        if ((cx1 - cx0 + 1) * (cz1 - cz0 + 1) <= MOST_REGIONS) {
            // A small triangle meets the regions it covers and anything drawn over the whole plane.
            for (double x = cx0; x <= cx1; ++x)
                for (double z = cz0; z <= cz1; ++z)
                    add(RegionKey(plane, (static_cast<uint64_t>(static_cast<int64_t>(x)) & 0xFFFFF) << 20 |
                                             (static_cast<uint64_t>(static_cast<int64_t>(z)) & 0xFFFFF)),
                        MEETS_ONE, MEETS_ONE);
            add(RegionKey(plane, WHOLE_PLANE), MEETS_ONE, 0);
            add(RegionKey(plane, ANY_ON_PLANE), 0, MEETS_ANY);
        } else {
            // A large one meets everything on its plane.
            add(RegionKey(plane, WHOLE_PLANE), 0, MEETS_ONE);
            add(RegionKey(plane, ANY_ON_PLANE), MEETS_ANY, MEETS_ANY);
        }
    });
    // Neighbouring triangles of a draw share planes and regions: each key once, with the most any
    // of its triangles asks.
    std::sort(planeVisits_.begin(), planeVisits_.end(),
              [](const PlaneVisit& p, const PlaneVisit& q) { return p.key < q.key; });
    size_t kept = 0;
    for (const PlaneVisit& p : planeVisits_) {
        if (kept > 0 && planeVisits_[kept - 1].key == p.key) {
            PlaneVisit& k = planeVisits_[kept - 1];
            k.check = std::max(k.check, p.check);
            k.record = std::max(k.record, p.record);
        } else {
            planeVisits_[kept++] = p;
        }
    }
    planeVisits_.resize(kept);
    // The table is far larger than the caches: ask for every slot before looking at any.
    for (const PlaneVisit& p : planeVisits_) __builtin_prefetch(&planes_[HomeSlot(p.key)]);
}

bool GlDevice::PlaneConflict(GlTexture* tex, uint32_t primitiveCount) {
    // A table filling up ends the run as a conflict would.
    if (planeCount_ + primitiveCount * (MOST_REGIONS + 1) > PLANE_SLOTS / 2) return true;
    // A plane's texture shows its order only where two textures meet on it.
    for (PlaneVisit& v : planeVisits_) {
        v.slot = FindPlaneSlot(v.key);
        if (!v.check || v.slot->generation != planeGeneration_) continue;
        if (v.slot->texture != tex || (v.check == MEETS_ANY && v.slot->mixed)) return true;
    }
    visitGeneration_ = planeGeneration_;
    return false;
}

void GlDevice::RecordPlanes(GlTexture* tex) {
    const bool slotsKnown = visitGeneration_ == planeGeneration_;
    for (PlaneVisit& v : planeVisits_) {
        if (!v.record) continue;
        // A slot found free may have been taken by an earlier key of this draw.
        PlaneSlot* p = v.slot;
        if (!slotsKnown || !p || (p->generation == planeGeneration_ && p->key != v.key)) p = FindPlaneSlot(v.key);
        if (p->generation != planeGeneration_) {
            *p = PlaneSlot{v.key, tex, planeGeneration_, 0};
            ++planeCount_;
        } else if (v.record == MEETS_ANY && p->texture != tex) {
            p->mixed = 1;
        }
    }
    visitGeneration_ = 0;
}

void GlDevice::BindPointers(bool stream) {
    if (pointersOnStream_ == stream) return;
    if (stream) return;  // the stream's pointers are set at each draw
    BindVertexArena();
}

void GlDevice::PointAtStreamBuffer() {
    // One copy of the run's vertices for all its textures' draws: drawn from client memory, each
    // draw would copy every vertex between the lowest and the highest it uses, and a regrouped
    // run's textures are spread over all of them. Re-specifying the whole store lets GL give it
    // new memory rather than wait for earlier draws.
    if (!streamBuffer_) {
        GLuint name = 0;
        glGenBuffers(1, &name);
        streamBuffer_ = name;
    }
    glBindBuffer(GL_ARRAY_BUFFER, streamBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(streamVerts_.size() * sizeof(float)), streamVerts_.data(),
                 GL_STREAM_DRAW);
    glVertexPointer(3, GL_FLOAT, STRIDE, reinterpret_cast<const void*>(0));
    glNormalPointer(GL_FLOAT, STRIDE, reinterpret_cast<const void*>(12));
    glTexCoordPointer(2, GL_FLOAT, STRIDE, reinterpret_cast<const void*>(24));
    pointersOnStream_ = true;
}

void GlDevice::PointAtClientVertices(const float* vertices) {
    // Client memory: GL copies what a draw reads as it goes, without waiting on earlier draws
    // the way re-filling a buffer object they read from would.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glVertexPointer(3, GL_FLOAT, STRIDE, vertices);
    glNormalPointer(GL_FLOAT, STRIDE, vertices + 3);
    glTexCoordPointer(2, GL_FLOAT, STRIDE, vertices + 6);
    pointersOnStream_ = true;
}

void GlDevice::Finish() {
    Flush();
    glFinish();
    flushChooser_.FrameDropped();  // a frame waited for says nothing of how fast frames go
}

void GlDevice::SetBatching(bool on) {
    Flush();
    batching_ = on;
}

void GlDevice::SetRegrouping(bool on) {
    Flush();
    regrouping_ = on;
}

void GlDevice::SetLayering(bool on) {
    Flush();
    layering_ = on;
}

void GlDevice::SetLayeredParts(bool on) {
    Flush();
    layeredParts_ = on;
}

void GlDevice::SetEarlyFlushes(FlushChoice choice) {
    Flush();
    flushChooser_.SetChoice(choice);
}

bool GlDevice::JoinsLayeredRun(GlTexture* tex) const {
    if (!tex) return false;
    if (layers_.empty()) return true;
    if (tex->Width() != layers_[0]->Width() || tex->Height() != layers_[0]->Height()) return false;
    return layers_.size() < MAX_LAYERS || std::find(layers_.begin(), layers_.end(), tex) != layers_.end();
}

void GlDevice::AppendLayered(GlVertexBuffer* vb, uint64_t first, PrimitiveType type, uint32_t primitiveCount) {
    GlTexture* tex = DrawableTexture();
    auto at = std::find(layers_.begin(), layers_.end(), tex);
    if (at == layers_.end()) at = layers_.insert(layers_.end(), tex);
    layeredDraws_.push_back(
        LayeredDraw{vb, first, primitiveCount, type, static_cast<uint32_t>(at - layers_.begin())});
    layeredRun_ = true;
}

void GlDevice::KeepLayeredRun() {
    // The vertices depend on the draws alone (a layer by its number): the textures are chosen at draw time.
    if (keptValid_ && layeredDraws_ == keptDraws_) return;
    layeredVertices_.clear();
    layeredIndices_.clear();
    for (const LayeredDraw& d : layeredDraws_) {
        // The layer's middle: r x depth lands on a whole texel row, so no other layer is mixed in.
        const float r = (static_cast<float>(d.layer) + 0.5f) / static_cast<float>(MAX_LAYERS);
        const float* v = reinterpret_cast<const float*>(d.buffer->Data()) + d.first * (STRIDE / sizeof(float));
        const uint32_t base = static_cast<uint32_t>(layeredVertices_.size() / LAYERED_FLOATS);
        for (uint32_t k = 0; k < d.primitiveCount + 2; ++k) {
            const float* src = v + static_cast<size_t>(k) * (STRIDE / sizeof(float));
            layeredVertices_.insert(layeredVertices_.end(), src, src + 8);
            layeredVertices_.push_back(r);
        }
        AppendTriangles(&layeredIndices_, d.type, base, d.primitiveCount);
    }
    if (!keptVertexBuffer_) {
        GLuint names[2] = {0, 0};
        glGenBuffers(2, names);
        keptVertexBuffer_ = names[0];
        keptIndexBuffer_ = names[1];
    }
    glBindBuffer(GL_ARRAY_BUFFER, keptVertexBuffer_);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(layeredVertices_.size() * sizeof(float)),
                 layeredVertices_.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, keptIndexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(layeredIndices_.size() * sizeof(uint32_t)),
                 layeredIndices_.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    keptIndexCount_ = static_cast<uint32_t>(layeredIndices_.size());
    keptDraws_ = layeredDraws_;
    keptValid_ = true;
}

uint32_t GlDevice::LayeredTexture() {
    for (LayerStack& s : stacks_)
        if (s.layers == layers_) {
            s.lastUse = ++stackUses_;
            return s.name;
        }
    if (stacks_.size() >= 4) {
        auto oldest = std::min_element(stacks_.begin(), stacks_.end(),
                                       [](const LayerStack& a, const LayerStack& b) { return a.lastUse < b.lastUse; });
        GLuint old = oldest->name;
        glDeleteTextures(1, &old);
        stacks_.erase(oldest);
    }
    const GLsizei w = static_cast<GLsizei>(layers_[0]->Width()), h = static_cast<GLsizei>(layers_[0]->Height());
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_3D, name);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, w, h, static_cast<GLsizei>(MAX_LAYERS), 0, GL_BGRA,
                 GL_UNSIGNED_INT_8_8_8_8_REV, nullptr);
    std::vector<uint32_t> texels(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (size_t k = 0; k < layers_.size(); ++k) {
        glBindTexture(GL_TEXTURE_2D, layers_[k]->Name());
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, texels.data());
        glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, static_cast<GLint>(k), w, h, 1, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV,
                        texels.data());
    }
    glBindTexture(GL_TEXTURE_2D, boundTexture_ ? boundTexture_->Name() : 0);
    stacks_.push_back(LayerStack{layers_, name, ++stackUses_});
    return name;
}

void GlDevice::DrawLayeredRun() {
    layeredRun_ = false;
    if (layeredDraws_.empty() || layers_.empty()) {
        layeredDraws_.clear();
        layers_.clear();
        return;
    }
    KeepLayeredRun();
    constexpr GLsizei LAYERED_STRIDE = LAYERED_FLOATS * sizeof(float);
    // Offsets into the kept buffers.
    auto floatAt = [](size_t k) { return reinterpret_cast<const void*>(k * sizeof(float)); };
    glBindBuffer(GL_ARRAY_BUFFER, keptVertexBuffer_);
    glVertexPointer(3, GL_FLOAT, LAYERED_STRIDE, floatAt(0));
    glNormalPointer(GL_FLOAT, LAYERED_STRIDE, floatAt(3));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, keptIndexBuffer_);
    auto drawTriangles = [this] {
        for (uint32_t start = 0; start < keptIndexCount_;) {
            const uint32_t part =
                layeredParts_ ? std::min(keptIndexCount_ - start, LAYERED_PART_TRIANGLES * 3) : keptIndexCount_;
            if (start > 0) FlushGl();
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(part), GL_UNSIGNED_INT,
                           reinterpret_cast<const void*>(start * sizeof(uint32_t)));
            ++glDrawCalls_;
            sinceGlFlush_ += part / 3;
            start += part;
        }
    };
    const uint32_t* ss = applied_.samplerState;
    SwitchBlendAndTest(applied_.renderState[RS_ALPHABLENDENABLE] != 0, applied_.renderState[RS_ALPHATESTENABLE] != 0);
    if (layers_.size() == 1) {
        GlTexture* t = layers_[0];
        if (t != boundTexture_) {
            if (!boundTexture_) glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, t->Name());
            boundTexture_ = t;
        }
        ApplySamplerToTexture(t, ss);
        glTexCoordPointer(2, GL_FLOAT, LAYERED_STRIDE, floatAt(6));
        drawTriangles();
    } else {
        const uint32_t name = LayeredTexture();
        glDisable(GL_TEXTURE_2D);
        glEnable(GL_TEXTURE_3D);
        glBindTexture(GL_TEXTURE_3D, name);
        glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, FilterToGl(ss[SAMP_MAGFILTER]));
        glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, FilterToGl(ss[SAMP_MINFILTER]));
        glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, AddressToGl(ss[SAMP_ADDRESSU]));
        glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, AddressToGl(ss[SAMP_ADDRESSV]));
        glTexCoordPointer(3, GL_FLOAT, LAYERED_STRIDE, floatAt(6));
        drawTriangles();
        glDisable(GL_TEXTURE_3D);
        glBindTexture(GL_TEXTURE_3D, 0);
        // GL is left with the texture the state says, as after any run.
        GlTexture* t = static_cast<GlTexture*>(applied_.texture);
        if (t && t->Name()) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, t->Name());
            ApplySamplerToTexture(t, ss);
            boundTexture_ = t;
        } else {
            boundTexture_ = nullptr;
        }
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    BindVertexArena();
    layeredDraws_.clear();
    layers_.clear();
}

HResult GlDevice::DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) {
    GlVertexBuffer* vb = static_cast<GlVertexBuffer*>(state_.stream);
    if (!vb || primitiveCount == 0 || state_.fvf != FVF_MESH || state_.streamStride != STRIDE ||
        state_.streamOffset % STRIDE != 0)
        return FAIL;
    if (type != PT_TRIANGLESTRIP && type != PT_TRIANGLEFAN) return FAIL;
    uint64_t first = state_.streamOffset / STRIDE + static_cast<uint64_t>(startVertex);
    uint64_t count = static_cast<uint64_t>(primitiveCount) + 2;
    if (first + count > vb->Length() / STRIDE || vb->ArenaSize() == 0) return FAIL;
    flushChooser_.FrameBegins();
    EndOverlayNow();
    ++drawPrimitiveCalls_;
    uint32_t base = vb->ArenaOffset() / STRIDE + static_cast<uint32_t>(first);
    // Whether the draw goes through the stream decides the world GL must hold for it.
    drawStreamed_ = StreamsThrough(static_cast<uint32_t>(count));
    dirty_ |= D_WORLD;
    if (drawStreamed_) TransformToScratch(vb->Data() + first * STRIDE, static_cast<uint32_t>(count));
    if (!batching_) {
        SyncState();
        if (drawStreamed_) {
            PointAtClientVertices(scratch_.data());
        } else {
            BindPointers(false);
        }
        SwitchBlendAndTest(state_.renderState[RS_ALPHABLENDENABLE] != 0, state_.renderState[RS_ALPHATESTENABLE] != 0);
        glDrawArrays(type == PT_TRIANGLESTRIP ? GL_TRIANGLE_STRIP : GL_TRIANGLE_FAN,
                     drawStreamed_ ? 0 : static_cast<GLint>(base), static_cast<GLsizei>(count));
        ++glDrawCalls_;
        Drawn(primitiveCount);
        return OK;
    }
    const uint32_t changes = RealChanges(dirty_);
    dirty_ = 0;
    GlTexture* tex = DrawableTexture();
    // The same vertices drawn again with another texture meet the first draw at equal depth, where
    // the later draw must win: that ends the run.
    const bool redraw = base == lastDrawBase_ && count == lastDrawCount_ &&
                        (!drawStreamed_ || SameMatrix(state_.world, lastDrawWorld_));
    lastDrawBase_ = base;
    lastDrawCount_ = static_cast<uint32_t>(count);
    lastDrawWorld_ = state_.world;
    // Textured wireframe: one run in the draws' own order across texture changes.
    if (layering_ && tex && state_.renderState[RS_FILLMODE] == FILL_WIREFRAME) {
        if (layeredRun_ && (changes & ~static_cast<uint32_t>(D_TEXTURE)) == 0 && JoinsLayeredRun(tex)) {
            applied_.texture = tex;  // bound when the run is drawn
        } else {
            Flush();
            if (changes) Apply(changes, false);
        }
        AppendLayered(vb, first, type, primitiveCount);
        return OK;
    }
    if (layeredRun_) Flush();
    // A run draws from one vertex store; and in a regrouped run, a plane already drawn on with
    // another texture could show the order at equal depth.
    if (drawStreamed_ && regrouping_) CollectPlaneKeys(type, primitiveCount);
    const bool conflict = drawStreamed_ && bucketCount_ > 0 && runIndependent_ && PlaneConflict(tex, primitiveCount);
    if (bucketCount_ > 0 && (runStream_ != drawStreamed_ || conflict)) Flush();
    if (changes == D_TEXTURE && bucketCount_ > 0 && runIndependent_ && regrouping_ && !redraw &&
        OrderIndependent(tex)) {
        applied_.texture = tex;  // bound when the run is drawn
    } else {
        if (changes) {
            Flush();
            Apply(changes, false);
        }
        if (bucketCount_ == 0) {
            runIndependent_ = regrouping_ && OrderIndependent(tex);
            runStream_ = drawStreamed_;
        }
    }
    if (drawStreamed_) {
        if (runIndependent_) RecordPlanes(tex);
        base = static_cast<uint32_t>(streamVerts_.size() / 8);
        streamVerts_.insert(streamVerts_.end(), scratch_.begin(), scratch_.end());
    }
    AppendTriangles(&BucketFor(tex), type, base, primitiveCount);
    return OK;
}

HResult GlDevice::Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t argb, float z, uint32_t) {
    flushChooser_.FrameBegins();
    EndOverlayNow();
    Flush();
    GLbitfield mask = 0;
    if (flags & CLEAR_TARGET) {
        float c[4];
        ArgbToFloats(argb, c);
        glClearColor(c[0], c[1], c[2], c[3]);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & CLEAR_ZBUFFER) {
        glClearDepth(std::min(1.0f, std::max(0.0f, z)));
        mask |= GL_DEPTH_BUFFER_BIT;
        glDepthMask(GL_TRUE);  // a clear reaches the depth buffer whatever the z-write state
    }
    if (!mask) return OK;
    if (rectCount && rects) {
        glEnable(GL_SCISSOR_TEST);
        for (uint32_t i = 0; i < rectCount; ++i) {
            const Rect& r = rects[i];
            if (r.right <= r.left || r.bottom <= r.top) continue;
            glScissor(r.left, static_cast<GLint>(bbHeight_) - r.bottom, r.right - r.left, r.bottom - r.top);
            glClear(mask);
        }
        glDisable(GL_SCISSOR_TEST);
    } else {
        glClear(mask);
    }
    if (flags & CLEAR_ZBUFFER) glDepthMask(applied_.renderState[RS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    return OK;
}

HResult GlDevice::BeginScene() {
    flushChooser_.FrameBegins();
    return OK;
}

HResult GlDevice::EndScene() {
    EndOverlayNow();
    Flush();
    sinceGlFlush_ = 0;  // the frame is shown next, and showing it flushes GL
    return OK;
}

void GlDevice::ResetState() {
    EndOverlayNow();
    Flush();
    SetTexture(0, nullptr);
    SetStreamSource(0, nullptr, 0, 0);
    state_.Reset();
    Apply(D_ALL, true);
    dirty_ = 0;
    keptValid_ = false;
}

// ---------------------------------------------------------------- overlay passes

void GlDevice::BeginOverlay() {
    if (overlayDepth_++ > 0) return;
    Flush();
    SetupScreenPass(bbWidth_, bbHeight_);
}

void GlDevice::EndOverlay() {
    if (overlayDepth_ == 0) return;
    if (--overlayDepth_ > 0) return;
    // Put back every state the pass touched; pending changes are applied with it.
    BindVertexArena();
    Apply(D_ALL, true);
    dirty_ = 0;
}

void GlDevice::EndOverlayNow() {
    if (overlayDepth_ == 0) return;
    overlayDepth_ = 1;
    EndOverlay();
}

// ---------------------------------------------------------------- objects

HResult GlDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, Pool, VertexBuffer** out) {
    if (!out) return FAIL;
    *out = nullptr;
    if (length == 0) return FAIL;
    auto* vb = new GlVertexBuffer(this, length);
    AllocateInArena(vb);
    buffers_.insert(vb);
    *out = vb;
    return OK;
}

void GlDevice::AllocateInArena(GlVertexBuffer* vb) {
    uint32_t size = (vb->Length() + STRIDE - 1) / STRIDE * STRIDE;
    uint32_t offset = 0;
    bool found = false;
    for (size_t i = 0; i < freeBlocks_.size(); ++i) {
        FreeBlock& b = freeBlocks_[i];
        if (b.size < size) continue;
        offset = b.offset;
        b.offset += size;
        b.size -= size;
        if (b.size == 0) freeBlocks_.erase(freeBlocks_.begin() + static_cast<long>(i));
        found = true;
        break;
    }
    if (!found) {
        if (static_cast<uint64_t>(arenaUsed_) + size > arenaCapacity_) GrowArena(arenaUsed_ + size);
        offset = arenaUsed_;
        arenaUsed_ += size;
    }
    vb->SetArenaSlot(offset, size);
    glBindBuffer(GL_ARRAY_BUFFER, arena_);
    glBufferSubData(GL_ARRAY_BUFFER, offset, vb->Length(), vb->Data());
}

void GlDevice::BindVertexArena() {
    pointersOnStream_ = false;
    glBindBuffer(GL_ARRAY_BUFFER, arena_);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, STRIDE, reinterpret_cast<const void*>(0));
    glNormalPointer(GL_FLOAT, STRIDE, reinterpret_cast<const void*>(12));
    glTexCoordPointer(2, GL_FLOAT, STRIDE, reinterpret_cast<const void*>(24));
}

void GlDevice::GrowArena(uint32_t needed) {
    Flush();
    uint64_t capacity = std::max<uint64_t>(static_cast<uint64_t>(arenaCapacity_) * 2, needed);
    arenaCapacity_ = static_cast<uint32_t>(std::min<uint64_t>(capacity, 0xFFFFFFE0u));
    glBindBuffer(GL_ARRAY_BUFFER, arena_);
    glBufferData(GL_ARRAY_BUFFER, arenaCapacity_, nullptr, GL_STATIC_DRAW);
    for (GlVertexBuffer* b : buffers_)
        if (b->ArenaSize()) glBufferSubData(GL_ARRAY_BUFFER, b->ArenaOffset(), b->Length(), b->Data());
}

void GlDevice::OnVertexBufferLock(GlVertexBuffer*) { Flush(); }

void GlDevice::OnVertexBufferUnlock(GlVertexBuffer* vb) {
    keptValid_ = false;
    glBindBuffer(GL_ARRAY_BUFFER, arena_);
    glBufferSubData(GL_ARRAY_BUFFER, vb->ArenaOffset(), vb->Length(), vb->Data());
}

void GlDevice::OnVertexBufferDestroyed(GlVertexBuffer* vb) {
    Flush();
    keptValid_ = false;
    buffers_.erase(vb);
    if (vb->ArenaSize() == 0) return;
    freeBlocks_.push_back(FreeBlock{vb->ArenaOffset(), vb->ArenaSize()});
    if (freeBlocks_.size() > 64) {
        // Merge neighbours and give the tail back.
        std::sort(freeBlocks_.begin(), freeBlocks_.end(),
                  [](const FreeBlock& a, const FreeBlock& b) { return a.offset < b.offset; });
        std::vector<FreeBlock> merged;
        for (const FreeBlock& b : freeBlocks_) {
            if (!merged.empty() && merged.back().offset + merged.back().size == b.offset)
                merged.back().size += b.size;
            else
                merged.push_back(b);
        }
        if (!merged.empty() && merged.back().offset + merged.back().size == arenaUsed_) {
            arenaUsed_ = merged.back().offset;
            merged.pop_back();
        }
        freeBlocks_.swap(merged);
    }
}

void GlDevice::OnTextureDestroyed(GlTexture* tex) {
    Flush();
    keptValid_ = false;
    for (size_t i = stacks_.size(); i-- > 0;) {
        if (std::find(stacks_[i].layers.begin(), stacks_[i].layers.end(), tex) == stacks_[i].layers.end()) continue;
        GLuint name = stacks_[i].name;
        glDeleteTextures(1, &name);
        stacks_.erase(stacks_.begin() + static_cast<std::ptrdiff_t>(i));
    }
    textures_.erase(tex);
    if (applied_.texture == tex || boundTexture_ == tex) {
        applied_.texture = nullptr;
        boundTexture_ = nullptr;
        glDisable(GL_TEXTURE_2D);
        if (state_.texture != nullptr) dirty_ |= D_TEXTURE;
    }
    GLuint name = tex->Name();
    if (name) glDeleteTextures(1, &name);
}

HResult GlDevice::CreateTextureFromImage(const TextureImage& image, const std::string& sourceFile, Texture** out) {
    if (!out) return FAIL;
    *out = nullptr;
    if (image.width == 0 || image.height == 0 ||
        image.argb.size() < static_cast<size_t>(image.width) * image.height)
        return FAIL;
    EndOverlayNow();
    Flush();
    GLuint name = 0;
    glGenTextures(1, &name);
    if (!name) return FAIL;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(image.width), static_cast<GLsizei>(image.height),
                 0, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, image.argb.data());
    const size_t texels = static_cast<size_t>(image.width) * image.height;
    bool opaque = true;
    for (size_t i = 0; i < texels && opaque; ++i) opaque = (image.argb[i] >> 24) == 0xFFu;
    auto* tex = new GlTexture(this, name, image.width, image.height, sourceFile, opaque);
    ApplySamplerToTexture(tex, state_.samplerState);
    textures_.insert(tex);
    // Put the bound texture back.
    if (boundTexture_) glBindTexture(GL_TEXTURE_2D, boundTexture_->Name());
    *out = tex;
    return OK;
}

HResult GlDevice::CreateFontObject(const FontDesc& desc, Font** out) {
    if (!out) return FAIL;
    *out = nullptr;
    GlFont* font = nullptr;
    std::string error;
    if (Failed(GlFont::Create(this, desc, &font, &error))) {
        std::fprintf(stderr, "lakeside: %s\n", error.c_str());
        return FAIL;
    }
    fonts_.insert(font);
    *out = font;
    return OK;
}

}  // namespace plat
