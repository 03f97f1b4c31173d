// The 3-D device on fixed-function OpenGL: Direct3D-shaped state kept in a DeviceState,
// applied to GL lazily at draw time, with consecutive draws that share all state merged into one
// GL draw call, runs of opaque depth-tested draws that differ only in texture regrouped into
// one GL draw per texture, and textured wireframe runs drawn in their order in one GL draw with
// their textures as layers of one 3-D texture (kept from frame to frame, handed to GL in flushed
// parts when large). Small meshes placed by a world matrix (sprites,
// decals, boxes) are transformed on the CPU and drawn from client memory with the view alone, so
// that draws that differ only in their placement merge too. Blending and the alpha test are
// switched per GL draw to what it needs: off where they cannot change its pixels.
#pragma once
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <utility>
#include <vector>
#include "platform/device.h"
#include "platform/device_state.h"
#include "flush_chooser.h"

namespace plat {

class GlVertexBuffer;
class GlTexture;
class GlFont;

class GlDevice : public Device {
public:
    // Needs the GL context current. Batching is on unless LAKESIDE_GL_NO_BATCH=1 is set;
    // regrouping by texture is on unless LAKESIDE_GL_NO_REGROUP=1 is set; layered wireframe runs
    // unless LAKESIDE_GL_NO_LAYERS=1 is set, drawn in parts unless LAKESIDE_GL_NO_PARTS=1 is set;
    // early flushes chosen by measurement, unless LAKESIDE_GL_NO_EARLY_FLUSHES=1 turns them off
    // or else LAKESIDE_GL_EARLY_FLUSHES=1 turns them on for good.
    GlDevice(uint32_t backBufferWidth, uint32_t backBufferHeight);
    ~GlDevice() override;

    HResult SetTransform(TransformType type, const Matrix* matrix) override;
    HResult SetRenderState(RenderStateType state, uint32_t value) override;
    HResult SetTextureStageState(uint32_t stage, TextureStageStateType type, uint32_t value) override;
    HResult SetSamplerState(uint32_t sampler, SamplerStateType type, uint32_t value) override;
    HResult SetMaterial(const Material* material) override;
    HResult SetLight(uint32_t index, const Light* light) override;
    HResult LightEnable(uint32_t index, bool enable) override;
    HResult SetTexture(uint32_t stage, Texture* texture) override;
    HResult SetFVF(uint32_t fvf) override;
    HResult SetStreamSource(uint32_t stream, VertexBuffer* buffer, uint32_t offset, uint32_t stride) override;
    HResult DrawPrimitive(PrimitiveType type, uint32_t startVertex, uint32_t primitiveCount) override;
    HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, Pool pool,
                               VertexBuffer** out) override;
    HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t argb, float z,
                  uint32_t stencil) override;
    HResult BeginScene() override;
    HResult EndScene() override;
    HResult CreateTextureFromImage(const TextureImage& image, const std::string& sourceFile,
                                   Texture** out) override;
    HResult CreateFontObject(const FontDesc& desc, Font** out) override;

    // What a device reset does: every state back to its default; buffers and textures stay.
    void ResetState();
    const DeviceState& State() const { return state_; }

    // Draws whatever batch is pending.
    void Flush();
    // Flush and wait until GL has finished drawing (for measurements).
    void Finish();
    // true: merge consecutive compatible draws; false: one GL draw per DrawPrimitive.
    void SetBatching(bool on);
    bool Batching() const { return batching_; }
    // true (with batching on): within a run of draws that differ only in their texture and whose
    // order cannot show (depth-tested and written with LESSEQUAL, solid, and either unblended or
    // opaque), draw once per texture, each texture's draws in their order.
    void SetRegrouping(bool on);
    bool Regrouping() const { return regrouping_; }
    // true (with batching on): a wireframe run goes on across texture changes, its draws kept in
    // their order, as long as every texture is of one size; it is drawn in one GL draw with the
    // textures as the layers of one 3-D texture. Wireframe lines of neighbouring draws meet at
    // equal depth, so their order shows and they are never regrouped.
    void SetLayering(bool on);
    bool Layering() const { return layering_; }
    // true: a large layered run is handed to GL in parts with a flush after each but the last,
    // so that a renderer that draws only what has been flushed (llvmpipe bins a frame's work and
    // draws it when flushed) draws the earlier parts while the later ones are set up. The
    // picture is the same either way.
    void SetLayeredParts(bool on);
    bool LayeredParts() const { return layeredParts_; }
    // Early flushes: GL is flushed whenever a thousand or so triangles have been drawn since the
    // last flush, for the same reason; a frame then overlaps its setting up with its drawing,
    // where the machine has cores to spare. Measured (the default) has the frames timed and
    // the faster way kept (see FlushChooser); Always and Never force them. The picture is the
    // same either way.
    void SetEarlyFlushes(FlushChoice choice);
    FlushChoice EarlyFlushChoice() const { return flushChooser_.Choice(); }
    // Whether the frame being drawn flushes early.
    bool EarlyFlushes() const { return flushChooser_.EarlyFlushes(); }
    // With the measured choice: whether a test of both ways is under way, and a new test from the
    // next frame on.
    bool EarlyFlushTesting() const { return flushChooser_.Testing(); }
    void RetestEarlyFlushes() { flushChooser_.Retest(); }
    // The clock the frames are timed with, in microseconds (null: the steady clock).
    void SetFrameClock(FlushChooser::Clock clock) { flushChooser_.SetClock(std::move(clock)); }
    // The frame has been shown (called once the buffers have been swapped).
    void FrameShown() { flushChooser_.FrameShown(); }

    // Counters for tests and measurements.
    uint64_t GlDrawCalls() const { return glDrawCalls_; }
    uint64_t GlFlushes() const { return glFlushes_; }
    uint64_t DrawPrimitiveCalls() const { return drawPrimitiveCalls_; }

    // Screen-space passes (text) that set GL state of their own: Begin flushes and sets up a
    // 2-D pass in back-buffer pixels (origin top-left); End puts the device's GL state back.
    // Passes nest; a draw or Clear inside one ends it first.
    void BeginOverlay();
    void EndOverlay();
    bool InOverlay() const { return overlayDepth_ > 0; }

    // Bookkeeping of the objects made by this device.
    void OnVertexBufferLock(GlVertexBuffer* vb);
    void OnVertexBufferUnlock(GlVertexBuffer* vb);
    void OnVertexBufferDestroyed(GlVertexBuffer* vb);
    void OnTextureDestroyed(GlTexture* tex);
    void OnFontDestroyed(GlFont* font) { fonts_.erase(font); }

