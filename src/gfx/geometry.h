// Geometry helpers shared by the whole game: distances, facing angles and flat shading.
#pragma once
#include "platform/d3d_types.h"

// The vertical field of view of every screen that is not zoomed (pi / 4).
constexpr float NORMAL_FIELD_OF_VIEW = 0.7853982f;

struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};
static_assert(sizeof(MeshVertex) == 32, "MeshVertex must be 32 bytes");

struct HeadingPitch {
    double heading;
    double pitch;
};

double Distance2D(double a, double b, double c, double d);
// Distance of a point from the line through two ends, from the point's distances to the first
// and second end and the line's squared length and length, in single precision: the sine of the
// angle at the second end (law of cosines) times the distance to that end. Never NaN: a cosine that
// rounding pushes past 1 counts as 1, and a point on the second end (or a line of no length) is on
// the line.
float DistanceFromLineByEnds(float toFirst, float toSecond, float lengthSquared, float length);
double Distance3D(double x1, double y1, double z1, double x2, double y2, double z2);
// Facing from point 1 to point 2, written through `out`, which is returned.
HeadingPitch* HeadingAndPitchBetween(HeadingPitch* out, double x1, double y1, double z1, double x2,
                                     double y2, double z2);
plat::Vector3* TriangleNormal(plat::Vector3* out, const plat::Vector3* a, const plat::Vector3* b,
                              const plat::Vector3* c);
void FlatShadeQuad(MeshVertex* a, MeshVertex* b, MeshVertex* c, MeshVertex* d);
