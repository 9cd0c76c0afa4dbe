#include "host/key_labels.h"

#include "host/glfw2.h"

namespace glfw2 {
namespace {

using Codes = std::array<int, LAST_PRINTABLE_KEY + 1>;

// The unshifted characters of a US keyboard's punctuation keys, which are
// also those keys' codes.
constexpr std::string_view kPunctuation = "',-./;=[\\]`";

bool IsDigit(int place) { return place >= '0' && place <= '9'; }

bool IsLetter(int place) { return place >= 'A' && place <= 'Z'; }

// The code of the key a label names, KEY_UNKNOWN when it names none. Every
// non-ASCII character is longer than one byte in UTF-8.
int LabelCode(std::string_view label) {
    if (label.size() != 1) return KEY_UNKNOWN;
    char character = label[0];
    if (character >= 'a' && character <= 'z') character = static_cast<char>(character - 'a' + 'A');
    if (IsLetter(character) || kPunctuation.find(character) != std::string_view::npos) return character;
    return KEY_UNKNOWN;
}

// Follows the keys that took a code by label, each to the place it left,
// until a place no label took. The walk ends: it starts at a key without a
// label, and no two keys took the same code.
int PlaceLeftFree(int place, const Codes& labelledAt) {
    while (labelledAt[place] != KEY_UNKNOWN) place = labelledAt[place];
    return place;
}

}  // namespace

bool IsPrintableKey(int place) {
    if (place < 0 || place > LAST_PRINTABLE_KEY) return false;
    return IsDigit(place) || IsLetter(place) || kPunctuation.find(static_cast<char>(place)) != std::string_view::npos;
}

Codes CodesByLabel(const LayoutLabels& labelOf) {
    Codes codes;
    Codes labelledAt;  // for each code, the place of the key whose label took it
    codes.fill(KEY_UNKNOWN);
    labelledAt.fill(KEY_UNKNOWN);
    for (int place = 0; place <= LAST_PRINTABLE_KEY; ++place) {
        if (!IsPrintableKey(place) || IsDigit(place)) continue;
        int code = LabelCode(labelOf(place));
        if (code == KEY_UNKNOWN || labelledAt[code] != KEY_UNKNOWN) continue;
        codes[place] = code;
        labelledAt[code] = place;
    }
    for (int place = 0; place <= LAST_PRINTABLE_KEY; ++place) {
        if (IsPrintableKey(place) && codes[place] == KEY_UNKNOWN) codes[place] = PlaceLeftFree(place, labelledAt);
    }
    return codes;
}

}  // namespace glfw2
