// Rounding to single precision: the game's simulation arithmetic runs in 32-bit floats.
#pragma once

// One arithmetic result rounded to float, kept in a double (operands given as doubles are used
// exactly, as the single-precision FPU mode does).
inline double F32(double v) { return static_cast<float>(v); }
