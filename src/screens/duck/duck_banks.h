// Where the duck may go: its two bank lines and the hut it keeps clear of.
#pragma once

// The duck keeps more than this from either bank line.
constexpr double DUCK_BANK_CLEARANCE = 1.5;

// The smaller distance of (x, z) from the two bank lines (2, 30)-(113, 198) and (198, 109)-(135, 2),
// each by the law of cosines from the distances to the line's ends, in single precision. Never
// NaN: a cosine that rounding pushes past 1 counts as 1, and a point on a line's second end is on
// that line (distance 0).
float DuckBankDistance(double x, double z);

// The point is within 2.5 of the hut at (25, 24).
bool TooCloseToHut(double x, double z);
