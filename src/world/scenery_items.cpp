// DrawSceneryItem: platforms, planks, snags and lily beds of the lake model, built from the cube,
// the tapered column and the flat quads; DrawAeratorsAndHut: the aerator posts with their spray
// and the hut, which the model does not hold.
#include <cmath>
#include "common/angles.h"
#include "common/single_precision.h"
#include "shell/game_app.h"

namespace {

plat::Material BarkMaterial() {
    plat::Material m{};
    m.diffuse = {0.36f, 0.29f, 0.21f, 1.0f};
    m.ambient = {0.30f, 0.24f, 0.18f, 1.0f};
    return m;
}

// One face of the cube (1..6) and its texture.
struct CubeFace {
    int32_t face;
    TextureName texture;
};

// The cube, placed already, drawn face by face in the order given.
void DrawCubeFaces(GameApp& app, const CubeFace* faces, int count) {
    plat::Device* device = app.Device();
    if (!app.cubeMesh) return;
    device->SetFVF(plat::FVF_MESH);
    device->SetStreamSource(0, app.cubeMesh, 0, sizeof(MeshVertex));
    for (int k = 0; k < count; ++k) {
        device->SetTexture(0, app.textures[faces[k].texture]);
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 4 * (faces[k].face - 1), 2);
    }
}

// Textures of the six cube faces, in face order.
struct BoxFaces {
    CubeFace face[6];
};
constexpr BoxFaces BOARD_FACES = {
    {{1, TEX_WOOD3}, {2, TEX_WOOD3}, {3, TEX_WOOD4}, {4, TEX_WOOD4}, {5, TEX_WOOD3}, {6, TEX_WOOD3}}};
constexpr BoxFaces FLAT_PLANK_FACES = {
    {{1, TEX_WOOD3}, {2, TEX_WOOD3}, {3, TEX_WOOD2}, {4, TEX_WOOD2}, {5, TEX_WOOD3}, {6, TEX_WOOD3}}};

// One piece of a snag: the tapered column placed and scaled, with or without its cap.
struct SnagPiece {
    float x, y, z;
    float pitch, roll;
    float scaleX, scaleY;  // scaleZ = scaleX
    bool cap;
};

}  // namespace

void GameApp::DrawSceneryItem(int32_t index) {
    if (index < 0 || index >= SCENERY_ITEM_COUNT) return;
    SceneryItem& item = *sceneryItems[index];
    constexpr float FULL_TURN_F = static_cast<float>(FULL_TURN);
    if (item.heading > FULL_TURN_F) item.heading -= FULL_TURN_F;
    if (item.heading < 0.0f) item.heading += FULL_TURN_F;
    if (!PlaceableRecord(item.x, item.y, item.z, item.size)) return;

    const float x = item.x, y = item.y, z = item.z, s = item.size, h = item.heading;
    device->SetFVF(plat::FVF_MESH);

    auto box = [&](float bx, float by, float bz, float yaw, float sx, float sy, float sz, const BoxFaces& faces) {
        SetWorldTransform(bx, by, bz, 0, yaw, 0, sx, sy, sz);
        DrawCubeFaces(*this, faces.face, 6);
        device->SetTexture(0, nullptr);
    };
    auto quad = [&](plat::VertexBuffer* mesh, TextureName texture) {
        if (!mesh) return;
        device->SetTexture(0, textures[texture]);
        device->SetStreamSource(0, mesh, 0, sizeof(MeshVertex));
        device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 2);
        device->SetTexture(0, nullptr);
    };
    auto snag = [&](const SnagPiece* pieces, int count) {
        device->SetTexture(0, nullptr);
        if (!taperedColumnMesh) return;
        // Untextured, the snags take the colour of old wet wood from their material; their
        // slim columns are lit by normals of unit length, not ones the thin scale blew up.
        const plat::Material bark = BarkMaterial();
        device->SetMaterial(&bark);
        device->SetRenderState(plat::RS_NORMALIZENORMALS, 1);
        device->SetStreamSource(0, taperedColumnMesh, 0, sizeof(MeshVertex));
        for (int p = 0; p < count; ++p) {
            const SnagPiece& piece = pieces[p];
            SetWorldTransform(piece.x, piece.y, piece.z, piece.pitch, h, piece.roll, piece.scaleX, piece.scaleY,
                              piece.scaleX);
            device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 16);
            if (piece.cap) device->DrawPrimitive(plat::PT_TRIANGLEFAN, 18, 8);
        }
        const plat::Material standard = StandardMaterial();
        device->SetMaterial(&standard);
        device->SetRenderState(plat::RS_NORMALIZENORMALS, 0);
    };

    switch (item.type) {
        case 1: {  // platform: four side boards round a gravel deck
            box(x + std::sin(h - 1.571f) * 3 * s, y + 0.3f, z + std::cos(h - 1.571f) * 3 * s, h + 1.571f, 3 * s,
                s / 1.5f, s / 10, BOARD_FACES);
            box(x + std::sin(h) * 3.1f * s, y + 0.3f, z + std::cos(h) * 3.1f * s, h, 3.1f * s, s / 1.5f, s / 10,
                BOARD_FACES);
            box(x + std::sin(h + 1.571f) * 3 * s, y + 0.3f, z + std::cos(h + 1.571f) * 3 * s, h + 4.713f, 3 * s,
                s / 1.5f, s / 10, BOARD_FACES);
            box(x + std::sin(h + 3.142f) * 3.1f * s, y + 0.3f, z + std::cos(h + 3.142f) * 3.1f * s, h + 3.142f,
                3.1f * s, s / 1.5f, s / 10, BOARD_FACES);
            // The deck stands higher on the map so that it shows above the terrain there.
            const float deckY = y + (gameMode == MODE_MAP ? 1.5f : 0.9f);
            SetWorldTransform(x, deckY, z, 0, h + 3.142f, 0, 3 * s, 3 * s, 3 * s);
            quad(decalQuadUpMesh, TEX_GRAVEL);
            break;
        }
        case 2:  // upright plank
            box(x, y + 0.3f, z, h, s, s / 3, s / 20, BOARD_FACES);
            break;
        case 3:  // flat plank
            box(x, y + 0.1f, z, h, s, s / 20, s / 3, FLAT_PLANK_FACES);
            break;
        case 4: {  // stump
            const SnagPiece pieces[] = {{x, y + 0.3f, z, 0, 0, s / 20, s / 20, true}};
            snag(pieces, 1);
            break;
        }
        case 5: {  // branching snag
            const SnagPiece pieces[] = {
                {x, y + 0.3f, z, 0, 0, s / 40, s / 20, false},
                {x, y + 0.8f * s, z, 0.2f, 0, s / 60, s / 20, false},
                {x + std::sin(h) * s / 7, y + 1.5f * s, z + std::cos(h) * s / 7, 0.1f, 0, s / 100, s / 20, false},
                {x, y + 0.3f, z, 6.1f, 0, s / 50, s / 18, true},
                {x + std::sin(h + 3.142f) * s / 8, y + 0.9f * s, z + std::cos(h + 3.142f) * s / 8, 5.9f, 0.3f,
                 s / 90, s / 20, true},
            };
            snag(pieces, 5);
            break;
        }
        case 6: {  // fallen tree
            const float tipX = x + std::sin(h + 0.47f) * s, tipZ = z + std::cos(h + 0.47f) * s;
            const SnagPiece pieces[] = {
                {x, y - 0.1f, z, 0.7f, 0, s / 30, s / 20, true},
                {x + std::sin(h) * s / 10, y + 0.02f * s, z + std::cos(h) * s / 10, 0.6f, 0.3f, s / 60, s / 20, true},
                {x + std::sin(h) * s / 8, y + 0.1f * s, z + std::cos(h) * s / 8, 0.2f, 6.1f, s / 50, s / 18, true},
                {x + std::sin(h) * s / 9, y, z + std::cos(h) * s / 9, 1.1f, 5.8f, s / 100, s / 15, false},
                {tipX, y + s / 2.5f, tipZ, 1.59f, 5.8f, s / 150, s / 17, true},
                {tipX, y + s / 2.5f, tipZ, 1.3f, 6.0f, s / 170, s / 30, true},
            };
            snag(pieces, 6);
            break;
        }
        case 7:  // lily bed, on the water whatever its height
        case 8:
            SetWorldTransform(x, 0.1, z, 0, h, 0, s, s, s);
            quad(decalQuadUpMesh, item.type == 7 ? TEX_LILLYS : TEX_LILLYS2);
            quad(decalQuadDownMesh, item.type == 7 ? TEX_LILLYS : TEX_LILLYS3);
            break;
        default: break;
    }
}

