// LoadLakeModel: reads the lake model and puts it into play, or stops the game when it is unusable.
#include <cstdio>
#include <memory>
#include "shell/game_app.h"
#include "platform/system.h"

LakeModelResult GameApp::LoadLakeModel(int32_t modelNumber) {
    LakeModelResult result;
    auto model = std::make_unique<LakeModel>();
    if (modelNumber == LAKE_MODEL_NUMBER) {
        result = ReadLakeModelFile(LAKE_MODEL_PATH, model.get());
    } else {
        char text[80];
        std::snprintf(text, sizeof text, "there is no lake model number %d", modelNumber);
        result.error = text;
    }
    if (!result.ok) {
        // Nothing of a bad file is used; the game cannot be played without its lake.
        std::string message = "The lake could not be loaded: " + result.error + ".\nThe game will close.";
        RequestClose(1, message);
        return result;
    }

    // Everything starts empty; the file then fills what it holds.
    for (Billboard* b : billboards) b->active = 0;
    for (SceneryItem* s : sceneryItems) s->active = 0;
    for (InsectSwarm* s : insectSwarms) s->active = 0;
    for (BubbleSpot* s : bubbleSpots) s->active = 0;
    for (Dragonfly* d : dragonflies) d->active = 0;

    for (int32_t i = 0; i < TERRAIN_GRID_CELLS; ++i) (*terrainCells)[i] = model->cells[i];
    for (int32_t i = 1; i < BILLBOARD_COUNT; ++i) {
        const Billboard& from = model->billboards[i];
        Billboard& to = *billboards[i];
        to.active = from.active;
        to.type = from.type;
        to.x = from.x;
        to.y = from.y;
        to.z = from.z;
        to.size = from.size;  // the facing is the scenery pass's own
    }
    for (int32_t i = 0; i < SCENERY_ITEM_COUNT; ++i) *sceneryItems[i] = model->items[i];
    for (const LakeModel::SwarmSpawn& s : model->swarms) SpawnInsectSwarm(s.x, s.y, s.z, s.type);
    for (const LakeModel::PointSpawn& p : model->bubbleSpots) SpawnBubbleSpot(p.x, p.y, p.z);
    for (const LakeModel::PointSpawn& p : model->dragonflies) SpawnDragonfly(p.x, p.y, p.z);

    BuildTerrainMesh();
    return result;
}
