// The scenery-detail constant every program of the game defines (the fuzz programs link the game
// library, which reads it).
extern const bool HIGH_DETAIL_SCENERY = true;
