// The stand-in host's variables and their expansion in a text.
#pragma once

#include <string>
#include <string_view>

namespace tarnwick::wine {

// Names compare without regard to the case of A-Z, as the shell's do.
void SetVariable(std::u16string_view name, std::u16string_view value);

// Replaces "%name" (letters, digits and "_") and "%[name]" by the variable's
// value, "%%" by "%"; an unknown name expands to the empty text and a "%"
// that opens no reference stays as it is.
std::u16string Expand(std::u16string_view text);

}  // namespace tarnwick::wine
