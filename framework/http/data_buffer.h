#pragma once

#include <string>

#include "runtime/kp_array.h"

class KpThread;

// How many of `count` items from `at` lie inside a run of `size` items.
inline int FitCount(int at, int count, int size) {
    if (at < 0 || at > size || count <= 0) return 0;
    return count < size - at ? count : size - at;
}

// Owns a block of bytes whose length changes only when it is discarded.
class KpDataBuffer : public Object {
public:
    ~KpDataBuffer() override;

    // Adopts `data` (a block from kp_malloc) or allocates `length` zeroed
    // bytes; false when bytes are held already.
    bool _New(int length, unsigned char* data = nullptr);
    bool _Load(String path);
    // _Load for a loader thread, which receives this buffer as its result.
    // The caller resolves the path before the thread starts
    // (KpGame::SystemFilePath), so the thread touches no shared String.
    bool _LoadAsync(const std::string& systemPath, KpThread* thread);
    void Discard();

    int Length() const { return length; }
    unsigned char* Bytes() const { return bytes; }
    // How many of `count` bytes from `address` lie inside the buffer.
    int Fit(int address, int count) const { return FitCount(address, count, length); }

private:
    unsigned char* bytes = nullptr;
    int length = 0;
};

// A fixed-size byte buffer with byte and string access. Every count is
// clipped to the buffer (and to the array), so nothing outside is touched.
class c_DataBuffer : public KpDataBuffer {
public:
    c_DataBuffer* m_new(int length);
    static c_DataBuffer* m_Load(String path);

    int p_PokeBytes(int address, Array<int> bytes, int offset, int count);
    int p_PeekBytes(int address, Array<int> bytes, int offset, int count);
    Array<int> p_PeekBytes2(int address, int count);
    int p_CopyBytes(int address, c_DataBuffer* target, int targetAddress, int count);
    // Returns the whole encoded length, even when fewer bytes fit.
    int p_PokeString(int address, String text, String encoding);
    String p_PeekString(int address, int count, String encoding);
    String p_PeekString2(int address, String encoding);
};
