#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/host/temp_folder.h"

// Writes a PNG of `channels` bytes per pixel and returns its path.
std::string WritePng(const TempFolder& folder, const std::string& name, int width, int height, int channels,
                     const std::vector<unsigned char>& bytes);

// The same from 0xAARRGGBB values, stored as RGBA.
std::string WriteArgbPng(const TempFolder& folder, const std::string& name, int width, int height,
                         const std::vector<std::uint32_t>& argb);
