// DrawLakeWorld: the lake's world drawing shared by the screens that show the lake, each in its order.
#include "shell/game_app.h"

void GameApp::DrawLakeWorld(LakeWorldOrder order) {
    switch (order) {
    case LAKE_WORLD_FISHING:
        DrawTerrain(TERRAIN_FILL_SOLID);
        DrawSceneryAndWildlife();
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_TOUR:
        DrawTerrain(TERRAIN_FILL_SOLID);
        UpdateFishSchool();
        DrawSceneryAndWildlife();
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_DUCK:
        UpdateFishSchool();
        DrawSceneryAndWildlife();
        DrawTerrain(TERRAIN_FILL_SOLID);
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_ALBUM:
        AnimateAndDrawWater();
        DrawTerrain(TERRAIN_FILL_SOLID);
        DrawSceneryAndWildlife();
        break;
    }
}
