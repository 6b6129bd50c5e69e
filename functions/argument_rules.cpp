#include "functions/argument_rules.h"

#include "functions/argument_list.h"
#include "host/diagnostics.h"

namespace tarnwick {
namespace {

// Argument k of the list the last split made.
bool ReadArgument(int k, const ArgumentRule& rule, uint32_t* value) {
  const char16_t* text = g_arguments.texts[k];
  if (g_arguments.lengths[k] == 0) {
    if (rule.missing == nullptr) return true;
    Diagnose(rule.missing, nullptr);
    return false;
  }
  if (ParseNumber(text, value) != 0) {
    Diagnose(rule.not_number, text);
    return false;
  }
  if (*value < rule.lowest || *value > rule.highest) {
    Diagnose(rule.out_of_range, text);
    return false;
  }
  return true;
}

}  // namespace

bool ReadArguments(const char16_t* text, const ArgumentRule* rules, int count, uint32_t* values) {
  // The split's result is not consulted; each argument is judged by its
  // length.
  SplitArguments(text);
  for (int k = 0; k < count; ++k) {
    if (!ReadArgument(k, rules[k], &values[k])) return false;
  }
  return true;
}

}  // namespace tarnwick
