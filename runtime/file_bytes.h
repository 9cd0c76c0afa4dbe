#pragma once

#include <cstdio>
#include <optional>
#include <vector>

// The rest of the file, read in blocks of 4096 bytes until a short read.
// Nothing when the rest holds more bytes than an int counts: lengths and
// Strings are counted in ints, and a file that large would wrap them
// negative.
std::optional<std::vector<unsigned char>> ReadRestOfFile(FILE* file);
