// Character classes of argument texts and names, the same on every platform
// so that every build of the plug-in reads a text alike.
#pragma once

namespace tarnwick {

// U+0009-U+000D, U+0020, U+00A0, and above U+00FF the Unicode White_Space
// characters.
bool IsWhiteSpace(char16_t c);

// "a"-"z" become "A"-"Z"; every other character stays, accented letters too.
inline char16_t UpperCase(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c; }

}  // namespace tarnwick
