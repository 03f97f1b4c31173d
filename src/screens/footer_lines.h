// The game's and the venue's name lines at the foot of the title and instructions screens.
#pragma once

constexpr const char* kGameFooterLine = "QUELLAN : a Lakeside game";
constexpr const char* kVenueFooterLine = "Harrowmere Fisheries : Wendlow Lake";
