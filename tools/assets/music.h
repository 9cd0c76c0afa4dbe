// The level tune "Agile" and the Ogg Vorbis writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth.h"

namespace sfx {

// Interleaved stereo 16-bit samples at kRate; the end joins the start.
std::vector<int16_t> composeAgile();
bool writeOgg(const std::string& path, const std::vector<int16_t>& pcm, int channels, const char* title);

}  // namespace sfx
