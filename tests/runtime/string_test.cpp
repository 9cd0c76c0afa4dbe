#include "runtime/kp_string.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/gc.h"
#include "runtime/kp_array.h"

namespace {

String U(std::u16string_view text) { return String(text.data(), static_cast<int>(text.size())); }

std::u16string Units(const String& s) { return std::u16string(s.Data(), s.Data() + s.Length()); }

// Renders a String for failure messages: ASCII as is, other units as \uXXXX.
std::string Show(const String& s) {
    std::string out;
    for (int i = 0; i < s.Length(); ++i) {
        char buf[8];
        if (s[i] >= 0x20 && s[i] < 0x7F) {
            out += static_cast<char>(s[i]);
        } else {
            std::snprintf(buf, sizeof buf, "\\u%04X", s[i]);
            out += buf;
        }
    }
    return out;
}

bool IsNullRep(const String& s) { return s.Data() == String::nullRep.data; }

Array<String> MakeArray(const std::vector<std::u16string>& items) {
    Array<String> array(static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) array[static_cast<int>(i)] = U(items[i]);
    return array;
}

std::vector<std::u16string> Items(const Array<String>& array) {
    std::vector<std::u16string> out;
    for (int i = 0; i < array.Length(); ++i) out.push_back(Units(array[i]));
    return out;
}

// --- construction ----------------------------------------------------------

TEST(StringConstruct, CharTextTakesBytesAsSigned) {
    String s("A\x7F\x80\xE9\xFF");
    EXPECT_EQ(Units(s), (std::u16string{u'A', 0x7F, 0xFF80, 0xFFE9, 0xFFFF}));
    EXPECT_TRUE(IsNullRep(String("")));
}

TEST(StringConstruct, UnitDataIsCopiedAndTruncated) {
    const Char units[] = {0x41, 0xE9, 0xFFFF};
    String fromUnits(units, 3);
    EXPECT_EQ(Units(fromUnits), (std::u16string{0x41, 0xE9, 0xFFFF}));
    EXPECT_NE(fromUnits.Data(), units);

    const wchar_t wide[] = {L'x', static_cast<wchar_t>(0x20AC), static_cast<wchar_t>(0x1F600)};
    EXPECT_EQ(Units(String(wide, 3)), (std::u16string{u'x', 0x20AC, 0xF600}));

    EXPECT_TRUE(IsNullRep(String(units, 0)));
    EXPECT_TRUE(IsNullRep(String(wide, 0)));
}

TEST(StringConstruct, FromInt) {
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {42, "42"}, {-7, "-7"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) EXPECT_EQ(String(c.value), String(c.text)) << c.value;
}

TEST(StringConstruct, FromFloatPrintsShortestDoubleAndMarksWholeNumbers) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {100.0f, "100.0"},
        {0.5f, "0.5"},
        {0.1f, "0.10000000149011612"},
        {-2.0f, "-2.0"},
        {0.0f, "0.0"},
        {1e20f, "1.0000000200408773e+20"},
        {16777216.0f, "16777216.0"},
    };
    for (const auto& c : cases) EXPECT_EQ(Show(String(c.value)), c.text) << c.value;
}

TEST(StringConstruct, FromChar) {
    EXPECT_EQ(Units(String::FromChar(0x20AC)), u"\u20AC");
    EXPECT_EQ(Units(String::FromChar(0x10041)), u"A");
}

// --- equality, concatenation, sharing -----------------------------------------

TEST(StringCompare, EqualityLooksAtUnitsNotBodies) {
    String a("abc");
    EXPECT_TRUE(a == String("abc"));
    EXPECT_FALSE(a == String("abd"));
    EXPECT_FALSE(a == String("ab"));
    EXPECT_TRUE(String() == String(""));
    EXPECT_TRUE(a != String("abcd"));
}

TEST(StringConcat, JoinsIntoNewBodyOrSharesWithEmptyOperand) {
    String left("ab"), right("cde"), empty;
    EXPECT_EQ(left + right, String("abcde"));
    EXPECT_EQ((left + empty).Data(), left.Data());
    EXPECT_EQ((empty + right).Data(), right.Data());
    EXPECT_TRUE(IsNullRep(empty + empty));

    String grown = left;
    grown += right;
    grown += empty;
    EXPECT_EQ(grown, String("abcde"));
    EXPECT_EQ(left, String("ab"));  // the shared body is untouched
}

