// The texture bank: load order and parameters, set swaps, binding by id, releases and resets.
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>
#include "byte_writer.h"
#include "scratch_dir.h"
#include "game_on_device.h"
#include "test_support.h"

namespace {

// The top-left texel is the colour key's black of alpha 1; the rest is opaque grey.
const std::vector<uint32_t> PICTURE = {0x01000000, 0xFF808080, 0xFF808080, 0xFF808080};

// Writes all 192 texture files into the scratch game folder.
void WriteAllTextureFiles() {
    for (const TextureInfo& t : TEXTURE_TABLE) {
        std::string p = t.file;
        std::replace(p.begin(), p.end(), '\\', '/');
        const bool targa = p.substr(p.size() - 4) == ".tga";
        ScratchDir::Write(p, targa ? MakeTga(2, 2, PICTURE, 32, true) : MakeBmp(2, 2, PICTURE, Bmp::Bitfields32Alpha));
    }
}

// A scratch game folder holding every texture file.
struct TextureFolder : ScratchDir {
    TextureFolder() { WriteAllTextureFiles(); }
};

int HeldIn(const GameApp& app, TextureGroup group) {
    int n = 0;
    for (const TextureInfo& t : TEXTURE_TABLE)
        if (t.group == group && app.textures[t.name]) ++n;
    return n;
}

// A device that keeps the file and first texel of every texture made, in order.
class RecordingDevice : public plat::HeadlessDevice {
public:
    std::vector<std::pair<std::string, uint32_t>> made;
    plat::HResult CreateTextureFromImage(const plat::TextureImage& image, const std::string& file,
                                         plat::Texture** out) override {
        made.emplace_back(file, image.argb.empty() ? 0xDEADBEEF : image.argb[0]);
        return HeadlessDevice::CreateTextureFromImage(image, file, out);
    }
};

}  // namespace

TEST(TextureBank, GroupsLoadInTableOrderWithTheirColourKeys) {
    TextureFolder dir;
    GameOnDevice<RecordingDevice> fixture;
    RecordingDevice& d = fixture.device;
    GameApp& game = fixture.game;
    game.LoadBaseTextures();
    game.LoadTextureSet(TEXTURE_SET_MAP);
    game.LoadTextureSet(TEXTURE_SET_LAKE);
    ASSERT_EQ(d.made.size(), 192u);
    for (size_t i = 0; i < d.made.size(); ++i) {
        const TextureInfo& t = TEXTURE_TABLE[i];
        EXPECT_EQ(d.made[i].first, t.file);
        // Keyed textures turn the alpha-1 black texel transparent; the others keep it.
        EXPECT_EQ(d.made[i].second, t.keyed ? 0x00000000u : 0x01000000u) << t.file;
    }
    game.ReleaseTitleTextures();
    game.ReleaseResidentTextures();
    game.ReleaseLoadedTextureSets();
    EXPECT_EQ(d.liveTextures, 0);
}

TEST(TextureBank, SetSwapsReleaseOneSetAndLoadTheOtherAndAToggleKeepsThem) {
    TextureFolder dir;
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    plat::HeadlessDevice* d = g.Device();
    EXPECT_EQ(d->texturesCreated, 10 + 48 + 39);
    EXPECT_EQ(a.mapTexturesLoaded, 1);
    plat::Texture* wood = a.textures[TEX_WOOD];  // resident
    ASSERT_NE(wood, nullptr);

    a.LoadTextureSet(TEXTURE_SET_LAKE);
    EXPECT_EQ(d->texturesReleased, 39);
    EXPECT_EQ(d->texturesCreated, 97 + 95);
    EXPECT_EQ(HeldIn(a, TEXGROUP_MAP), 0);
    EXPECT_EQ(HeldIn(a, TEXGROUP_LAKESIDE), 95);
    EXPECT_EQ(a.textures[TEX_WOOD], wood);
    EXPECT_EQ(a.mapTexturesLoaded, 0);
    EXPECT_EQ(a.lakeTexturesLoaded, 1);

    a.LoadTextureSet(TEXTURE_SET_MAP);
    EXPECT_EQ(d->texturesReleased, 39 + 95);
    EXPECT_EQ(d->texturesCreated, 97 + 95 + 39);
    EXPECT_EQ(HeldIn(a, TEXGROUP_LAKESIDE), 0);
    EXPECT_EQ(d->liveTextures, 10 + 48 + 39);

    // Asking again for what is resident (as a device re-creation would) loads nothing twice.
    a.LoadBaseTextures();
    a.LoadTextureSet(TEXTURE_SET_MAP);
    EXPECT_EQ(d->texturesCreated, 97 + 95 + 39);

    // A full-screen toggle keeps every texture and reads no file.
    a.LoadTextureSet(TEXTURE_SET_LAKE);
    const std::vector<plat::Texture*> before(std::begin(a.textures), std::end(a.textures));
    const int created = d->texturesCreated, released = d->texturesReleased;
    g.backend->QueueToggleFullscreen();
    g.Frames(2);
    ASSERT_TRUE(g.backend->IsFullscreen());
    EXPECT_EQ(std::vector<plat::Texture*>(std::begin(a.textures), std::end(a.textures)), before);
    EXPECT_EQ(d->texturesCreated, created);
    EXPECT_EQ(d->texturesReleased, released);
    EXPECT_EQ(a.lakeTexturesLoaded, 1);
}

