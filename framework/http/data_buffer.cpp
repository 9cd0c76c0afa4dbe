#include "framework/http/data_buffer.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/asyncevent/thread.h"
#include "framework/http/text_encoding.h"
#include "host/kp_game.h"
#include "runtime/errors.h"
#include "runtime/memory.h"

KpDataBuffer::~KpDataBuffer() { Discard(); }

bool KpDataBuffer::_New(int newLength, unsigned char* data) {
    if (bytes) return false;
    if (newLength < 0) newLength = 0;
    if (!data) {
        // One byte at least, so an empty buffer still holds a block.
        data = static_cast<unsigned char*>(kp_malloc(newLength > 0 ? newLength : 1));
        std::memset(data, 0, newLength > 0 ? newLength : 1);
    }
    bytes = data;
    length = newLength;
    return true;
}

bool KpDataBuffer::_Load(String path) {
    if (bytes) return false;
    int loaded = 0;
    unsigned char* data = KpGame::_game->LoadData(path, &loaded);
    return data && _New(loaded, data);
}

bool KpDataBuffer::_LoadAsync(const std::string& systemPath, KpThread* thread) {
    if (bytes) return false;
    int loaded = 0;
    unsigned char* data = KpGame::LoadFileData(systemPath, &loaded);
    if (!data || !_New(loaded, data)) return false;
    thread->SetResult(this);
    return true;
}

void KpDataBuffer::Discard() {
    std::free(bytes);
    bytes = nullptr;
    length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int newLength) {
    if (!_New(newLength)) kpError(String("Allocate DataBuffer failed"));
    return this;
}

c_DataBuffer* c_DataBuffer::m_Load(String path) {
    auto* buffer = new c_DataBuffer;
    return buffer->_Load(path) ? buffer : nullptr;
}

int c_DataBuffer::p_PokeBytes(int address, Array<int> values, int offset, int count) {
    count = Fit(address, FitCount(offset, count, values.Length()));
    for (int i = 0; i < count; ++i) Bytes()[address + i] = static_cast<unsigned char>(values[offset + i]);
    return 0;
}

int c_DataBuffer::p_PeekBytes(int address, Array<int> values, int offset, int count) {
    count = Fit(address, FitCount(offset, count, values.Length()));
    for (int i = 0; i < count; ++i) values[offset + i] = static_cast<signed char>(Bytes()[address + i]);
    return 0;
}

Array<int> c_DataBuffer::p_PeekBytes2(int address, int count) {
    Array<int> values(Fit(address, count));
    p_PeekBytes(address, values, 0, values.Length());
    return values;
}

int c_DataBuffer::p_CopyBytes(int address, c_DataBuffer* target, int targetAddress, int count) {
    count = target->Fit(targetAddress, Fit(address, count));
    // memmove copies overlapping runs of one buffer in the safe direction.
    if (count > 0) std::memmove(target->Bytes() + targetAddress, Bytes() + address, count);
    return 0;
}

int c_DataBuffer::p_PokeString(int address, String text, String encoding) {
    std::string encoded = EncodeText(text, encoding);
    int total = static_cast<int>(encoded.size());
    int count = Fit(address, total);
    if (count > 0) std::memcpy(Bytes() + address, encoded.data(), count);
    return total;
}

String c_DataBuffer::p_PeekString(int address, int count, String encoding) {
    count = Fit(address, count);
    return DecodeText(count > 0 ? Bytes() + address : nullptr, count, encoding);
}

String c_DataBuffer::p_PeekString2(int address, String encoding) {
    return p_PeekString(address, Length() - address, encoding);
}
