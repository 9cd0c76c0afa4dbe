#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <string>
#include <vector>

#include "host/glfw2.h"
#include "host/key_labels.h"

namespace {

using Labels = std::map<int, std::string>;

// A layout as its differences from what a US keyboard prints, by US place.
glfw2::LayoutLabels Layout(const Labels& differences) {
    return [differences](int place) -> std::string_view {
        static const std::array<std::string, 128> us = [] {
            std::array<std::string, 128> labels;
            for (int c = 0; c < 128; ++c) labels[c] = std::string(1, static_cast<char>(std::tolower(c)));
            return labels;
        }();
        auto found = differences.find(place);
        return found != differences.end() ? std::string_view(found->second) : std::string_view(us[place]);
    };
}

const Labels kUs;
const Labels kGerman{{'Y', "z"}, {'Z', "y"}, {'-', "ß"}, {'=', "´"}, {'[', "ü"}, {']', "+"}, {';', "ö"},
                     {'\'', "ä"}, {'`', "^"}, {'\\', "#"}, {'/', "-"}};
const Labels kFrench{{'1', "&"}, {'2', "é"}, {'3', "\""}, {'4', "'"}, {'5', "("}, {'6', "-"}, {'7', "è"},
                     {'8', "_"}, {'9', "ç"}, {'0', "à"}, {'-', ")"}, {'Q', "a"}, {'W', "z"}, {'[', "^"},
                     {']', "$"}, {'A', "q"}, {';', "m"}, {'\'', "ù"}, {'`', "²"}, {'\\', "*"}, {'Z', "w"},
                     {'M', ","}, {',', ";"}, {'.', ":"}, {'/', "!"}};
const Labels kRussian{{'Q', "й"}, {'W', "ц"}, {'E', "у"}, {'R', "к"}, {'T', "е"}, {'Y', "н"}, {'U', "г"},
                      {'I', "ш"}, {'O', "щ"}, {'P', "з"}, {'[', "х"}, {']', "ъ"}, {'A', "ф"}, {'S', "ы"},
                      {'D', "в"}, {'F', "а"}, {'G', "п"}, {'H', "р"}, {'J', "о"}, {'K', "л"}, {'L', "д"},
                      {';', "ж"}, {'\'', "э"}, {'Z', "я"}, {'X', "ч"}, {'C', "с"}, {'V', "м"}, {'B', "и"},
                      {'N', "т"}, {'M', "ь"}, {',', "б"}, {'.', "ю"}, {'/', "."}, {'`', "ё"}};
// Turkish F moves "a" to the US F place and puts a non-ASCII letter at A.
const Labels kTurkishF{{'Q', "f"}, {'W', "g"}, {'E', "ğ"}, {'R', "ı"}, {'T', "o"}, {'Y', "d"}, {'U', "r"},
                       {'I', "n"}, {'O', "h"}, {'P', "p"}, {'[', "q"}, {']', "w"}, {'A', "u"}, {'S', "i"},
                       {'D', "e"}, {'F', "a"}, {'G', "ü"}, {'H', "t"}, {'J', "k"}, {'K', "m"}, {'L', "l"},
                       {';', "y"}, {'\'', "ş"}, {'\\', "x"}, {'Z', "j"}, {'X', "ö"}, {'C', "v"}, {'V', "c"},
                       {'B', "ç"}, {'N', "z"}, {'M', "s"}, {',', "b"}, {'.', "."}, {'/', ","}};
// Two keys print a (the one at A keeps it), one key prints an upper-case
// letter, one prints nothing.
const Labels kOdd{{'Q', "a"}, {'E', "R"}, {'R', ""}};

struct LabelCase {
    const char* layout;
    const Labels& labels;
    int place;
    int code;
};

TEST(KeyLabels, KeysTakeTheCodeOfTheirLabel) {
    const LabelCase cases[] = {
        {"us", kUs, 'Z', 'Z'},
        {"us", kUs, ';', ';'},
        // German: the jump key Z is where a US keyboard has Y.
        {"de", kGerman, 'Y', 'Z'},
        {"de", kGerman, 'Z', 'Y'},
        {"de", kGerman, 'Q', 'Q'},
        {"de", kGerman, '/', '-'},
        {"de", kGerman, '-', '/'},  // ß takes the place the '-' key left
        {"de", kGerman, ';', ';'},  // ö keeps its place
        {"de", kGerman, '`', '`'},  // a dead key keeps its place
        // French.
        {"fr", kFrench, 'Q', 'A'},
        {"fr", kFrench, 'A', 'Q'},
        {"fr", kFrench, 'W', 'Z'},
        {"fr", kFrench, 'Z', 'W'},
        {"fr", kFrench, ';', 'M'},
        {"fr", kFrench, 'M', ','},  // not a second M
        {"fr", kFrench, ',', ';'},
        {"fr", kFrench, '.', '.'},  // ':' is shifted on a US keyboard
        {"fr", kFrench, '=', '='},
        {"fr", kFrench, '1', '1'},  // the number row keeps its digits
        {"fr", kFrench, '3', '3'},
        {"fr", kFrench, '4', '4'},
        {"fr", kFrench, '6', '6'},
        // Russian: Cyrillic letters keep their places.
        {"ru", kRussian, 'Y', 'Y'},
        {"ru", kRussian, 'Z', 'Z'},
        {"ru", kRussian, 'A', 'A'},
        {"ru", kRussian, '`', '`'},
        {"ru", kRussian, '/', '.'},
        {"ru", kRussian, '.', '/'},
        {"ru", kRussian, '5', '5'},
        {"tr-f", kTurkishF, 'F', 'A'},
        {"tr-f", kTurkishF, 'Q', 'F'},
        {"tr-f", kTurkishF, 'N', 'Z'},
        {"tr-f", kTurkishF, 'A', 'U'},
        {"odd", kOdd, 'A', 'A'},
        {"odd", kOdd, 'Q', 'Q'},
        {"odd", kOdd, 'E', 'R'},
        {"odd", kOdd, 'R', 'E'},
    };
    for (const LabelCase& c : cases) {
        EXPECT_EQ(glfw2::CodesByLabel(Layout(c.labels))[c.place], c.code)
            << c.layout << " key at US place '" << static_cast<char>(c.place) << "'";
    }
}

TEST(KeyLabels, EveryLayoutGivesEachKeyItsOwnCode) {
    std::vector<int> places;
    for (int place = 0; place <= glfw2::LAST_PRINTABLE_KEY; ++place) {
        if (glfw2::IsPrintableKey(place)) places.push_back(place);
    }
    EXPECT_EQ(places.size(), 10u + 26u + 11u);
    for (const Labels* labels : {&kUs, &kGerman, &kFrench, &kRussian, &kTurkishF, &kOdd}) {
        auto codes = glfw2::CodesByLabel(Layout(*labels));
        std::vector<int> given;
        for (int place : places) given.push_back(codes[place]);
        std::sort(given.begin(), given.end());
        EXPECT_EQ(given, places) << "a code given twice or lost";
    }
    EXPECT_FALSE(glfw2::IsPrintableKey(' '));
    EXPECT_FALSE(glfw2::IsPrintableKey(':'));
    EXPECT_FALSE(glfw2::IsPrintableKey(glfw2::KEY_ESC));
}

}  // namespace
