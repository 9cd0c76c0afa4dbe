#pragma once

#include <string>

// The PNG file named in the system's bytes as 8-bit pixels, components as
// the file has them, in a heap block owned by the caller (reported to the
// collector as external memory); null for anything else. It touches no
// String, so a loader thread may call it.
unsigned char* DecodePngFile(const std::string& systemPath, int* width, int* height, int* components);
