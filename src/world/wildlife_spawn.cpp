// The spawners of the wildlife pools: each takes the first free object of its pool.
#include "shell/game_app.h"

// The spawn point, kind and in-use flag are recorded here; the members' own start-up (Start)
// belongs to the wildlife behaviour.

void GameApp::SpawnInsectSwarm(float x, float y, float z, int32_t type) {
    for (InsectSwarm* s : insectSwarms) {
        if (s->active) continue;
        s->active = 1;
        s->centreX = x;
        s->centreY = y;
        s->centreZ = z;
        s->type = type;
        return;
    }
}

void GameApp::SpawnBubbleSpot(float x, float y, float z) {
    for (BubbleSpot* s : bubbleSpots) {
        if (s->active) continue;
        s->active = 1;
        s->x = x;
        s->y = y;
        s->z = z;
        s->startY = y;
        return;
    }
}

void GameApp::SpawnDragonfly(float x, float y, float z) {
    for (Dragonfly* d : dragonflies) {
        if (d->active) continue;
        d->active = 1;
        d->x = d->homeX = x;
        d->y = d->homeY = y;
        d->z = d->homeZ = z;
        return;
    }
}