TEST(StringLifetime, CopiesAndMovesKeepTextsApart) {
    String a("hello");
    String b = a;
    EXPECT_EQ(a.Data(), b.Data());
    String c = std::move(a);
    EXPECT_EQ(c.Data(), b.Data());
    EXPECT_EQ(a.Length(), 0);
    a = c;
    String& self = a;
    a = self;
    b = String("other");
    c = std::move(b);
    EXPECT_EQ(a, String("hello"));
    EXPECT_EQ(c, String("other"));
}

TEST(StringLifetime, EmptyBodyIsCountedButNeverFreed) {
    const int start = String::nullRep.refs;
    {
        std::vector<String> empties;
        String abc("abc");
        for (int i = 0; i < 1000; ++i) {
            empties.push_back(String());
            empties.push_back(String(""));
            empties.push_back(abc.Slice(2, 1));
            empties.push_back(abc.Replace(String("abc"), String()));
            empties.push_back(String().Join(Array<String>()));
            String moved = std::move(empties.back());
            empties.push_back(moved);
        }
        for (const String& e : empties) EXPECT_TRUE(IsNullRep(e));
        EXPECT_GT(String::nullRep.refs, start);
    }
    EXPECT_EQ(String::nullRep.refs, start);
}

// --- slicing and searching ----------------------------------------------------

TEST(StringSlice, ClampsAndCountsFromTheEnd) {
    const int kToEnd = INT_MIN;  // stands for Slice(from)
    const struct {
        int from, term;
        const char* expected;
    } cases[] = {
        {-3, kToEnd, "def"}, {2, -1, "cde"},  {4, 2, ""},    {-10, 2, "ab"},   {10, kToEnd, ""},
        {0, -10, ""},        {1, 100, "bcdef"}, {3, 3, ""},  {-2, -1, "e"},    {0, kToEnd, "abcdef"},
    };
    String s("abcdef");
    for (const auto& c : cases) {
        String got = c.term == kToEnd ? s.Slice(c.from) : s.Slice(c.from, c.term);
        EXPECT_EQ(Show(got), c.expected) << c.from << ", " << c.term;
    }
}

TEST(StringSlice, WholeRangeSharesTheBody) {
    String s("abcdef");
    EXPECT_EQ(s.Slice(0).Data(), s.Data());
    EXPECT_EQ(s.Slice(-100, 100).Data(), s.Data());
    EXPECT_NE(s.Slice(0, 5).Data(), s.Data());
}

