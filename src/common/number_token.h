// Reading one token of a data file as a number: the whole token or nothing.
#pragma once
#include <cstdint>
#include <string_view>

// The whole token as a finite 32-bit float in decimal ("-1.5", "+2", "1.290000e+001"); false for
// anything else, for "nan" and "inf", and for values beyond the float range. A value too small for
// a float reads as zero (or the nearest tiny float), as the C library reads it.
bool ParseFloatToken(std::string_view token, float* out);
// The whole token as a decimal 32-bit integer: an optional sign, then digits only.
bool ParseIntToken(std::string_view token, int32_t* out);
