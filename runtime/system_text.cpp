#include "runtime/system_text.h"

#include <vector>

namespace {

constexpr unsigned kEscapeBase = 0xDC00;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at `at`, or 0. Overlong
// forms, encoded surrogates and values past U+10FFFF are not well formed.
int SequenceLength(const std::string& bytes, std::size_t at) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned lead = byte(at);
    if (lead < 0x80) return 1;
    int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || bytes.size() - at < static_cast<std::size_t>(length)) return 0;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(byte(at + i))) return 0;
    }
    unsigned second = byte(at + 1);
    if (lead == 0xE0 && second < 0xA0) return 0;
    if (lead == 0xED && second >= 0xA0) return 0;
    if (lead == 0xF0 && second < 0x90) return 0;
    if (lead == 0xF4 && second >= 0x90) return 0;
    return length;
}

unsigned DecodeSequence(const std::string& bytes, std::size_t at, int length) {
    static constexpr unsigned kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    unsigned code = static_cast<unsigned char>(bytes[at]) & kLeadMask[length];
    for (int i = 1; i < length; ++i) code = code << 6 | (static_cast<unsigned char>(bytes[at + i]) & 0x3F);
    return code;
}

void AppendCode(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit < 0xDC00; }
bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit < 0xE000; }

}  // namespace

String SystemText(const std::string& bytes) {
    std::vector<Char> units;
    units.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        int length = SequenceLength(bytes, at);
        if (length == 0) {
            units.push_back(static_cast<Char>(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        unsigned code = DecodeSequence(bytes, at, length);
        at += static_cast<std::size_t>(length);
        if (code < 0x10000) {
            units.push_back(static_cast<Char>(code));
        } else {
            units.push_back(static_cast<Char>(0xD800 + ((code - 0x10000) >> 10)));
            units.push_back(static_cast<Char>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        }
    }
    return String(units.data(), static_cast<int>(units.size()));
}

std::string SystemBytes(const String& text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.Length()));
    for (int i = 0; i < text.Length(); ++i) {
        unsigned unit = static_cast<unsigned>(text[i]);
        if (IsHighSurrogate(unit) && i + 1 < text.Length() && IsLowSurrogate(static_cast<unsigned>(text[i + 1]))) {
            unsigned low = static_cast<unsigned>(text[++i]);
            AppendCode(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            out += static_cast<char>(unit - kEscapeBase);
        } else {
            AppendCode(out, unit);
        }
    }
    return out;
}
