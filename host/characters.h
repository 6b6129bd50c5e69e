// Character classes of argument texts and names, the same on every platform
// so that every build of the plug-in reads a text alike.
#pragma once

#include <algorithm>
#include <string_view>

namespace tarnwick {

// U+0009-U+000D, U+0020, U+00A0, and above U+00FF the Unicode White_Space
// characters. Inline: the split and the placeholder rule ask it of every
// character.
constexpr bool IsWhiteSpace(char16_t c) {
  if (c <= 0xFF) return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0xA0;
  return c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
         c == 0x205F || c == 0x3000;
}

// "a"-"z" become "A"-"Z"; every other character stays, accented letters too.
template <class Char>
constexpr Char UpperCase(Char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<Char>(c - 0x20) : c;
}

// Equal but for the case of A-Z and a-z, as the shell matches names and
// variables; every other unit must be the same.
template <class Char>
constexpr bool SameIgnoringAsciiCase(std::basic_string_view<Char> left, std::basic_string_view<Char> right) {
  return left.size() == right.size() && std::equal(left.begin(), left.end(), right.begin(), [](Char a, Char b) {
           return UpperCase(a) == UpperCase(b);
         });
}

}  // namespace tarnwick
