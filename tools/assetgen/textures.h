// Texture generators, grouped by where the pictures are used.
#pragma once
#include <vector>
#include "image.h"

namespace ag {
using TextureList = std::vector<Texture>;
void MakeGroundTextures(TextureList& out);    // grass, stones, blank, surface
void MakeSceneryTextures(TextureList& out);   // decals, lilies, wood, metal, bricks, panoramas
void MakeWaterSkyTextures(TextureList& out);  // water layers, sky, ripples, wakes, wildlife
void MakeFishTextures(TextureList& out);      // skins, fins, tail, mouth
void MakeTackleTextures(TextureList& out);    // alarms, rests, rods, reel, net, catapult, mat...
void MakeMapTextures(TextureList& out);       // map panel, icons, rigs, swim numbers, buttons
void MakeTitleTextures(TextureList& out);     // title cards and pictures

// All 192 file names the game loads, in no particular order.
const std::vector<const char*>& AllTextureNames();
}  // namespace ag
