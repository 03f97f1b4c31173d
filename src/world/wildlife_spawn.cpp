// The spawners of the wildlife pools: each starts the first free object of its pool.
#include "shell/game_app.h"

void GameApp::SpawnInsectSwarm(float x, float y, float z, int32_t type) {
    if (type != 1 && type != 2) return;  // no such swarm: it takes no slot
    for (InsectSwarm* s : insectSwarms) {
        if (s->active) continue;
        s->Start(x, y, z, type);
        return;
    }
}

void GameApp::SpawnBubbleSpot(float x, float y, float z) {
    for (BubbleSpot* s : bubbleSpots) {
        if (s->active) continue;
        s->Start(x, y, z);
        return;
    }
}

void GameApp::SpawnDragonfly(float x, float y, float z) {
    for (Dragonfly* d : dragonflies) {
        if (d->active) continue;
        d->Start(x, y, z);
        return;
    }
}
