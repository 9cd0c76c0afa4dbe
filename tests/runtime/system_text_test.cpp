#include "runtime/system_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Units(const String& s) { return std::u16string(s.Data(), s.Data() + s.Length()); }

// Bytes from the system come in as text and go back out unchanged, whatever
// they are: a folder named in UTF-8 reads as its letters, one named in
// another encoding still opens.
TEST(SystemText, DecodesUtf8AndKeepsEveryOtherByte) {
    const struct {
        const char* name;
        std::string bytes;
        std::u16string units;
    } cases[] = {
        {"ascii", "/home/jo/games", u"/home/jo/games"},
        {"two-byte letter", "/home/zo\xC3\xAB", u"/home/zo\u00EB"},
        {"three-byte letter", "\xE2\x82\xAC", u"\u20AC"},
        {"four-byte character", "\xF0\x9F\x8E\xAE", u"\U0001F3AE"},
        {"latin-1 byte", "caf\xE9", u"caf\xDCE9"},
        {"stray continuation", "a\x80", u"a\xDC80"},
        {"cut-off sequence", "\xE2\x82", u"\xDCE2\xDC82"},
        {"overlong slash", "\xC0\xAF", u"\xDCC0\xDCAF"},
        {"encoded surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
    };
    for (const auto& c : cases) {
        String text = SystemText(c.bytes);
        EXPECT_EQ(Units(text), c.units) << c.name;
        EXPECT_EQ(SystemBytes(text), c.bytes) << c.name;
    }
}

TEST(SystemText, TextMadeInTheGameBecomesUtf8) {
    const Char units[] = {u'z', u'o', 0xEB, 0x20AC, 0xD83C, 0xDFAE};
    EXPECT_EQ(SystemBytes(String(units, 6)), "zo\xC3\xAB\xE2\x82\xAC\xF0\x9F\x8E\xAE");
    EXPECT_EQ(SystemBytes(String()), "");
}

}  // namespace
