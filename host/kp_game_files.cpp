#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/kp_game.h"
#include "runtime/file_bytes.h"
#include "runtime/memory.h"
#include "runtime/system_text.h"

std::string KpGame::SystemFilePath(String path) {
    String filePath = PathToFilePath(path);
    return filePath.Length() ? SystemBytes(filePath) : std::string();
}

FILE* KpGame::OpenFile(String path, String mode) {
    std::string filePath = SystemFilePath(path);
    if (filePath.empty()) return nullptr;
    return std::fopen(filePath.c_str(), SystemBytes(mode).c_str());
}

String KpGame::LoadString(String path) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return String();
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

unsigned char* KpGame::LoadData(String path, int* length) { return LoadFileData(SystemFilePath(path), length); }

unsigned char* KpGame::LoadFileData(const std::string& systemPath, int* length) {
    FILE* file = systemPath.empty() ? nullptr : std::fopen(systemPath.c_str(), "rb");
    if (!file) return nullptr;
    std::optional<std::vector<unsigned char>> rest = ReadRestOfFile(file);
    std::fclose(file);
    if (!rest) return nullptr;
    const std::vector<unsigned char>& bytes = *rest;
    auto* data = static_cast<unsigned char*>(kp_malloc(bytes.size() ? bytes.size() : 1));
    if (!bytes.empty()) std::memcpy(data, bytes.data(), bytes.size());
    *length = static_cast<int>(bytes.size());
    gc_ext_malloced(static_cast<long long>(bytes.size()));
    return data;
}
