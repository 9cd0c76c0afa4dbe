#pragma once

#include <array>
#include <functional>
#include <string_view>

// Letter keys follow what the layout prints on them, as the platform's
// virtual keys do, while GLFW 3 names every key by its place on a US
// keyboard. Codes here are 2.7 key codes; a printable key's US place is its
// 2.7 code on a US keyboard, which GLFW 3 numbers the same way.
namespace glfw2 {

// The highest US place of a printable key (the grave accent key).
constexpr int LAST_PRINTABLE_KEY = '`';

// The keys a US keyboard prints a character on, besides Space.
bool IsPrintableKey(int place);

// The character (UTF-8) a layout prints on the key at a US place, "" for none.
using LayoutLabels = std::function<std::string_view(int place)>;

// The code of each printable key, indexed by its US place (other entries
// KEY_UNKNOWN). A key labelled with a letter A-Z, or with a character of a US
// punctuation key, takes that key's code; the number row and keys with other
// labels (Cyrillic, accented, shifted symbols) keep their places, except that
// a key whose place went to another key's label takes the place that key
// left. No two keys share a code.
std::array<int, LAST_PRINTABLE_KEY + 1> CodesByLabel(const LayoutLabels& labelOf);

}  // namespace glfw2