private:
    enum Dirty : uint32_t {
        D_RENDER = 1, D_STAGE = 2, D_SAMPLER = 4, D_TEXTURE = 8, D_WORLD = 16, D_VIEW = 32,
        D_PROJECTION = 64, D_MATERIAL = 128, D_LIGHTS = 256, D_ALL = 511
    };
    void EndOverlayNow();
    void SyncState();          // applies pending state, flushing first if anything really changed
    uint32_t RealChanges(uint32_t candidates) const;
    void Apply(uint32_t changes, bool force);
    void ApplyRenderStates(bool force);
    void ApplyStage();
    void ApplyTexture(bool force);
    void ApplySamplerToTexture(GlTexture* tex, const uint32_t* samplerState);
    void ApplyMatricesAndLights(uint32_t changes, bool force);
    void ApplyLightParams(int i);
    void ApplyLightPosition(int i);
    void ApplyMaterial();
    void AllocateInArena(GlVertexBuffer* vb);
    void GrowArena(uint32_t needed);
    void BindVertexArena();
    GlTexture* DrawableTexture() const;
    bool OrderIndependent(const GlTexture* tex) const;
    bool FragmentAlphaIsOne(const GlTexture* tex) const;
    bool AlphaTestKeepsOnlyOpaque() const;
    bool BlendReplaces(const GlTexture* tex) const;
    void Drawn(size_t triangles);  // counts a GL draw's triangles and flushes early when due
    void FlushGl();
    void SwitchBlendAndTest(bool blend, bool test);
    std::vector<uint32_t>& BucketFor(GlTexture* tex);
    // The stream path: whether this draw takes it (and the normal matrix it then uses), the
    // world matrix GL is to hold for the draw, the draw's vertices in world space, and the
    // planes a regrouped run has drawn on with each texture.
    bool StreamsThrough(uint32_t count);
    const Matrix& TargetWorld() const;
    void TransformToScratch(const uint8_t* vertices, uint32_t count);
    void CollectPlaneKeys(PrimitiveType type, uint32_t primitiveCount);
    bool PlaneConflict(GlTexture* tex, uint32_t primitiveCount);
    void RecordPlanes(GlTexture* tex);
    void BindPointers(bool stream);
    void PointAtClientVertices(const float* vertices);
    void PointAtStreamBuffer();
    bool JoinsLayeredRun(GlTexture* tex) const;
    void AppendLayered(GlVertexBuffer* vb, uint64_t first, PrimitiveType type, uint32_t primitiveCount);
    void DrawLayeredRun();
    void KeepLayeredRun();
    uint32_t LayeredTexture();

    DeviceState state_;     // what the game has set
    DeviceState applied_;   // what GL holds now
    uint32_t dirty_ = D_ALL;
    bool lightPosValid_[MAX_LIGHTS] = {};

    bool batching_ = true;
    bool regrouping_ = true;
    bool layering_ = true;
    bool layeredParts_ = true;
    FlushChooser flushChooser_;
    size_t sinceGlFlush_ = 0;  // triangles drawn since GL was last flushed
    // The pending layered run: its draws (which vertices, drawn how, on which layer) and the
    // textures that are its layers, in order of first use.
    static constexpr size_t MAX_LAYERS = 16;
    struct LayeredDraw {
        const GlVertexBuffer* buffer;
        uint64_t first;
        uint32_t primitiveCount;
        PrimitiveType type;
        uint32_t layer;
        bool operator==(const LayeredDraw& o) const {
            return buffer == o.buffer && first == o.first && primitiveCount == o.primitiveCount && type == o.type &&
                   layer == o.layer;
        }
    };
    bool layeredRun_ = false;
    std::vector<LayeredDraw> layeredDraws_;
    std::vector<GlTexture*> layers_;
    // The layered run drawn last, kept in GL buffers: its vertices (position, normal, texture s,
    // t and the layer's r) and triangles, for as long as the same draws of the same unchanged
    // vertex buffers come again (the orbit view's terrain every frame, however the eye moves).
    std::vector<LayeredDraw> keptDraws_;
    bool keptValid_ = false;
    uint32_t keptVertexBuffer_ = 0, keptIndexBuffer_ = 0;
    uint32_t keptIndexCount_ = 0;
    std::vector<float> layeredVertices_;    // where a run's vertices are put together
    std::vector<uint32_t> layeredIndices_;
    // 3-D textures made from the layers of earlier runs (the same textures in the same order come
    // every frame).
    struct LayerStack {
        std::vector<GlTexture*> layers;
        uint32_t name;
        uint64_t lastUse;
    };
    std::vector<LayerStack> stacks_;
    uint64_t stackUses_ = 0;
    // The pending run: triangle-list indices into the arena, one bucket per texture in the order
    // of first use. A run has one bucket unless its draws are order-independent.
    struct Bucket {
        GlTexture* texture;
        std::vector<uint32_t> indices;
        bool alphaOne;  // every fragment of the bucket has alpha one
        bool replaces;  // every fragment it writes replaces what is there
    };
    std::vector<Bucket> buckets_;  // the first bucketCount_ are in use; the rest keep their memory
    size_t bucketCount_ = 0;
    size_t currentBucket_ = 0;
    bool runIndependent_ = false;
    uint32_t lastDrawBase_ = 0, lastDrawCount_ = 0;  // arena vertices of the last draw
    Matrix lastDrawWorld_{};

    // The stream path.
    bool drawStreamed_ = false;     // the draw being issued takes it
    bool runStream_ = false;        // the pending run's vertices are in streamVerts_
    bool pointersOnStream_ = false;
    float normalMatrix_[3][3] = {};  // inverse transpose of the world's upper 3 x 3
    std::vector<float> scratch_;     // the draw's vertices in world space, 8 floats each
    std::vector<float> streamVerts_;
    // What a regrouped run has drawn on a region of a plane: the first texture, and for a whole
    // plane's summary whether others followed.
    struct PlaneSlot {
        uint64_t key;
        GlTexture* texture;
        uint32_t generation;
        uint8_t mixed;
    };
    static size_t HomeSlot(uint64_t key);
    PlaneSlot* FindPlaneSlot(uint64_t key);
    // The keys of the draw being issued, each once: how the check and the record meet each, and
    // the slot the check found (valid while the table's generation is visitGeneration_).
    struct PlaneVisit {
        uint64_t key;
        PlaneSlot* slot;
        uint8_t check, record;
    };
    std::vector<PlaneVisit> planeVisits_;
    uint32_t visitGeneration_ = 0;
    std::vector<PlaneSlot> planes_;
    uint32_t planeGeneration_ = 1;
    uint32_t planeCount_ = 0;
    GlTexture* boundTexture_ = nullptr;  // what GL has bound and enabled (null: texturing off)
    bool glBlend_ = false, glAlphaTest_ = false;  // what GL has on (they follow each draw's needs)
    uint64_t glDrawCalls_ = 0;
    uint64_t glFlushes_ = 0;
    uint64_t drawPrimitiveCalls_ = 0;
    int overlayDepth_ = 0;
    uint32_t bbWidth_, bbHeight_;

    // Every vertex buffer's data lives at a fixed offset in one GL buffer.
    uint32_t arena_ = 0;
    uint32_t streamBuffer_ = 0;  // a regrouped stream run's vertices while it is drawn
    uint32_t arenaCapacity_ = 0;  // bytes
    uint32_t arenaUsed_ = 0;
    struct FreeBlock { uint32_t offset, size; };
    std::vector<FreeBlock> freeBlocks_;
    std::unordered_set<GlVertexBuffer*> buffers_;
    std::unordered_set<GlTexture*> textures_;
    std::unordered_set<GlFont*> fonts_;
};

}  // namespace plat
