#include "smbios/model/kernel_dmi_fields.h"

#include "smbios/reading/uuid_text.h"

namespace tarnwick {
namespace {

// The kernel takes a field from a structure whose length byte reaches past
// its first byte; for a release that is the major byte, and it reads the
// minor byte after it even where the length ends between the two (the
// first byte of the string-set then).
uint32_t NeededLength(const KernelDmiField& field) {
  return field.offset + (field.kind == KernelDmiKind::kUuid ? kUuidBytes : 1u);
}

std::optional<std::string> Text(const Structure& s, const KernelDmiField& field, SmbiosVersion version) {
  const uint8_t* at = s.bytes + field.offset;
  switch (field.kind) {
    case KernelDmiKind::kString: {
      const std::string_view text = s.StringField(field.offset).value_or(std::string_view());
      return std::string(text.find_first_not_of(' ') == std::string_view::npos ? std::string_view() : text);
    }
    case KernelDmiKind::kChassis:
      return std::to_string(s.Field(field.offset).value_or(0) & 0x7F);
    case KernelDmiKind::kRelease:
      if (at[0] == 0xFF && at[1] == 0xFF) return std::nullopt;
      return std::to_string(at[0]) + '.' + std::to_string(at[1]);
    case KernelDmiKind::kUuid: {
      if (IsUnsetUuid(at)) return std::nullopt;
      char16_t wide[kUuidTextLength + 1];
      WriteUuid(wide, at, version);
      std::string text;
      for (const char16_t* c = wide; *c != 0; ++c) {
        text += static_cast<char>(*c >= u'A' && *c <= u'F' ? *c - u'A' + u'a' : *c);
      }
      return text;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> KernelDmiText(const TableModel& model, const KernelDmiField& field) {
  for (const Structure& s : model.structures) {
    if (s.type == field.type && s.length >= NeededLength(field)) {
      return Text(s, field, model.version.value_or(SmbiosVersion{0, 0}));
    }
  }
  return std::nullopt;
}

}  // namespace tarnwick
