// Shared painting recipes: foliage crowns, trunks, leaves, planks.
#pragma once
#include "image.h"

namespace ag {

struct Foliage {
    Rgba dark, light;
    double leafScale = 3.0;   // pixel size of the leaf speckle
    double raggedness = 0.45; // how broken the clump edges are
    uint32_t seed = 1;
};
// A crown of overlapping shaded clumps inside the ellipse (cx, cy, rx, ry).
void Crown(Canvas& c, Rng& r, double cx, double cy, double rx, double ry, int clumps, double clumpScale,
           const Foliage& f);
// A tapered trunk from (x0, y0) (bottom) to (x1, y1), widths w0 → w1.
void Trunk(Canvas& c, double x0, double y0, double x1, double y1, double w0, double w1, Rgba dark, Rgba light,
           uint32_t seed);
// A blade or leaf: curved, tapering from w0 at the root to a point.
void Blade(Canvas& c, double x0, double y0, double cx, double cy, double x1, double y1, double w0, Rgba col);
// Wood grain running along x: rings from noise; planks of height `plank` px with dark gaps.
void Planks(Canvas& c, Rgba dark, Rgba light, double plank, double gap, uint32_t seed, bool wrap);

}  // namespace ag
