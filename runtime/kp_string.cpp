#include "runtime/kp_string.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwctype>
#include <vector>

#include "runtime/file_bytes.h"
#include "runtime/kp_array.h"
#include "runtime/memory.h"

const char* _str_load_err = nullptr;

String::Rep String::nullRep = {1, 0, {0}};

namespace {

// Code units are reached through a plain pointer: the body is allocated past
// the declared one-element array.
Char* Units(String::Rep* rep) { return rep->data; }

bool SameUnits(const Char* a, const Char* b, int count) {
    return std::memcmp(a, b, static_cast<std::size_t>(count) * sizeof(Char)) == 0;
}

void CopyUnits(Char* to, const Char* from, int count) {
    if (count > 0) std::memcpy(to, from, static_cast<std::size_t>(count) * sizeof(Char));
}

}  // namespace

// ---------------------------------------------------------------------------
// Representation and lifetime

String::Rep* String::Alloc(int length) {
    if (length <= 0) {
        ++nullRep.refs;
        return &nullRep;
    }
    void* block = kp_malloc(offsetof(Rep, data) + 2 * static_cast<std::size_t>(length));
    Rep* rep = static_cast<Rep*>(block);
    rep->refs = 1;
    rep->length = length;
    return rep;
}

void String::Release() {
    // nullRep's count moves like any other but the static body stays.
    if (--rep->refs == 0 && rep != &nullRep) std::free(rep);
}

String::String() : rep(&nullRep) { ++nullRep.refs; }

String::String(const String& other) : rep(other.rep) { ++rep->refs; }

String::String(String&& other) noexcept : rep(other.rep) {
    other.rep = &nullRep;
    ++nullRep.refs;
}

String& String::operator=(const String& other) {
    ++other.rep->refs;
    Release();
    rep = other.rep;
    return *this;
}

String& String::operator=(String&& other) noexcept {
    Rep* old = rep;
    rep = other.rep;
    other.rep = old;
    return *this;
}

String::~String() { Release(); }

// ---------------------------------------------------------------------------
// Construction

String::String(const char* text) {
    int length = text ? static_cast<int>(std::strlen(text)) : 0;
    rep = Alloc(length);
    Char* out = Units(rep);
    for (int i = 0; i < length; ++i) {
        out[i] = static_cast<Char>(static_cast<signed char>(text[i]));
    }
}

String::String(const Char* data, int length) {
    rep = Alloc(length);
    if (length > 0) CopyUnits(Units(rep), data, length);
}

String::String(const wchar_t* data, int length) {
    rep = Alloc(length);
    Char* out = Units(rep);
    for (int i = 0; i < length; ++i) out[i] = static_cast<Char>(data[i]);
}

namespace {

// Room for any "%i" or "%.17lg" text plus the ".0" suffix.
struct NumberText {
    char text[40];
};

NumberText IntText(int value) {
    NumberText out;
    std::snprintf(out.text, sizeof out.text, "%i", value);
    return out;
}

NumberText FloatText(float value) {
    NumberText out;
    int length = std::snprintf(out.text, sizeof out.text, "%.17lg", static_cast<double>(value));
    // Keeps whole numbers readable as floats when printed back.
    if (!std::strchr(out.text, '.') && !std::strchr(out.text, 'e')) std::memcpy(out.text + length, ".0", 3);
    return out;
}

}  // namespace

String::String(int value) : String(IntText(value).text) {}

String::String(float value) : String(FloatText(value).text) {}

String String::FromChar(int code) {
    Rep* rep = Alloc(1);
    Units(rep)[0] = static_cast<Char>(code);
    return String(rep);
}

// ---------------------------------------------------------------------------
// Comparison and concatenation

bool String::operator==(const String& other) const {
    if (rep == other.rep) return true;
    return rep->length == other.rep->length && SameUnits(Data(), other.Data(), rep->length);
}

String String::operator+(const String& other) const {
    if (rep->length == 0) return other;
    if (other.rep->length == 0) return *this;
    Rep* joined = Alloc(rep->length + other.rep->length);
    CopyUnits(Units(joined), Data(), rep->length);
    CopyUnits(Units(joined) + rep->length, other.Data(), other.rep->length);
    return String(joined);
}

String& String::operator+=(const String& other) { return *this = *this + other; }

// ---------------------------------------------------------------------------
// Slicing and searching

String String::Slice(int from) const { return Slice(from, rep->length); }

String String::Slice(int from, int term) const {
    int length = rep->length;
    if (from < 0) {
        from += length;
        if (from < 0) from = 0;
    } else if (from > length) {
        from = length;
    }
    if (term >= 0) {
        if (term > length) term = length;
    } else {
        term += length;
    }
    if (from > term) return String();
    if (from == 0 && term == length) return *this;
    return String(Data() + from, term - from);
}

