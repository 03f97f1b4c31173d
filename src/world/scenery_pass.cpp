// DrawSceneryAndWildlife: the one pass that steps and draws the wildlife and the water-surface
// effects, and draws the scenery items and the billboards with their distance detail.
#include <cmath>
#include "common/single_precision.h"
#include "shell/game_app.h"

namespace {

// Billboard detail distances: three quads nearer than `nearer`, two nearer than `farther`, one
// beyond.
struct DetailDistances {
    double nearer, farther;
};

// A sprite turned towards the eye, as every viewer-facing sprite of the pass is.
double YawToEye(GameApp& app, double x, double y, double z) {
    return F32(app.HeadingAndPitchTo(x, y, z, app.eyeX, app.eyeY, app.eyeZ).heading + 3.142);
}

double DistanceToEye(const GameApp& app, double x, double y, double z) {
    return F32(Distance3D(x, y, z, app.eyeX, app.eyeY, app.eyeZ));
}

// A small random turn, -0.2..0.2, for the sprites that jitter.
double Jitter() { return F32(plat::GameRand() / 81917.5 - 0.2); }

// One ring where a bubble broke the surface, and up to two more by chance.
void SpawnSurfacingRings(GameApp& app, double x, double y, double z, double size) {
    auto ring = [&] { app.SpawnRippleRing(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z), size); };
    ring();
    if (plat::GameRand() < 15000) ring();
    if (plat::GameRand() < 15000) ring();
}

