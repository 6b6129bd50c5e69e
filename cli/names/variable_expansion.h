// The shell's expansion of variable references in a text, as the plug-in's
// ExpandVariables call asks for it.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tarnwick::cli {

// The value of a variable, or false when it is not defined.
using VariableLookup = std::function<bool(std::string_view name, std::string* value)>;

// Replaces "%[name]" and "%name" by the variable's value (an undefined one
// by nothing); in "%name" the name runs over letters, digits, "_" and "$",
// and a "%" right after it closes the reference. "%%" stands for one "%";
// any other "%" is kept.
std::string ExpandReferences(std::string_view text, const VariableLookup& lookup);

}  // namespace tarnwick::cli
