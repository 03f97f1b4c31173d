// Benchmark: the lake view from swim 1 on the GL backend (regrouped by texture, merged only, one GL
// call per draw), the lake world also with early flushes forced on and off, the map's orbiting
// wireframe view while it turns (layered, merged only, one GL call per draw), the game's terrain
// pass alone, and a baseline of the same terrain sent straight to GL as one vertex buffer with one
// draw per ground texture. Prints markdown table rows.
#include <SDL.h>
#include <time.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "lake_bench.h"
#include "platform/sdl/gl_api.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/gl_objects.h"
#include "gl_bench.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/system.h"

extern const bool HIGH_DETAIL_SCENERY = true;

namespace {

using lakebench::MsSince;
using Clock = std::chrono::steady_clock;

// The game's terrain cells as one GL vertex buffer of triangles, grouped by ground texture.
class Baseline {
public:
    explicit Baseline(GameApp& app) {
        std::map<int32_t, std::vector<MeshVertex>> byTexture;  // ground texture id (-1: none)
        const TerrainCellTable& grid = *app.terrainCells;
        for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) {
            const plat::VertexBuffer* vb = app.cellVertexBuffers[i];
            if (!vb) continue;
            int32_t id = grid[i].groundTexture;
            if (id < TERRAIN_FIRST_GROUND_TEXTURE || id > TERRAIN_LAST_GROUND_TEXTURE) id = -1;
            const auto* v = reinterpret_cast<const MeshVertex*>(vb->Data());
            // The strip's two triangles with the strip's winding: (0, 1, 2) and (2, 1, 3).
            for (int k : {0, 1, 2, 2, 1, 3}) byTexture[id].push_back(v[k]);
        }
        std::vector<MeshVertex> all;
        for (auto& [id, vertices] : byTexture) {
            plat::Texture* tex = id < 0 ? nullptr : app.textures[TEX_GRASS1 + (id - TERRAIN_FIRST_GROUND_TEXTURE)];
            auto* gt = static_cast<plat::GlTexture*>(tex);
            groups_.push_back({gt ? gt->Name() : 0u, static_cast<GLint>(all.size()), static_cast<GLsizei>(vertices.size())});
            all.insert(all.end(), vertices.begin(), vertices.end());
            if (gt) {
                // The game's sampler states: linear, wrapping.
                glBindTexture(GL_TEXTURE_2D, gt->Name());
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
                glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
            }
        }
        GLint previous = 0;
        glGetIntegerv(GL_ARRAY_BUFFER_BINDING, &previous);
        glGenBuffers(1, &vbo_);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(all.size() * sizeof(MeshVertex)), all.data(),
                     GL_STATIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, static_cast<GLuint>(previous));
    }
    ~Baseline() { glDeleteBuffers(1, &vbo_); }

    size_t Groups() const { return groups_.size(); }

    // Draws the terrain with the states of the game's terrain pass on the fishing screen, taking
    // transforms, lights and material from the device state. The device gets its GL state back
    // at the end.
    void Draw(plat::GlDevice* device) const {
        const plat::DeviceState& s = device->State();
        device->BeginOverlay();
        plat::Matrix p = s.projection;  // Direct3D depth 0..w to GL's -w..w
        for (int r = 0; r < 4; ++r) p.m[r][2] = 2.0f * s.projection.m[r][2] - s.projection.m[r][3];
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(&p.m[0][0]);
        glMatrixMode(GL_MODELVIEW);
        glLoadMatrixf(&s.view.m[0][0]);  // world is the identity
        for (int i = 0; i < plat::MAX_LIGHTS; ++i) {
            const GLenum id = GL_LIGHT0 + i;
            if (!s.lightEnabled[i]) {
                glDisable(id);
                continue;
            }
            const plat::Light& l = s.lights[i];
            glEnable(id);
            glLightfv(id, GL_AMBIENT, &l.ambient.r);
            glLightfv(id, GL_DIFFUSE, &l.diffuse.r);
            glLightfv(id, GL_SPECULAR, &l.specular.r);
            const bool directional = l.type == plat::LIGHT_DIRECTIONAL;
            glLightf(id, GL_CONSTANT_ATTENUATION, directional ? 1.0f : l.attenuation0);
            glLightf(id, GL_LINEAR_ATTENUATION, directional ? 0.0f : l.attenuation1);
            glLightf(id, GL_QUADRATIC_ATTENUATION, directional ? 0.0f : l.attenuation2);
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
            const float pos[4] = {directional ? -l.direction.x : l.position.x, directional ? -l.direction.y : l.position.y,
                                  directional ? -l.direction.z : l.position.z, directional ? 0.0f : 1.0f};
            glLightfv(id, GL_POSITION, pos);
        }
        const float black[4] = {0, 0, 0, 0};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
        glEnable(GL_LIGHTING);
        glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, &s.material.ambient.r);
        glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, &s.material.diffuse.r);
        glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, &s.material.emissive.r);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glDepthMask(GL_TRUE);
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(GL_GREATER, 254 / 255.0f);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);  // texture x lit colour, both channels
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        glVertexPointer(3, GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(0));
        glNormalPointer(GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(12));
        glTexCoordPointer(2, GL_FLOAT, sizeof(MeshVertex), reinterpret_cast<const void*>(24));
        for (const Group& g : groups_) {
            if (g.texture) {
                glEnable(GL_TEXTURE_2D);
                glBindTexture(GL_TEXTURE_2D, g.texture);
            } else {
                glDisable(GL_TEXTURE_2D);
            }
            glDrawArrays(GL_TRIANGLES, g.first, g.count);
        }
        device->EndOverlay();
    }

