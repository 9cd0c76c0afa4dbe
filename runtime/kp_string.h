#pragma once

#include <cstdio>
#include <string>

template <class T> class Array;

// One UTF-16 code unit.
typedef char16_t Char;

// The last error of String::Load: "Invalid UTF-8", or null when the last
// non-empty load decoded cleanly.
extern const char* _str_load_err;

// Immutable, reference-counted UTF-16 text. Operations whose result equals an
// operand hand back that operand's body instead of copying it.
class String {
public:
    struct Rep {
        int refs;
        int length;
        Char data[1];
    };

    // A zero-terminated copy of the text for platform calls, one C per code
    // unit (char keeps the low byte, wchar_t the whole unit).
    template <class C> class CString {
    public:
        explicit CString(const String& text);
        CString(const CString& other);
        CString& operator=(const CString& other);
        ~CString();
        operator const C*() const { return chars(); }
        const C* chars() const;

    private:
        int* block;
    };

    String();
    String(const String& other);
    String(String&& other) noexcept;
    String& operator=(const String& other);
    String& operator=(String&& other) noexcept;
    ~String();

    String(const char* text);
    String(const Char* data, int length);
    String(const wchar_t* data, int length);
    explicit String(int value);
    explicit String(float value);
    static String FromChar(int code);

    int Length() const { return rep->length; }
    int operator[](int index) const { return Data()[index]; }
    const Char* Data() const { return rep->data; }

    bool operator==(const String& other) const;
    bool operator!=(const String& other) const { return !(*this == other); }
    String operator+(const String& other) const;
    String& operator+=(const String& other);

    String Slice(int from) const;
    String Slice(int from, int term) const;
    int Find(const String& sub, int start = 0) const;
    int FindLast(const String& sub) const;
    bool Contains(const String& sub) const;
    bool StartsWith(const String& prefix) const;
    bool EndsWith(const String& suffix) const;
    Array<String> Split(const String& separator) const;
    String Join(const Array<String>& pieces) const;
    String Replace(const String& find, const String& with) const;
    String ToLower() const;
    String ToUpper() const;
    int ToInt() const;

    // Appends the text as UTF-8, every code unit encoded on its own.
    void AppendUtf8(std::string& out) const;
    std::string ToUtf8() const;

    static String Load(FILE* file);

    static Rep nullRep;

private:
    explicit String(Rep* body) : rep(body) {}
    static Rep* Alloc(int length);
    // Each code unit through `map`; shared when nothing changes.
    String Mapped(Char (*map)(Char)) const;
    void Release();

    Rep* rep;
};