// A flat ring or wake on the water, seen from above and from below.
void DrawSurfaceDecal(GameApp& app, TextureName texture) {
    plat::Device* device = app.Device();
    device->SetTexture(0, app.textures[texture]);
    device->SetFVF(plat::FVF_MESH);
    for (plat::VertexBuffer* mesh : {app.decalQuadUpMesh, app.decalQuadDownMesh}) {
        if (!mesh) continue;
        device->SetStreamSource(0, mesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
    }
}

// Texture of a ring or wake stage 1..3.
TextureName ByStage(TextureName first, int32_t stage) {
    if (stage < 1) stage = 1;
    if (stage > 3) stage = 3;
    return static_cast<TextureName>(first + stage - 1);
}

void DrawGulls(GameApp& app) {
    for (Gull* gull : app.gulls) {
        gull->Update();
        // A flat sprite turned face down, seen from below.
        app.SetWorldTransform(gull->x, gull->altitude, gull->z, 3.142, gull->heading, 0, 2.0, 1.0, 1.0);
        app.DrawFlatQuad(TextureIdOf(TEX_GULL));
    }
}

// Whether a sprite at distance d within `range` is drawn: with the binoculars up, nothing
// nearer than 2 shows.
bool SpriteShown(const GameApp& app, double d, double range) {
    if (!(d < range)) return false;
    return app.binocularState == 0 || d > 2;
}

void DrawInsectSwarms(GameApp& app) {
    for (InsectSwarm* swarm : app.insectSwarms) {
        if (!swarm->active) continue;
        swarm->Update();
        const TextureId texture = TextureIdOf(swarm->type == 1 ? TEX_SWARM1 : TEX_SWARM2);
        for (int q = 0; q < SWARM_MEMBERS; ++q) {
            const double x = swarm->x[q], y = swarm->y[q], z = swarm->z[q];
            if (!SpriteShown(app, DistanceToEye(app, x, y, z), 50)) continue;
            const double roll = Jitter();
            const double turn = Jitter();
            const double yaw = F32(app.HeadingAndPitchTo(x, y, z, app.eyeX, app.eyeY, app.eyeZ).heading + turn);
            const double scale = F32(swarm->size[q] / 8.0);
            app.SetWorldTransform(x, y, z, 0, yaw, roll, scale, scale, scale);
            app.DrawTwoSidedQuad(texture);
        }
    }
}

// Feeding bubbles, ripple rings, wakes and bubble spots, one index of each pool at a time.
void DrawSurfaceEffects(GameApp& app) {
    const bool detail = app.highDetailScenery != 0;
    for (int32_t i = 0; i < FEEDING_BUBBLE_COUNT; ++i) {
        FeedingBubble& bubble = *app.feedingBubbles[i];
        if (bubble.active) {
            bubble.Update();
            if (detail && DistanceToEye(app, bubble.x, bubble.y, bubble.z) < 100) {
                const double scale = F32(bubble.speed / 3.0);
                app.SetWorldTransform(bubble.x, bubble.y, bubble.z, 0, YawToEye(app, bubble.x, bubble.y, bubble.z), 0,
                                      scale, scale, scale);
                app.DrawUprightQuad(TextureIdOf(TEX_BUBBLE));
            }
            // Surfaced bubbles are inactive from now on: they leave their rings once.
            if (bubble.surfaced) SpawnSurfacingRings(app, bubble.x, bubble.y, bubble.z, bubble.speed);
        }

        RippleRing& ring = *app.rippleRings[i];
        if (ring.active) {
            ring.Update();
            app.SetWorldTransform(ring.x, -0.05, ring.z, 0, ring.spinAngle, 0, ring.radius, ring.radius, ring.radius);
            DrawSurfaceDecal(app, ByStage(TEX_RIPPLE1, ring.stage));
        }

        Wake& wake = *app.wakes[i];
        if (wake.active) {
            wake.Update();
            const double scale = F32(wake.radius * 3.0);
            app.SetWorldTransform(wake.x, -0.05, wake.z, 0, wake.heading, 0, scale, scale, scale);
            DrawSurfaceDecal(app, ByStage(TEX_VRIP1, wake.stage));
        }

        if (!detail) continue;
        BubbleSpot& spot = *app.bubbleSpots[i];
        if (!spot.active) continue;
        spot.Update();
        if (DistanceToEye(app, spot.x, spot.y, spot.z) < 100) {
            const double scale = F32(spot.riseSpeed / 3.0);
            app.SetWorldTransform(spot.x, spot.y, spot.z, 0, YawToEye(app, spot.x, spot.y, spot.z), 0, scale, scale,
                                  scale);
            if (spot.wait < 0) app.DrawUprightQuad(TextureIdOf(TEX_BUBBLE));  // only while the bubble rises
        }
        // Set until the spot's next step: every frame drawn in between starts rings again.
        if (spot.surfaced) SpawnSurfacingRings(app, spot.x, spot.y, spot.z, spot.riseSpeed);
    }
}

void DrawDragonflies(GameApp& app) {
    for (Dragonfly* fly : app.dragonflies) {
        if (!fly->active) continue;
        fly->Update();
        if (!SpriteShown(app, DistanceToEye(app, fly->x, fly->y, fly->z), 70)) continue;
        const double yaw = F32(YawToEye(app, fly->x, fly->y, fly->z) + Jitter());
        app.SetWorldTransform(fly->x, fly->y, fly->z, 0, yaw, 0, 0.1, 0.1, 0.1);
        app.DrawUprightQuad(TextureIdOf(TEX_DRAGON));
    }
}

// ---- billboards ----

// A scale as a multiple of the billboard's size: size × mul / div.
struct Ratio {
    float mul, div;
    double Of(double size) const { return F32(F32(size * mul) / div); }
};
struct Scale {
    Ratio x, y, z;
};

// The three quads of a clump (kinds 4..9): textures and the offset between the quads.
struct ClumpKind {
    TextureName texture[3];
    float offset;
};
const ClumpKind CLUMP_KINDS[6] = {
    {{TEX_DECAL4, TEX_DECAL5, TEX_DECAL8}, 0.4f},  {{TEX_DECAL8, TEX_DECAL5, TEX_DECAL4}, 0.5f},
    {{TEX_DECAL8, TEX_DECAL4, TEX_DECAL5}, 0.6f},  {{TEX_DECAL9, TEX_DECAL10, TEX_DECAL14}, 0.4f},
    {{TEX_DECAL14, TEX_DECAL10, TEX_DECAL9}, 0.5f}, {{TEX_DECAL10, TEX_DECAL14, TEX_DECAL9}, 0.6f},
};
// Quads 1..3 of the sedges (kinds 4..6) and of the reeds (7..9).
const Scale SEDGE_SCALES[3] = {{{1, 1.25f}, {1, 1}, {1, 2}}, {{1, 1.2f}, {1, 1}, {1, 2}}, {{1, 1.15f}, {1, 1}, {1, 2}}};
const Scale REED_SCALE = {{1, 1.25f}, {1.5f, 1}, {1, 1.25f}};
// The wide reed's third quad in layout A is narrower.
const Scale WIDE_REED_THIRD_A = {{1, 1.55f}, {1.5f, 1}, {1, 1.25f}};

// A single sprite: its kind, texture and scale.
struct SingleKind {
    int32_t type;
    TextureName texture;
    Scale scale;
};
constexpr Scale TALL = {{1, 1}, {2, 1}, {1, 1}};
const SingleKind SINGLE_KINDS[] = {
    {1, TEX_DECAL1, TALL},  {2, TEX_DECAL2, TALL},  {3, TEX_DECAL3, TALL},
    {10, TEX_DECAL7, TALL}, {11, TEX_DECAL6, TALL}, {12, TEX_DECAL11, {{1, 3}, {1, 3}, {1, 3}}},
    {13, TEX_DECAL12, {{1, 2}, {1, 2}, {1, 2}}},      {14, TEX_DECAL13, TALL},
};

void DrawSprite(GameApp& app, double x, double y, double z, double yaw, double size, const Scale& scale,
                TextureName texture) {
    app.SetWorldTransform(x, y, z, 0, yaw, 0, scale.x.Of(size), scale.y.Of(size), scale.z.Of(size));
    app.DrawUprightQuad(TextureIdOf(texture));
}

// Clump layouts: A (x with a fraction of 0.5 or more) puts quad 1 north of the foot and quads 2
// and 3 south-west and south-east of it; B mirrors that north to south.
void DrawClump(GameApp& app, const Billboard& b, int quads) {
    const ClumpKind& kind = CLUMP_KINDS[b.type - 4];
    const double x = b.x, z = b.z, o = kind.offset;
    const bool layoutA = F32(x - std::trunc(x)) >= 0.5;
    const double side = layoutA ? -o : o;
    const double at[3][2] = {{x, F32(z - side)}, {F32(x - o), F32(z + side)}, {F32(x + o), F32(z + side)}};
    for (int q = 0; q < quads; ++q) {
        const Scale* scale = b.type <= 6 ? &SEDGE_SCALES[q] : &REED_SCALE;
        if (b.type == 9 && q == 2 && layoutA) scale = &WIDE_REED_THIRD_A;
        DrawSprite(app, at[q][0], b.y, at[q][1], b.yaw, b.size, *scale, kind.texture[q]);
    }
}

void DrawBillboards(GameApp& app) {
    const bool binoculars = app.binocularState != 0;
    const DetailDistances detail = app.highDetailScenery ? DetailDistances{50, 100} : DetailDistances{25, 40};
    for (int32_t n = 1; n < BILLBOARD_COUNT; ++n) {
        Billboard& b = *app.billboards[n];
        if (!b.active) continue;
        const double d = F32(Distance3D(b.x, 0, b.z, app.eyeX, 0, app.eyeZ));  // across the ground
        // Within 4 the billboard keeps its facing, so that it does not spin round the viewer.
        if (d > 4) b.yaw = YawToEye(app, b.x, b.y, b.z);
        if (!PlaceableRecord(b.x, b.y, b.z, b.size)) continue;
        if (b.type >= 4 && b.type <= 9) {
            int quads = 1;
            if (binoculars || d < detail.nearer) quads = 3;
            else if (d < detail.farther) quads = 2;
            DrawClump(app, b, quads);
            continue;
        }
        for (const SingleKind& kind : SINGLE_KINDS) {
            if (kind.type != b.type) continue;
            if (b.type == 13 && !binoculars && !(d < 120)) break;
            DrawSprite(app, b.x, b.y, b.z, b.yaw, b.size, kind.scale, kind.texture);
            break;
        }
    }
}

}  // namespace

void GameApp::DrawSceneryAndWildlife() {
    FreeFinishedSoundSlots();
    // While a photo is shown, wildlife and water effects neither move nor show.
    if (gameMode != MODE_PHOTO_ALBUM) {
        DrawGulls(*this);
        if (highDetailScenery) DrawInsectSwarms(*this);
        DrawSurfaceEffects(*this);
        if (highDetailScenery) DrawDragonflies(*this);
    }
    for (int32_t i = 0; i < SCENERY_ITEM_COUNT; ++i)
        if (sceneryItems[i]->active) DrawSceneryItem(i);
    DrawBillboards(*this);
}