private:
    struct Group {
        GLuint texture;
        GLint first;
        GLsizei count;
    };
    std::vector<Group> groups_;
    GLuint vbo_ = 0;
};

struct Result {
    std::vector<double> frameMs, issueMs, issueCpuMs, processCpuMs;
    uint64_t glDraws = 0;
    double glFlushes = 0;
    uint64_t frames = 0, framesFlushed = 0;  // over all rounds: frames timed, and those flushed early
};

// CPU time used so far, in ms: by the calling thread, or by the whole process (llvmpipe's
// rasterising threads included). Unlike the clock on the wall, a busy machine hardly moves them.
double CpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Differences between two pictures: pixels that differ in any channel, and the largest difference.
struct PictureDiff {
    int differing = 0, largest = 0;
};
PictureDiff Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    PictureDiff d;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int most = 0;
        for (int shift : {0, 8, 16})
            most = std::max(most, std::abs(static_cast<int>((a[i] >> shift) & 0xFF) - static_cast<int>((b[i] >> shift) & 0xFF)));
        d.largest = std::max(d.largest, most);
        if (most > 0) ++d.differing;
    }
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    const char* only = argc > 3 ? argv[3] : nullptr;  // run only the modes whose label contains this
    if (!lakebench::GeneratedMediaPresent()) {
        std::fprintf(stderr, "bench_lake_gl: no generated media in %s (build the game first)\n",
                     lakebench::GeneratedGameDir().c_str());
        return 1;
    }
    lakebench::MediaFolder folder;
    plat::SdlBackend* backend = lakebench::InstallGlBackend();
    int status = 0;
    {
        GameApp app;
        if (!lakebench::StartUnpaced(app, backend, "bench_lake_gl")) return 1;
        plat::GlDevice* device = backend->GetGlDevice();
        app.InitialiseLake();
        if (!app.lakeInitialised || app.IsCloseRequested()) {
            std::fprintf(stderr, "bench_lake_gl: the lake could not be loaded and stocked\n");
            status = 1;
        } else {
            lakebench::GoFishing(app, 1);
            std::printf("renderer: %s; %d rounds of %d frames, medians\n",
                        reinterpret_cast<const char*>(glGetString(GL_RENDERER)), rounds, frames);
            for (int i = 0; i < 5; ++i) {  // first frames: uploads and shader variants
                lakebench::DrawLakeView(app);
                backend->Present();
            }
            lakebench::AMinuteAtTheLake(app);
            plat::SetTickSource(nullptr);
            std::printf("after a minute at the lake: %d wildlife and water-effect objects busy\n",
                        lakebench::BusyPoolObjects(app));
            device->Finish();
            Baseline baseline(app);

            struct Mode {
                const char* label;
                bool batching, regrouping;
                std::function<void()> draw;
                bool present;  // whole frames, shown; otherwise finished one by one
                Result result;
                bool layering = true;
                bool layeredParts = true;
                plat::FlushChoice flushes = plat::FlushChoice::Measured;
            };
            auto lake = [&] { lakebench::DrawLakeView(app); };
            auto world = [&] {
                app.highDetailScenery = 1;
                lakebench::DrawLakeWorldFrame(app);
            };
            auto worldLite = [&] {
                app.highDetailScenery = 0;
                lakebench::DrawLakeWorldFrame(app);
                app.highDetailScenery = 1;
            };
            lakebench::LakeScreenFrames tourFrames(MODE_TOUR), duckFrames(MODE_DUCK);
            auto tour = [&] { tourFrames.Draw(app, device->State()); };
            auto duck = [&] { duckFrames.Draw(app, device->State()); };
            auto terrain = [&] { lakebench::DrawTerrainOnly(app); };
            auto orbit = [&] { lakebench::DrawOrbitFrame(app, device->State()); };
            auto base = [&] {
                device->BeginScene();
                lakebench::ClearFrame(app);
                baseline.Draw(device);
                device->EndScene();
            };
            std::vector<Mode> modes = {
                {"lake view, GL, regrouped by texture", true, true, lake, true, {}},
                {"lake view, GL, merged only (no regrouping)", true, false, lake, true, {}},
                {"lake view, GL, one GL call per draw", false, false, lake, true, {}},
                {"lake view, GL, regrouped, drawn but not shown", true, true, lake, false, {}},
                {"lake world with the pass, lakeside, GL, regrouped", true, true, world, true, {}},
                {"lake world with the pass, lakeside, GL, regrouped, early flushes always", true, true, world, true,
                 {}, true, true, plat::FlushChoice::Always},
                {"lake world with the pass, lakeside, GL, regrouped, no early flushes", true, true, world, true,
                 {}, true, true, plat::FlushChoice::Never},
                {"lake world with the pass, lakeside, GL, one GL call per draw", false, false, world, true, {}},
                {"lake world with the pass, lakeside-lite, GL, regrouped", true, true, worldLite, true, {}},
                {"lake world with the pass, lakeside-lite, GL, regrouped, early flushes always", true, true,
                 worldLite, true, {}, true, true, plat::FlushChoice::Always},
                {"lake world with the pass, lakeside-lite, GL, regrouped, no early flushes", true, true, worldLite,
                 true, {}, true, true, plat::FlushChoice::Never},
                {"lake world with the pass, lakeside-lite, GL, one GL call per draw", false, false, worldLite, true, {}},
                {"tour frame (its whole draw function), lakeside, GL, regrouped", true, true, tour, true, {}},
                {"duck mode frame (its whole draw function), lakeside, GL, regrouped", true, true, duck, true, {}},
                {"map orbit view (wireframe) turning, GL, layered", true, true, orbit, true, {}},
                {"map orbit view (wireframe) turning, GL, layered in one part (no early flushes)", true, true, orbit, true,
                 {}, true, false},
                {"map orbit view (wireframe) turning, GL, merged only (no layers)", true, true, orbit, true, {}, false},
                {"map orbit view (wireframe) turning, GL, one GL call per draw", false, false, orbit, true, {}},
                {"terrain pass (game), regrouped by texture", true, true, terrain, false, {}},
                {"terrain pass (game), merged only", true, false, terrain, false, {}},
                {"terrain pass (game), one GL call per draw", false, false, terrain, false, {}},
                {"terrain baseline: one VB, one draw per texture", true, true, base, false, {}},
            };
            for (int r = 0; r < rounds; ++r) {
                // Every other round in reverse, so that no mode always comes after the same one
                // (a mode can leave the next frames slower or faster).
                for (size_t k = 0; k < modes.size(); ++k) {
                    Mode& m = modes[r % 2 ? modes.size() - 1 - k : k];
                    if (only && !std::strstr(m.label, only)) continue;
                    device->SetBatching(m.batching);
                    device->SetRegrouping(m.regrouping);
                    device->SetLayering(m.layering);
                    device->SetLayeredParts(m.layeredParts);
                    device->SetEarlyFlushes(m.flushes);
                    for (int i = 0; i < 3; ++i) m.draw();
                    device->Finish();
                    if (m.present && m.flushes == plat::FlushChoice::Measured) {
                        // The game's device tests both ways when a screen starts (the frame time
                        // moves) and then every four seconds: here the first test runs before the
                        // timed frames, as one would at the start of a screen that then lasts.
                        // The later tests fall in the timed frames only in rows that last longer.
                        device->RetestEarlyFlushes();
                        for (int i = 0; i < 100 && device->EarlyFlushTesting(); ++i) {
                            m.draw();
                            backend->Present();
                        }
                    }
                    const uint64_t drawsBefore = device->GlDrawCalls();
                    const uint64_t flushesBefore = device->GlFlushes();
                    double issue = 0, issueCpu = 0;
                    const double processStart = CpuMs(CLOCK_PROCESS_CPUTIME_ID);
                    const auto start = Clock::now();
                    for (int i = 0; i < frames; ++i) {
                        const auto frameStart = Clock::now();
                        const double cpuStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
                        const uint64_t flushesBeforeFrame = device->GlFlushes();
                        m.draw();
                        m.result.framesFlushed += device->GlFlushes() > flushesBeforeFrame;
                        issueCpu += CpuMs(CLOCK_THREAD_CPUTIME_ID) - cpuStart;
                        issue += MsSince(frameStart);
                        if (m.present) {
                            backend->Present();
                        } else {
                            device->Finish();
                        }
                    }
                    device->Finish();
                    m.result.frameMs.push_back(MsSince(start) / frames);
                    m.result.issueMs.push_back(issue / frames);
                    m.result.issueCpuMs.push_back(issueCpu / frames);
                    m.result.processCpuMs.push_back((CpuMs(CLOCK_PROCESS_CPUTIME_ID) - processStart) / frames);
                    m.result.glDraws = (device->GlDrawCalls() - drawsBefore) / frames;
                    m.result.glFlushes = static_cast<double>(device->GlFlushes() - flushesBefore) / frames;
                    m.result.frames += static_cast<uint64_t>(frames);
                }
            }
            device->SetBatching(true);
            device->SetRegrouping(true);
            device->SetLayering(true);
            device->SetLayeredParts(true);
            device->SetEarlyFlushes(plat::FlushChoice::Measured);

            std::printf("| what | ms per frame | frames per second | ms issuing (CPU) | GL draws per frame | "
                        "CPU ms issuing | CPU ms, all threads |\n");
            std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
            for (const Mode& m : modes) {
                if (m.result.frameMs.empty()) continue;  // not asked for
                const double ms = Median(m.result.frameMs);
                std::printf("| %s | %.2f | %.1f | %.2f | %llu | %.2f | %.2f |\n", m.label, ms, 1000.0 / ms,
                            Median(m.result.issueMs),
                            static_cast<unsigned long long>(m.label == modes.back().label ? baseline.Groups()
                                                                                            : m.result.glDraws),
                            Median(m.result.issueCpuMs), Median(m.result.processCpuMs));
            }
            // Flushes the device made before the frame was shown (the last round's), and how many
            // of all the rounds' frames had any.
            for (const Mode& m : modes)
                if (!m.result.frameMs.empty() && m.result.glFlushes > 0)
                    std::printf("early GL flushes per frame: %s: %.1f\n", m.label, m.result.glFlushes);
            for (const Mode& m : modes)
                if (m.flushes == plat::FlushChoice::Measured && m.present && m.result.frames > 0)
                    std::printf("frames flushed early, flushes chosen: %s: %llu of %llu\n", m.label,
                                static_cast<unsigned long long>(m.result.framesFlushed),
                                static_cast<unsigned long long>(m.result.frames));
            // The ratio round by round: both sides of it see the same load on a shared machine.
            const Mode& gameTerrain = *std::find_if(modes.begin(), modes.end(), [](const Mode& m) {
                return std::strcmp(m.label, "terrain pass (game), regrouped by texture") == 0;
            });
            const Mode& baselineTerrain = modes.back();
            std::vector<double> ratios;
            for (size_t r = 0; r < gameTerrain.result.frameMs.size() && r < baselineTerrain.result.frameMs.size(); ++r)
                ratios.push_back(gameTerrain.result.frameMs[r] / baselineTerrain.result.frameMs[r]);
            if (!ratios.empty())
                std::printf("terrain pass (game, regrouped) / baseline: %.2f (median of the rounds' ratios)\n",
                            Median(ratios));
            // The early flushes as chosen against the faster of always and never, round by round:
            // the frame rate of the default over the better forced one's.
            auto row = [&](const std::string& label) -> const Mode* {
                auto it = std::find_if(modes.begin(), modes.end(), [&](const Mode& m) { return label == m.label; });
                return it == modes.end() || it->result.frameMs.empty() ? nullptr : &*it;
            };
            for (const char* program : {"lakeside", "lakeside-lite"}) {
                const std::string base = std::string("lake world with the pass, ") + program + ", GL, regrouped";
                const Mode* chosen = row(base);
                const Mode* always = row(base + ", early flushes always");
                const Mode* never = row(base + ", no early flushes");
                if (!chosen || !always || !never) continue;
                std::vector<double> shares, gains;
                std::string each;
                for (size_t r = 0; r < chosen->result.frameMs.size(); ++r) {
                    const double faster = std::min(always->result.frameMs[r], never->result.frameMs[r]);
                    shares.push_back(faster / chosen->result.frameMs[r]);
                    gains.push_back(never->result.frameMs[r] / always->result.frameMs[r]);
                    char text[16];
                    std::snprintf(text, sizeof text, " %.2f", shares.back());
                    each += text;
                }
                std::printf("lake world, %s: chosen flushes / the faster of always and never: %.2f (median of the "
                            "rounds' ratios;%s); always / never: %.2f\n",
                            program, Median(shares), each.c_str(), Median(gains));
            }

            // The pictures behind the numbers: regrouping changes nothing, and the baseline draws
            // the game's terrain.
            auto picture = [&](const std::function<void()>& draw) {
                draw();
                std::vector<uint32_t> px;
                backend->ReadBackBuffer(&px);
                return px;
            };
            // The clock stands still, so that the water does not drift between the pictures (the
            // sky is drawn with the texture positions the frame before wrote).
            plat::SetFixedTickCount(plat::GetTickCount());
            picture(lake);
            picture(lake);
            const auto regrouped = picture(lake);
            device->SetBatching(false);
            const auto single = picture(lake);
            device->SetBatching(true);
            const PictureDiff lakeDiff = Compare(regrouped, single);
            const PictureDiff baseDiff = Compare(picture(terrain), picture(base));
            // The lake world: the same pools and random draws for both pictures. The wildlife
            // takes one more step on the first frame after the clock stopped and the sky shows
            // where the water's last frame left it, so two frames go first: after them nothing
            // moves on the standing clock.
            auto worldDiff = [&](const std::function<void()>& draw) {
                picture(draw);
                picture(draw);
                const lakebench::PoolSnapshot pools(app);
                const auto grouped = picture(draw);
                pools.Restore(app);
                device->SetBatching(false);
                const auto one = picture(draw);
                device->SetBatching(true);
                return Compare(grouped, one);
            };
            const PictureDiff fullDiff = worldDiff(world);
            const PictureDiff liteDiff = worldDiff(worldLite);
            auto still = [&] { lakebench::DrawOrbitFrame(app, device->State(), 0.0); };
            const auto orbitBatched = picture(still);
            device->SetBatching(false);
            const auto orbitSingle = picture(still);
            device->SetBatching(true);
            const PictureDiff orbitDiff = Compare(orbitBatched, orbitSingle);
            device->SetLayering(false);
            const PictureDiff orbitMergedDiff = Compare(picture(still), orbitSingle);
            device->SetLayering(true);
            plat::SetTickSource(nullptr);
            std::printf("pictures: lake view regrouped vs one call per draw: %d pixels differ "
                        "(largest %d); game terrain vs baseline: %d (largest %d)\n",
                        lakeDiff.differing, lakeDiff.largest, baseDiff.differing, baseDiff.largest);
            std::printf("pictures: lake world regrouped vs one call per draw: lakeside %d pixels differ "
                        "(largest %d); lakeside-lite %d (largest %d)\n",
                        fullDiff.differing, fullDiff.largest, liteDiff.differing, liteDiff.largest);
            std::printf("pictures: orbit view layered vs one call per draw: %d pixels differ (largest %d); "
                        "merged only vs one call per draw: %d (largest %d)\n",
                        orbitDiff.differing, orbitDiff.largest, orbitMergedDiff.differing, orbitMergedDiff.largest);
        }
        app.Close();
    }
    plat::InstallBackend(nullptr);
    return status;
}
