#include "smbios/check/checked_version.h"

#include "smbios/description/field_description.h"

namespace tarnwick {

CheckedVersion CheckedVersion::Of(const TableModel& model) {
  if (!model.version) return {};
  const SmbiosVersion version = EffectiveVersion(*model.version);
  return {static_cast<uint16_t>(version.major << 8 | version.minor), true};
}

uint16_t CheckedVersion::ForType(uint8_t type) const { return stated ? version : FirstVersionOf(type); }

Finding CheckedVersion::Stamp(const Structure& structure, FindingKind kind) const {
  Finding finding;
  finding.kind = kind;
  finding.handle = structure.handle;
  finding.type = structure.type;
  finding.position = structure.position;
  finding.version = ForType(structure.type);
  finding.version_stated = stated;
  return finding;
}

}  // namespace tarnwick
