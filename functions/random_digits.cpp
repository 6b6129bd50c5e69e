// @randx: n random hexadecimal digits, 8 when the brackets are empty.
#include "functions/argument_list.h"
#include "functions/random_generator.h"
#include "host/diagnostics.h"
#include "host/exports.h"

namespace tarnwick {
namespace {
constexpr uint32_t kDefaultDigits = 8;
constexpr uint32_t kMostDigits = 1024;
}  // namespace
}  // namespace tarnwick

using namespace tarnwick;

TARNWICK_EXPORT int TARNWICK_CALL f_randx(char16_t* buffer) {
  if (buffer == nullptr) return -1;
  uint32_t count = kDefaultDigits;
  if (buffer[0] != 0) {
    // The text is not split: a comma or a quote makes it no number.
    char16_t* number = buffer;
    while (IsWhiteSpace(*number)) ++number;
    if (ParseNumber(number, &count) != 0) {
      for (char16_t* at = buffer; *at != 0; ++at) *at = UpperCase(*at);
      Diagnose(u"Invalid number: '%s'\r\n", number);
      return -1;
    }
    if (count > kMostDigits) {
      Diagnose(u"Number too large: %u\r\n", count);
      return -1;
    }
  }
  DrawHexDigits(buffer, count);
  buffer[count] = 0;
  return 0;
}
