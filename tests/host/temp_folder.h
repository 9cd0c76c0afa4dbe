#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

// A fresh folder under /tmp, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/vantaroo-test-XXXXXX";
        path = mkdtemp(pattern);
    }
    ~TempFolder() {
        std::error_code leftOver;
        std::filesystem::remove_all(path, leftOver);
    }

    std::string File(const std::string& name) const { return path + "/" + name; }

    std::string Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(File(name), std::ios::binary) << bytes;
        return File(name);
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string path;
};
