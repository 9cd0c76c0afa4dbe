#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "runtime/kp_string.h"

// Readies the runtime as the program does at its start: the text locale and
// the collector's lists. Call once, before any collected object is made.
void StartRuntime();

// Ends a collection cycle so that what the last input made and dropped is
// swept: the targets keep nothing alive across inputs but their roots.
void CollectGarbage();

// The input as a read-only stream, for readers that take a FILE.
class InputStream {
public:
    InputStream(const std::uint8_t* data, std::size_t size);
    ~InputStream();
    InputStream(const InputStream&) = delete;
    InputStream& operator=(const InputStream&) = delete;

    FILE* File() const { return file; }

private:
    FILE* file;
};

// Writes the input to this process's file in the working folder and returns
// its path, for loaders that open files by name. The extension, the same on
// every call, is how the host picks a decoder (".wav", ".ogg").
String WriteScratchFile(const std::uint8_t* data, std::size_t size, const char* extension);

// Each input byte as one code unit, so every value 0 to 255 reaches the parser.
String BytesAsText(const std::uint8_t* data, std::size_t size);