// A texture's name (its slot) and its numeric id are different types: a name passed where an id
// is meant, or a bare number, does not compile; nor does an id passed where a slot is meant.
static_assert(!std::is_invocable_v<decltype(&GameApp::DrawUprightQuad), GameApp&, TextureName>);
static_assert(!std::is_invocable_v<decltype(&GameApp::SetTextureById), GameApp&, TextureName>);
static_assert(!std::is_invocable_v<decltype(&GameApp::DrawFlatQuad), GameApp&, int32_t>);
static_assert(!std::is_invocable_v<decltype(&GameApp::DrawMeshPart), GameApp&, plat::VertexBuffer*, TextureId,
                                   plat::PrimitiveType, uint32_t, uint32_t>);
static_assert(!std::is_constructible_v<TextureId, TextureName> && !std::is_convertible_v<TextureId, int32_t>);

TEST(TextureBank, BindingByIdOutsideTheTableChangesNothingAndEmptySlotsBindNone) {
    TextureFolder dir;
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    plat::HeadlessDevice* d = g.Device();

    a.SetTextureById(TextureId(44));
    ASSERT_EQ(d->State().texture, a.textures[TEX_GRASS1]);
    ASSERT_NE(d->State().texture, nullptr);
    d->ClearLog();
    for (int32_t id : {4, 116, -1, 187, 7, 185, INT32_MIN, INT32_MAX}) a.SetTextureById(TextureId(id));
    EXPECT_TRUE(d->calls.empty());
    EXPECT_EQ(d->State().texture, a.textures[TEX_GRASS1]);

    // The gull belongs to the lakeside set: with the map set resident its id binds no texture.
    a.SetTextureById(TextureId(165));
    EXPECT_EQ(d->State().texture, nullptr);
    a.SetTextureById(TextureId(186));
    EXPECT_EQ(d->State().texture, a.textures[TEX_COPY]);
    a.SetTextureById(TextureId(5));
    EXPECT_EQ(d->State().texture->SourceFile(), "textures\\border.bmp");

    a.LoadTextureSet(TEXTURE_SET_LAKE);
    a.SetTextureById(TextureId(165));
    ASSERT_NE(d->State().texture, nullptr);
    EXPECT_EQ(d->State().texture->SourceFile(), "textures\\gull.bmp");
    a.SetTextureById(TextureId(90));
    EXPECT_EQ(d->State().texture->SourceFile(), "textures\\sky2.tga");
    // Swapping the bound texture's set away leaves no released texture on stage 0.
    a.LoadTextureSet(TEXTURE_SET_MAP);
    EXPECT_EQ(d->State().texture, nullptr);
}

TEST(TextureBank, MissingFilesLeaveTheirSlotsEmpty) {
    TextureFolder dir;
    std::remove("textures/gull.bmp");
    std::remove("textures/water.tga");
    std::remove("textures/intro.bmp");
    HeadlessGame g;
    ASSERT_TRUE(g.Start());
    GameApp& a = *g.app;
    EXPECT_EQ(a.textures[TEX_INTRO], nullptr);
    EXPECT_NE(a.textures[TEX_INTRO2], nullptr);
    a.LoadTextureSet(TEXTURE_SET_LAKE);
    EXPECT_EQ(a.textures[TEX_GULL], nullptr);
    EXPECT_EQ(a.textures[TEX_WATER], nullptr);
    EXPECT_EQ(HeldIn(a, TEXGROUP_LAKESIDE), 93);
    EXPECT_EQ(a.lakeTexturesLoaded, 1);
    a.SetTextureById(TextureId(44));
    a.SetTextureById(TextureId(165));
    EXPECT_EQ(g.Device()->State().texture, nullptr);
    a.DrawUprightQuad(TextureId(165));  // drawn untextured
    EXPECT_EQ(g.Device()->draws.back().texture, nullptr);
}

TEST(TextureBank, ClosingFromTheTitleReleasesTheTitleGroupOnlyWhileHeld) {
    TextureFolder dir;
    {
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        g.Frames(1);
        g.app->Close();
        plat::HeadlessDevice* d = g.Device();
        EXPECT_EQ(d->texturesReleased, 10 + 48 + 39);
        EXPECT_EQ(d->liveTextures, 0);
        for (plat::Texture* t : g.app->textures) ASSERT_EQ(t, nullptr);
        EXPECT_EQ(g.app->mapTexturesLoaded, 0);
    }
    {
        HeadlessGame g;
        ASSERT_TRUE(g.Start());
        GameApp& a = *g.app;
        // Play leaves the title: its textures go and the map screen swaps to the lake.
        a.ReleaseTitleTextures();
        a.gameMode = MODE_MAP;
        EXPECT_EQ(g.Device()->texturesReleased, 10);
        EXPECT_EQ(HeldIn(a, TEXGROUP_TITLE), 0);
        a.LoadTextureSet(TEXTURE_SET_LAKE);
        a.ReleaseTitleTextures();  // nothing left to release
        EXPECT_EQ(g.Device()->texturesReleased, 10 + 39);
        a.Close();
        EXPECT_EQ(g.Device()->texturesReleased, 10 + 39 + 48 + 95);
        EXPECT_EQ(g.Device()->liveTextures, 0);
        EXPECT_EQ(a.lakeTexturesLoaded, 0);
    }
}