int String::Find(const String& sub, int start) const {
    int length = rep->length;
    int subLength = sub.rep->length;
    if (start < 0) start = 0;
    // The empty text occurs at every index up to the length; answering at
    // once keeps callers that advance by its length from spinning.
    if (subLength == 0) return start <= length ? start : -1;
    const Char* units = Data();
    for (int i = start; i <= length - subLength; ++i) {
        if (SameUnits(units + i, sub.Data(), subLength)) return i;
    }
    return -1;
}

int String::FindLast(const String& sub) const {
    int subLength = sub.rep->length;
    if (subLength == 0) return rep->length;
    const Char* units = Data();
    for (int i = rep->length - subLength; i >= 0; --i) {
        if (SameUnits(units + i, sub.Data(), subLength)) return i;
    }
    return -1;
}

bool String::Contains(const String& sub) const { return Find(sub, 0) != -1; }

bool String::StartsWith(const String& prefix) const {
    int count = prefix.rep->length;
    return count <= rep->length && SameUnits(Data(), prefix.Data(), count);
}

bool String::EndsWith(const String& suffix) const {
    int count = suffix.rep->length;
    return count <= rep->length && SameUnits(Data() + rep->length - count, suffix.Data(), count);
}

// ---------------------------------------------------------------------------
// Split, Join, Replace

Array<String> String::Split(const String& separator) const {
    int length = rep->length;
    int sepLength = separator.rep->length;
    const Char* units = Data();

    if (sepLength == 0) {
        Array<String> pieces(length);
        for (int i = 0; i < length; ++i) pieces[i] = String(units + i, 1);
        return pieces;
    }

    int count = 0;
    for (int at = Find(separator, 0); at != -1; at = Find(separator, at + sepLength)) ++count;

    Array<String> pieces(count + 1);
    if (count == 0) {
        pieces[0] = *this;
        return pieces;
    }
    int pieceStart = 0;
    int k = 0;
    for (int at = Find(separator, 0); at != -1; at = Find(separator, at + sepLength)) {
        pieces[k++] = String(units + pieceStart, at - pieceStart);
        pieceStart = at + sepLength;
    }
    pieces[k] = String(units + pieceStart, length - pieceStart);
    return pieces;
}

String String::Join(const Array<String>& pieces) const {
    int count = pieces.Length();
    if (count == 0) return String();
    if (count == 1) return pieces[0];

    int sepLength = rep->length;
    int total = (count - 1) * sepLength;
    for (int i = 0; i < count; ++i) total += pieces[i].Length();

    Rep* joined = Alloc(total);
    Char* out = Units(joined);
    for (int i = 0; i < count; ++i) {
        if (i > 0) {
            CopyUnits(out, Data(), sepLength);
            out += sepLength;
        }
        const String& piece = pieces[i];
        CopyUnits(out, piece.Data(), piece.Length());
        out += piece.Length();
    }
    return String(joined);
}

String String::Replace(const String& find, const String& with) const {
    int findLength = find.rep->length;
    if (findLength == 0) return *this;

    int count = 0;
    for (int at = Find(find, 0); at != -1; at = Find(find, at + findLength)) ++count;
    if (count == 0) return *this;

    int withLength = with.rep->length;
    Rep* result = Alloc(rep->length + count * (withLength - findLength));
    Char* out = Units(result);
    const Char* units = Data();
    int copied = 0;
    for (int at = Find(find, 0); at != -1; at = Find(find, at + findLength)) {
        CopyUnits(out, units + copied, at - copied);
        out += at - copied;
        CopyUnits(out, with.Data(), withLength);
        out += withLength;
        copied = at + findLength;
    }
    CopyUnits(out, units + copied, rep->length - copied);
    return String(result);
}

// ---------------------------------------------------------------------------
// Case mapping and numbers

namespace {

Char Lower(Char c) { return static_cast<Char>(std::towlower(c)); }
Char Upper(Char c) { return static_cast<Char>(std::towupper(c)); }

// Index of the first unit the mapping changes, or count when none changes.
int FirstMapped(const Char* units, int count, Char (*map)(Char)) {
    int i = 0;
    while (i < count && map(units[i]) == units[i]) ++i;
    return i;
}

void MapInto(Char* out, const Char* units, int count, int first, Char (*map)(Char)) {
    CopyUnits(out, units, first);
    for (int i = first; i < count; ++i) out[i] = map(units[i]);
}

}  // namespace

