// Quoting bytes read from a file in a message: printable text only.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

// The first `maxBytes` bytes of `bytes` with every byte that is not printable ASCII written as
// \xNN, followed by "..." when something was left out.
std::string PrintableText(std::string_view bytes, size_t maxBytes);
