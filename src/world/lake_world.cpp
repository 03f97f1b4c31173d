// DrawLakeWorld: the lake's world drawing shared by the screens that show the lake, each in its order.
#include "shell/game_app.h"

void GameApp::DrawLakeWorld(LakeWorldOrder order) {
    switch (order) {
    case LAKE_WORLD_FISHING:
        DrawTerrain(0);
        DrawSceneryAndWildlife();
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_TOUR:
        DrawTerrain(0);
        UpdateFishSchool();
        DrawSceneryAndWildlife();
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_DUCK:
        UpdateFishSchool();
        DrawSceneryAndWildlife();
        DrawTerrain(0);
        DrawAeratorsAndHut();
        AnimateAndDrawWater();
        break;
    case LAKE_WORLD_ALBUM:
        AnimateAndDrawWater();
        DrawTerrain(0);
        DrawSceneryAndWildlife();
        break;
    }
}

// Placeholders until the scenery-and-wildlife pass and the aerators and hut are drawn.
void GameApp::DrawSceneryAndWildlife() {}
void GameApp::DrawAeratorsAndHut() {}
