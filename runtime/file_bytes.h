#pragma once

#include <cstdio>
#include <vector>

// The rest of the file, read in blocks of 4096 bytes until a short read.
std::vector<unsigned char> ReadRestOfFile(FILE* file);
