// DrawLakeWorld: the lake as the fishing screen, the tour, duck mode and the photo album draw it,
// each in its own order.
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
        case LAKE_WORLD_ALBUM:  // the pass draws only the items and billboards here
            AnimateAndDrawWater();
            DrawTerrain(0);
            DrawSceneryAndWildlife();
            break;
    }
}