TEST(StringFind, FirstFittingOccurrenceFromClampedStart) {
    const struct {
        const char *text, *sub;
        int start, expected;
    } cases[] = {
        {"abcabc", "bc", 0, 1}, {"abcabc", "bc", 2, 4}, {"abcabc", "bc", -5, 1}, {"abcabc", "bc", 5, -1},
        {"abc", "c", 3, -1},    {"abc", "cd", 0, -1},   {"abc", "abcd", 0, -1},  {"", "a", 0, -1},
        {"aaa", "aa", 1, 1},    {"abc", "", 1, 1},      {"abc", "", 3, 3},       {"abc", "", 4, -1},
        {"abc", "", 10, -1},    {"abc", "", -2, 0},     {"", "", 0, 0},          {"", "", 1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(String(c.text).Find(String(c.sub), c.start), c.expected)
            << c.text << " / " << c.sub << " from " << c.start;
    }
    EXPECT_TRUE(String("abc").Contains(String("bc")));
    EXPECT_FALSE(String("abc").Contains(String("cb")));
}

TEST(StringFind, FindLastSearchesBackward) {
    const struct {
        const char *text, *sub;
        int expected;
    } cases[] = {
        {"abcabc", "bc", 4}, {"abcabc", "a", 3}, {"aaa", "aa", 1}, {"abc", "abcd", -1},
        {"abc", "x", -1},    {"abc", "abc", 0},  {"abc", "", 3},   {"", "", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(String(c.text).FindLast(String(c.sub)), c.expected) << c.text << " / " << c.sub;
    }
}

TEST(StringFind, StartsAndEndsWith) {
    const struct {
        const char *text, *part;
        bool starts, ends;
    } cases[] = {
        {"abcdef", "abc", true, false}, {"abcdef", "def", false, true}, {"abc", "abc", true, true},
        {"abc", "", true, true},        {"ab", "abc", false, false},    {"", "a", false, false},
        {"aXa", "a", true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(String(c.text).StartsWith(String(c.part)), c.starts) << c.text << " / " << c.part;
        EXPECT_EQ(String(c.text).EndsWith(String(c.part)), c.ends) << c.text << " / " << c.part;
    }
}

// --- Split, Join, Replace --------------------------------------------------------

TEST(StringSplit, PiecesBetweenSeparators) {
    const struct {
        std::u16string text, separator;
        std::vector<std::u16string> pieces;
    } cases[] = {
        {u"a,,b", u",", {u"a", u"", u"b"}},
        {u",a,", u",", {u"", u"a", u""}},
        {u"a--b--", u"--", {u"a", u"b", u""}},
        {u"a---b", u"--", {u"a", u"-b"}},
        {u"abc", u",", {u"abc"}},
        {u"", u",", {u""}},
        {u"abc", u"", {u"a", u"b", u"c"}},
        {u"", u"", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Items(U(c.text).Split(U(c.separator))), c.pieces)
            << Show(U(c.text)) << " by " << Show(U(c.separator));
    }
}

TEST(StringSplit, NoOccurrenceSharesTheText) {
    String s("abc");
    Array<String> pieces = s.Split(String(","));
    ASSERT_EQ(pieces.Length(), 1);
    EXPECT_EQ(pieces[0].Data(), s.Data());
}

TEST(StringJoin, SeparatorBetweenElements) {
    const struct {
        std::u16string separator;
        std::vector<std::u16string> pieces;
        std::u16string expected;
    } cases[] = {
        {u",", {}, u""},
        {u",", {u"a"}, u"a"},
        {u"-", {u"a", u"", u"b"}, u"a--b"},
        {u"", {u"ab", u"cd"}, u"abcd"},
        {u", ", {u"x", u"y", u"z"}, u"x, y, z"},
        {u"", {u"", u""}, u""},
    };
    for (const auto& c : cases) {
        String joined = U(c.separator).Join(MakeArray(c.pieces));
        EXPECT_EQ(Units(joined), c.expected) << Show(joined);
        if (c.expected.empty()) {
            EXPECT_TRUE(IsNullRep(joined));
        }
    }
}

TEST(StringJoin, OneElementIsSharedAndRoundTripsSplit) {
    Array<String> one(1);
    one[0] = String("only");
    EXPECT_EQ(String(",").Join(one).Data(), one[0].Data());

    String text("a,b,,c,");
    EXPECT_EQ(String(",").Join(text.Split(String(","))), text);
}

TEST(StringReplace, NonOverlappingLeftToRight) {
    const struct {
        const char *text, *find, *with, *expected;
    } cases[] = {
        {"aaa", "aa", "b", "ba"},
        {"abcabc", "b", "XY", "aXYcaXYc"},
        {"abc", "abc", "", ""},
        {"a.b.c", ".", "", "abc"},
        {"abab", "ab", "ab", "abab"},
        {"xx", "x", "xyx", "xyxxyx"},
        {"abc", "", "x", "abc"},
        {"", "a", "b", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Show(String(c.text).Replace(String(c.find), String(c.with))), c.expected)
            << c.text << " : " << c.find << " -> " << c.with;
    }
}

TEST(StringReplace, WithoutOccurrenceSharesTheText) {
    String s("abc");
    EXPECT_EQ(s.Replace(String("x"), String("y")).Data(), s.Data());
    EXPECT_EQ(s.Replace(String(), String("y")).Data(), s.Data());
}

// --- case mapping and numbers ----------------------------------------------------

TEST(StringCase, MapsEachUnit) {
    String mixed = U(u"Hello, World 1\u20AC");
    EXPECT_EQ(Units(mixed.ToLower()), u"hello, world 1\u20AC");
    EXPECT_EQ(Units(mixed.ToUpper()), u"HELLO, WORLD 1\u20AC");
    String lower("abc");
    EXPECT_EQ(lower.ToLower().Data(), lower.Data());
    EXPECT_EQ(lower, String("abc"));
}

TEST(StringToInt, ReadsLeadingNumberOfNarrowedUnits) {
    const struct {
        std::u16string text;
        int expected;
    } cases[] = {
        {u"12abc", 12},
        {u"abc", 0},
        {u"", 0},
        {u"  -42", -42},
        {u"+7", 7},
        {std::u16string{0x0134, 0x0132}, 42},                // only the low byte counts
        {std::u16string(62, u' ') + u"5", 5},                // 63rd unit is still read
        {std::u16string(63, u' ') + u"5", 0},                // 64th unit is cut off
    };
    for (const auto& c : cases) EXPECT_EQ(U(c.text).ToInt(), c.expected) << Show(U(c.text));
}

// --- platform text ---------------------------------------------------------------

TEST(StringUtf8, EncodesEachUnitOnItsOwn) {
    const struct {
        Char unit;
        std::string bytes;
    } cases[] = {
        {0x41, "\x41"},          {0x7F, "\x7F"},          {0xE9, "\xC3\xA9"},       {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0x20AC, "\xE2\x82\xAC"}, {0xD83D, "\xED\xA0\xBD"}, {0xFFFF, "\xEF\xBF\xBF"},
    };
    for (const auto& c : cases) EXPECT_EQ(String::FromChar(c.unit).ToUtf8(), c.bytes) << int{c.unit};

    std::string out = "x";
    U(u"A\u00E9\u20AC").AppendUtf8(out);
    EXPECT_EQ(out, "xA\xC3\xA9\xE2\x82\xAC");
}

TEST(StringCString, NarrowAndWideCopiesShareOneBlock) {
    String text = U(u"A\u0142\u20AC");
    String::CString<char> narrow(text);
    EXPECT_EQ(std::string(narrow.chars()), std::string("AB\xAC"));

    String::CString<wchar_t> wide(text);
    EXPECT_EQ(std::wstring(wide), (std::wstring{L'A', static_cast<wchar_t>(0x142), static_cast<wchar_t>(0x20AC)}));

    String::CString<char> copy(narrow);
    EXPECT_EQ(copy.chars(), narrow.chars());
    String::CString<char> other{String("zz")};
    other = copy;
    String::CString<char>& self = other;
    other = self;
    EXPECT_EQ(other.chars(), narrow.chars());

    String::CString<char> empty{String()};
    EXPECT_EQ(empty.chars()[0], '\0');
}

// --- loading files ---------------------------------------------------------------

String LoadBytes(const std::string& bytes) {
    FILE* file = std::tmpfile();
    EXPECT_NE(file, nullptr);
    if (!file) return String();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    String text = String::Load(file);
    std::fclose(file);
    return text;
}

const char kStale[] = "stale";

TEST(StringLoad, DecodesByByteOrderMark) {
    const struct {
        std::string bytes;
        std::u16string expected;
        bool invalid;
    } cases[] = {
        {std::string("\xFF\xFE\x41\x00\x42\x00", 6), u"AB", false},
        {std::string("\xFE\xFF\x00\x41\x20\xAC", 6), u"A\u20AC", false},
        {std::string("\xFF\xFE\x41\x00\x42", 5), u"A", false},  // trailing odd byte
        {"\xFE\xFF", u"", false},
        {"\xEF\xBB\xBF\xC3\xA9", u"\u00E9", false},
        {"\xC3\xA9", u"\u00E9", false},
        {"a\xE2\x82\xAC", u"a\u20AC", false},
        {"\xEF\xBB\xBF", u"", false},
        {"\xEF\xBB\xBF\xEF\xBB\xBF", u"\uFEFF", false},  // only the first mark is skipped
        {"\xEF\xBB", u"\u00EF\u00BB", true},             // too short for a mark: truncated sequence
        {"A\x80" "B", u"A\u0080B", true},                // stray continuation
        {"\xF0\x9F\x98\x80", u"\u00F0\u009F\u0098\u0080", true},
        {"\xEF\xBB\xBF" "A\xC3", u"A\u00C3", true},      // mark stays skipped in the Latin-1 reading
        {"\xE2\x82" "A", u"\u00E2\u0082A", true},
        {"\xC3", u"\u00C3", true},
    };
    for (const auto& c : cases) {
        _str_load_err = kStale;
        String text = LoadBytes(c.bytes);
        EXPECT_EQ(Units(text), c.expected) << Show(text);
        if (c.invalid) {
            EXPECT_STREQ(_str_load_err, "Invalid UTF-8") << Show(text);
        } else {
            EXPECT_EQ(_str_load_err, nullptr) << Show(text);
        }
    }
}

TEST(StringLoad, EmptyFileGivesEmptyTextAndKeepsLastError) {
    _str_load_err = kStale;
    String text = LoadBytes("");
    EXPECT_TRUE(IsNullRep(text));
    EXPECT_EQ(_str_load_err, kStale);
}

TEST(StringLoad, ReadsAcrossBlocks) {
    // A two-byte sequence split by the first block boundary.
    String text = LoadBytes(std::string(4095, 'a') + "\xC3\xA9");
    ASSERT_EQ(text.Length(), 4096);
    EXPECT_EQ(text[4094], 'a');
    EXPECT_EQ(text[4095], 0xE9);

    EXPECT_EQ(LoadBytes(std::string(8192, 'b')).Length(), 8192);
}

TEST(StringLoad, ReadsBackEveryUnitWrittenAsUtf8) {
    std::u16string all;
    for (int c = 1; c <= 0xFFFF; ++c) all += static_cast<Char>(c);
    _str_load_err = kStale;
    String loaded = LoadBytes(U(all).ToUtf8());
    EXPECT_EQ(_str_load_err, nullptr);
    EXPECT_TRUE(Units(loaded) == all);
}

}  // namespace
