// The one entry point every fuzz target defines: libFuzzer calls it with each input, and the
// corpus replay runner calls it with every kept input. It returns 0; faults show as crashes,
// sanitizer reports or a time-out.
#pragma once
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
