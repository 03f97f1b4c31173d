// Whole-token number parsing shared by the lake model and stock file readers.
#include "common/number_token.h"
#include <charconv>
#include <cmath>
#include <system_error>

namespace {
// A leading '+' is allowed, as the C library's number reading allows it.
std::string_view SkipPlus(std::string_view t) {
    if (t.size() > 1 && t[0] == '+' && t[1] != '-' && t[1] != '+') t.remove_prefix(1);
    return t;
}
}  // namespace

bool ParseFloatToken(std::string_view token, float* out) {
    const std::string_view t = SkipPlus(token);
    float v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (r.ptr != t.data() + t.size()) return false;
    if (r.ec == std::errc::result_out_of_range) {
        // Too small for a float is still a number (it reads as zero or a tiny value, as the C
        // library reads it); too large is not.
        double d = 0;
        const auto rd = std::from_chars(t.data(), t.data() + t.size(), d, std::chars_format::general);
        if (rd.ec != std::errc() || rd.ptr != t.data() + t.size() || !(std::fabs(d) < 1.0)) return false;
        v = static_cast<float>(d);
    } else if (r.ec != std::errc() || !std::isfinite(v)) {
        return false;
    }
    *out = v;
    return true;
}

bool ParseIntToken(std::string_view token, int32_t* out) {
    const std::string_view t = SkipPlus(token);
    int32_t v = 0;
    const auto r = std::from_chars(t.data(), t.data() + t.size(), v, 10);
    if (r.ec != std::errc() || r.ptr != t.data() + t.size()) return false;
    *out = v;
    return true;
}
