#include "cli/names/host_printf.h"

#include <cstdint>

namespace tarnwick::cli {

std::u16string FormatHostPrintf(const char16_t* format, va_list arguments) {
  std::u16string out;
  if (format == nullptr) return out;
  for (const char16_t* at = format; *at != 0; ++at) {
    if (*at != u'%') {
      out += *at;
      continue;
    }
    const char16_t conversion = at[1];
    if (conversion == 0) {
      out += u'%';
      break;
    }
    ++at;
    switch (conversion) {
      case u's': {
        const auto* text = va_arg(arguments, const char16_t*);
        out += text == nullptr ? u"(null)" : text;
        break;
      }
      case u'd': {
        const int32_t value = va_arg(arguments, int32_t);
        const int64_t wide = value;
        if (wide < 0) out += u'-';
        const std::string digits = std::to_string(wide < 0 ? -wide : wide);
        out.append(digits.begin(), digits.end());
        break;
      }
      case u'u': {
        const std::string digits = std::to_string(va_arg(arguments, uint32_t));
        out.append(digits.begin(), digits.end());
        break;
      }
      case u'%':
        out += u'%';
        break;
      default:  // not a conversion the plug-in uses: kept as written
        out += u'%';
        out += conversion;
        break;
    }
  }
  return out;
}

}  // namespace tarnwick::cli