String String::Mapped(Char (*map)(Char)) const {
    int first = FirstMapped(Data(), rep->length, map);
    if (first == rep->length) return *this;
    Rep* mapped = Alloc(rep->length);
    MapInto(Units(mapped), Data(), rep->length, first, map);
    return String(mapped);
}

String String::ToLower() const { return Mapped(Lower); }

String String::ToUpper() const { return Mapped(Upper); }

int String::ToInt() const {
    char text[64];
    int count = rep->length < 63 ? rep->length : 63;
    const Char* units = Data();
    for (int i = 0; i < count; ++i) text[i] = static_cast<char>(units[i] & 0xFF);
    text[count] = 0;
    return std::atoi(text);
}

// ---------------------------------------------------------------------------
// UTF-8

void String::AppendUtf8(std::string& out) const {
    const Char* units = Data();
    for (int i = 0; i < rep->length; ++i) {
        unsigned c = units[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

std::string String::ToUtf8() const {
    std::string out;
    out.reserve(static_cast<std::size_t>(rep->length));
    AppendUtf8(out);
    return out;
}

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes bytes[0, size) into out (when given) and returns the number of code
// units, or -1 when the bytes are not UTF-8 this runtime accepts.
int DecodeUtf8(const unsigned char* bytes, std::size_t size, Char* out) {
    int count = 0;
    std::size_t i = 0;
    while (i < size) {
        unsigned lead = bytes[i];
        unsigned code;
        if (lead < 0x80) {
            code = lead;
            i += 1;
        } else if ((lead & 0xE0) == 0xC0) {
            if (size - i < 2 || !IsContinuation(bytes[i + 1])) return -1;
            code = ((lead & 0x1F) << 6) | (bytes[i + 1] & 0x3F);
            i += 2;
        } else if ((lead & 0xF0) == 0xE0) {
            if (size - i < 3 || !IsContinuation(bytes[i + 1]) || !IsContinuation(bytes[i + 2])) return -1;
            code = (lead << 12) | ((bytes[i + 1] & 0x3F) << 6) | (bytes[i + 2] & 0x3F);
            i += 3;
        } else {
            return -1;
        }
        if (out) out[count] = static_cast<Char>(code);
        ++count;
    }
    return count;
}

}  // namespace

String String::Load(FILE* file) {
    std::optional<std::vector<unsigned char>> rest = ReadRestOfFile(file);
    if (!rest || rest->empty()) return String();
    const std::vector<unsigned char>& bytes = *rest;
    std::size_t size = bytes.size();
    _str_load_err = nullptr;

    const unsigned char* p = bytes.data();
    bool bigEndian = size >= 2 && p[0] == 0xFE && p[1] == 0xFF;
    bool littleEndian = size >= 2 && p[0] == 0xFF && p[1] == 0xFE;
    if (bigEndian || littleEndian) {
        int count = static_cast<int>((size - 2) / 2);
        Rep* rep = Alloc(count);
        Char* out = Units(rep);
        int high = bigEndian ? 0 : 1;
        for (int i = 0; i < count; ++i) {
            const unsigned char* pair = p + 2 + 2 * i;
            out[i] = static_cast<Char>(pair[high] << 8 | pair[1 - high]);
        }
        return String(rep);
    }

    if (size > 2 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        p += 3;
        size -= 3;
    }
    int count = DecodeUtf8(p, size, nullptr);
    if (count >= 0) {
        Rep* rep = Alloc(count);
        DecodeUtf8(p, size, Units(rep));
        return String(rep);
    }

    _str_load_err = "Invalid UTF-8";
    Rep* rep = Alloc(static_cast<int>(size));
    Char* out = Units(rep);
    for (std::size_t i = 0; i < size; ++i) out[i] = p[i];
    return String(rep);
}

// ---------------------------------------------------------------------------
// CString

template <class C> String::CString<C>::CString(const String& text) {
    int length = text.Length();
    block = static_cast<int*>(kp_malloc(sizeof(int) + (static_cast<std::size_t>(length) + 1) * sizeof(C)));
    *block = 1;
    C* out = reinterpret_cast<C*>(block + 1);
    const Char* units = text.Data();
    for (int i = 0; i < length; ++i) out[i] = static_cast<C>(units[i]);
    out[length] = 0;
}

template <class C> String::CString<C>::CString(const CString& other) : block(other.block) { ++*block; }

template <class C> String::CString<C>& String::CString<C>::operator=(const CString& other) {
    ++*other.block;
    if (--*block == 0) std::free(block);
    block = other.block;
    return *this;
}

template <class C> String::CString<C>::~CString() {
    if (--*block == 0) std::free(block);
}

template <class C> const C* String::CString<C>::chars() const { return reinterpret_cast<const C*>(block + 1); }

template class String::CString<char>;
template class String::CString<wchar_t>;
