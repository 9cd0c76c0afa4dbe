#include "tests/graphics/test_images.h"

#include <stb/stb_image_write.h>

std::string WritePng(const TempFolder& folder, const std::string& name, int width, int height, int channels,
                     const std::vector<unsigned char>& bytes) {
    std::string path = folder.File(name);
    stbi_write_png(path.c_str(), width, height, channels, bytes.data(), width * channels);
    return path;
}

std::string WriteArgbPng(const TempFolder& folder, const std::string& name, int width, int height,
                         const std::vector<std::uint32_t>& argb) {
    std::vector<unsigned char> bytes;
    for (std::uint32_t pixel : argb) {
        bytes.push_back(static_cast<unsigned char>(pixel >> 16));
        bytes.push_back(static_cast<unsigned char>(pixel >> 8));
        bytes.push_back(static_cast<unsigned char>(pixel));
        bytes.push_back(static_cast<unsigned char>(pixel >> 24));
    }
    return WritePng(folder, name, width, height, 4, bytes);
}