void GameApp::DrawAeratorsAndHut() {
    static const float AERATORS[3][2] = {{130, 136}, {114, 90}, {94, 58}};
    device->SetFVF(plat::FVF_MESH);
    if (aeratorPostMesh) {
        device->SetTexture(0, textures[TEX_METAL]);
        device->SetStreamSource(0, aeratorPostMesh, 0, sizeof(MeshVertex));
        for (const auto& a : AERATORS) {
            SetWorldTransform(a[0], -1.3, a[1], 0, 3.0, 0, 0.25, 0.91, 0.25);
            device->DrawPrimitive(plat::PT_TRIANGLESTRIP, 0, 16);
            device->DrawPrimitive(plat::PT_TRIANGLEFAN, 18, 8);
        }
    }

    // The hut: three brick walls (the inner face left out), the wooden front and two door posts.
    static const CubeFace HUT_WALL_FACES[] = {{1, TEX_BRICKS3}, {3, TEX_BRICKS2}, {4, TEX_BRICKS2}, {5, TEX_BRICKS}, {6, TEX_BRICKS}};
    static const float HUT_WALLS[3][4] = {{24.9f, -1.7f, 25.1f, 0}, {24.0f, -1.7f, 24.0f, 1.571f}, {24.9f, -1.7f, 22.9f, 0}};
    for (const auto& w : HUT_WALLS) {
        SetWorldTransform(w[0], w[1], w[2], 0, w[3], 0, 1.0, 1.9, 0.1);
        DrawCubeFaces(*this, HUT_WALL_FACES, 5);
    }
    static const CubeFace HUT_FRONT_FACES[] = {{1, TEX_WOOD}, {6, TEX_WOODB}, {5, TEX_WOODB}};
    SetWorldTransform(25.7, -2.1, 24.0, 0, 1.571, 0, 0.8, 2.03, 0.1);
    DrawCubeFaces(*this, HUT_FRONT_FACES, 3);
    static const CubeFace DOOR_POST_FACES[] = {{1, TEX_METAL}, {5, TEX_METAL}, {6, TEX_METAL}};
    for (double z : {23.1, 24.9}) {
        SetWorldTransform(25.7, -2.1, z, 0, 1.571, 0, 0.1, 2.03, 0.1);
        DrawCubeFaces(*this, DOOR_POST_FACES, 3);
    }
    device->SetTexture(0, nullptr);

    // The spray keeps a small patch of rings going round each post.
    for (const auto& a : AERATORS) {
        SpawnRippleRing(a[0], 0, a[1], F32(plat::GameRand() / 218446.6666666667 + 0.15));
        if (plat::GameRand() < 10000) SpawnRippleRing(a[0], 0, a[1], F32(plat::GameRand() / 131068.0 + 0.25));
    }
}
