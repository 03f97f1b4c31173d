// Distances, facing angles and flat shading.
#include "gfx/geometry.h"
#include <algorithm>
#include <cmath>
#include "platform/d3dx.h"
#include "shell/game_app.h"

double Distance2D(double a, double b, double c, double d) {
    return std::sqrt((b - d) * (b - d) + (a - c) * (a - c));
}

float DistanceFromLineByEnds(float toFirst, float toSecond, float lengthSquared, float length) {
    if (toSecond == 0.0f || length == 0.0f) return 0.0f;
    const float cosine = (toSecond * toSecond + lengthSquared - toFirst * toFirst) / (toSecond * length * 2.0f);
    return std::sin(std::acos(std::clamp(cosine, -1.0f, 1.0f))) * toSecond;
}

double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2) {
    double h = std::sqrt((z1 - z2) * (z1 - z2) + (x1 - x2) * (x1 - x2));
    return std::sqrt(h * h + (y1 - y2) * (y1 - y2));
}

HeadingPitch* HeadingAndPitchBetween(HeadingPitch* out, double x1, double y1, double z1, double x2,
                                     double y2, double z2) {
    // Nudge point 2 off point 1 on every axis where they coincide.
    if (x2 == x1) x2 += 0.0001;
    if (y2 == y1) y2 += 0.0001;
    if (z2 == z1) z2 += 0.0001;
    // Far from the origin the nudge can vanish; then take the quadrant the nudge meant.
    bool east = x2 > x1 || x2 == x1;
    bool north = z2 > z1 || z2 == z1;
    double dx = std::fabs(x1 - x2);
    double a = dx > 0.0 ? std::atan(std::fabs(z1 - z2) / dx) : 1.5707963267948966;
    double h;
    if (east && north) {
        h = 1.571 - a;
    } else if (east && !north) {
        h = a + 1.571;
    } else if (!east && !north) {
        h = 1.571 - a + 3.142;
    } else {
        h = a + 4.712;
    }
    double d = Distance3D(x1, y1, z1, x2, y2, z2);
    double ratio = d > 0.0 ? std::fabs(y1 - y2) / d : 1.0;
    if (ratio > 1.0) ratio = 1.0;
    double c = std::asin(ratio);
    double p = (y2 < y1) ? 1.5708 - c + 4.7124 : 1.5708 + c + 4.7124;
    out->heading = h;
    out->pitch = p;
    return out;
}

plat::Vector3* TriangleNormal(plat::Vector3* out, const plat::Vector3* a, const plat::Vector3* b,
                              const plat::Vector3* c) {
    plat::Vector3 u{b->x - a->x, b->y - a->y, b->z - a->z};
    plat::Vector3 v{c->x - a->x, c->y - a->y, c->z - a->z};
    plat::Vector3 n;
    plat::Vec3Cross(&n, &u, &v);
    plat::Vec3Normalize(out, &n);
    return out;
}

void FlatShadeQuad(MeshVertex* a, MeshVertex* b, MeshVertex* c, MeshVertex* d) {
    plat::Vector3 pa{a->x, a->y, a->z}, pb{b->x, b->y, b->z}, pc{c->x, c->y, c->z}, n;
    TriangleNormal(&n, &pa, &pb, &pc);
    for (MeshVertex* v : {a, b, c, d}) {
        v->nx = n.x;
        v->ny = n.y;
        v->nz = n.z;
    }
}

HeadingPitch GameApp::HeadingAndPitchTo(double x1, double y1, double z1, double x2, double y2, double z2) {
    HeadingPitch r;
    HeadingAndPitchBetween(&r, x1, y1, z1, x2, y2, z2);
    return r;
}
