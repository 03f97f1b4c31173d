// The texture bank: loading, binding and releasing the texture slots by group.
#include <cstring>
#include "platform/d3dx.h"
#include "shell/game_app.h"

namespace {

constexpr uint32_t COLOUR_KEY = 0x01000000;  // alpha 1, black: only such texels turn transparent

bool IsTarga(const char* file) {
    size_t n = std::strlen(file);
    return n >= 4 && std::strcmp(file + n - 4, ".tga") == 0;
}

// Loads one texture into its slot. A slot that already holds its texture is kept (never loaded
// twice while resident); a missing or unreadable file leaves the slot empty.
void LoadSlot(plat::Device* device, plat::Texture*& slot, const TextureInfo& info) {
    if (slot) return;
    plat::Texture* texture = nullptr;
    if (IsTarga(info.file)) {
        plat::CreateTextureFromFileEx(device, info.file, plat::DEFAULT_VALUE, plat::DEFAULT_VALUE,
                                      plat::DEFAULT_VALUE, 0, plat::FORMAT_UNKNOWN, plat::POOL_MANAGED,
                                      plat::DEFAULT_VALUE, plat::DEFAULT_VALUE, 0, &texture);
    } else {
        plat::CreateTextureFromFileEx(device, info.file, plat::DEFAULT_VALUE, plat::DEFAULT_VALUE, 1, 0,
                                      plat::FORMAT_UNKNOWN, plat::POOL_MANAGED, plat::FILTER_NONE,
                                      plat::FILTER_NONE, info.keyed ? COLOUR_KEY : 0, &texture);
    }
    slot = texture;
}

// Loads every texture of one group, in table order.
void LoadGroup(GameApp& app, plat::Device* device, TextureGroup group) {
    for (const TextureInfo& info : TEXTURE_TABLE)
        if (info.group == group) LoadSlot(device, app.textures[info.name], info);
}

// Releases every held texture of one group and empties its slots. Stage 0 is unbound first so
// the device never keeps a released texture.
void ReleaseGroup(GameApp& app, plat::Device* device, TextureGroup group) {
    bool unbound = false;
    for (const TextureInfo& info : TEXTURE_TABLE) {
        plat::Texture*& slot = app.textures[info.name];
        if (info.group != group || !slot) continue;
        if (!unbound && device) {
            device->SetTexture(0, nullptr);
            unbound = true;
        }
        slot->Release();
        slot = nullptr;
    }
}

}  // namespace

void GameApp::LoadBaseTextures() {
    LoadGroup(*this, device, TEXGROUP_TITLE);
    LoadGroup(*this, device, TEXGROUP_RESIDENT);
}

void GameApp::LoadTextureSet(int32_t set) {
    if (set == TEXTURE_SET_MAP) {
        if (lakeTexturesLoaded) {
            ReleaseGroup(*this, device, TEXGROUP_LAKESIDE);
            lakeTexturesLoaded = 0;
        }
        LoadGroup(*this, device, TEXGROUP_MAP);
        mapTexturesLoaded = 1;
    } else if (set == TEXTURE_SET_LAKE) {
        if (mapTexturesLoaded) {
            ReleaseGroup(*this, device, TEXGROUP_MAP);
            mapTexturesLoaded = 0;
        }
        LoadGroup(*this, device, TEXGROUP_LAKESIDE);
        lakeTexturesLoaded = 1;
    }
}

void GameApp::SetTextureById(TextureId textureId) {
    int32_t name = TextureNameForId(textureId);
    if (name < 0) return;  // outside the table: stage 0 keeps its texture
    device->SetTexture(0, textures[name]);
}

void GameApp::ReleaseTitleTextures() { ReleaseGroup(*this, device, TEXGROUP_TITLE); }

void GameApp::ReleaseResidentTextures() { ReleaseGroup(*this, device, TEXGROUP_RESIDENT); }

void GameApp::ReleaseLoadedTextureSets() {
    if (lakeTexturesLoaded) {
        ReleaseGroup(*this, device, TEXGROUP_LAKESIDE);
        lakeTexturesLoaded = 0;
    }
    if (mapTexturesLoaded) {
        ReleaseGroup(*this, device, TEXGROUP_MAP);
        mapTexturesLoaded = 0;
    }
}
