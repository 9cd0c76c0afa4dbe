#include "framework/http/text_encoding.h"

#include <vector>

#include "runtime/errors.h"

namespace {

enum class Encoding { Ascii, Utf8 };

Encoding Named(const String& encoding) {
    if (encoding == String("ascii")) return Encoding::Ascii;
    if (encoding != String("utf8")) kpError(String("Invalid string encoding:") + encoding);
    return Encoding::Utf8;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length a lead byte announces; 0 for a byte that cannot lead.
int SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    return 0;
}

bool DecodeUtf8(const unsigned char* bytes, int count, std::vector<Char>& units) {
    for (int i = 0; i < count;) {
        int length = SequenceLength(bytes[i]);
        if (length == 0 || i + length > count) return false;
        for (int k = 1; k < length; ++k) {
            if (!IsContinuation(bytes[i + k])) return false;
        }
        if (length == 1) units.push_back(bytes[i]);
        if (length == 2) units.push_back(static_cast<Char>((bytes[i] & 0x1F) << 6 | (bytes[i + 1] & 0x3F)));
        if (length == 3) {
            units.push_back(static_cast<Char>((bytes[i] & 0x0F) << 12 | (bytes[i + 1] & 0x3F) << 6 | (bytes[i + 2] & 0x3F)));
        }
        i += length;
    }
    return true;
}

}  // namespace

std::string EncodeText(const String& text, const String& encoding) {
    std::string bytes;
    if (Named(encoding) == Encoding::Utf8) {
        text.AppendUtf8(bytes);
        return bytes;
    }
    bytes.reserve(static_cast<std::size_t>(text.Length()));
    for (int i = 0; i < text.Length(); ++i) bytes += static_cast<char>(text[i] & 0xFF);
    return bytes;
}

String DecodeText(const unsigned char* bytes, int count, const String& encoding) {
    Encoding named = Named(encoding);
    std::vector<Char> units;
    units.reserve(static_cast<std::size_t>(count));
    if (named == Encoding::Utf8 && DecodeUtf8(bytes, count, units)) return String(units.data(), static_cast<int>(units.size()));
    units.clear();
    for (int i = 0; i < count; ++i) {
        units.push_back(named == Encoding::Ascii ? bytes[i] : static_cast<Char>(static_cast<signed char>(bytes[i])));
    }
    return String(units.data(), count);
}

int Utf8TailLength(const unsigned char* bytes, int count) {
    for (int back = 1; back <= 2 && back <= count; ++back) {
        unsigned char byte = bytes[count - back];
        if (IsContinuation(byte)) continue;
        return SequenceLength(byte) > back ? back : 0;
    }
    return 0;
}
