// What the Linux kernel reads from the table into the files of
// /sys/class/dmi/id (drivers/firmware/dmi_scan.c), field by field as it
// reads them, so that values taken from the table join with those that
// node_exporter and other tools read from the files.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "smbios/model/table_model.h"

namespace tarnwick {

// How the kernel writes a field; each kind takes the first structure of
// the type whose length holds the field, as the kernel does.
enum class KernelDmiKind : uint8_t {
  kString,       // the string the byte selects; empty for number 0, one past the
                 // strings, or spaces only
  kChassis,      // the chassis type byte without its lock bit (80h), in decimal
  kRelease,      // "major.minor" from the byte and the next; no file for FFh FFh
  kUuid,         // lower-case XXXXXXXX-XXXX-...; no file for all 00h or all FFh
};

struct KernelDmiField {
  const char* name;  // the file's
  uint8_t type;
  uint8_t offset;
  KernelDmiKind kind;
  bool root_only;  // mode 0400: the serial numbers and the UUID
  const char* label;  // node_exporter's label of node_dmi_info for the file; null: none
};

inline constexpr std::array<KernelDmiField, 22> kKernelDmiFields = {{
    {"bios_vendor", 0, 0x04, KernelDmiKind::kString, false, "bios_vendor"},
    {"bios_version", 0, 0x05, KernelDmiKind::kString, false, "bios_version"},
    {"bios_date", 0, 0x08, KernelDmiKind::kString, false, "bios_date"},
    {"bios_release", 0, 0x14, KernelDmiKind::kRelease, false, "bios_release"},
    {"ec_firmware_release", 0, 0x16, KernelDmiKind::kRelease, false, nullptr},
    {"sys_vendor", 1, 0x04, KernelDmiKind::kString, false, "system_vendor"},
    {"product_name", 1, 0x05, KernelDmiKind::kString, false, "product_name"},
    {"product_version", 1, 0x06, KernelDmiKind::kString, false, "product_version"},
    {"product_serial", 1, 0x07, KernelDmiKind::kString, true, "product_serial"},
    {"product_uuid", 1, 0x08, KernelDmiKind::kUuid, true, "product_uuid"},
    {"product_sku", 1, 0x19, KernelDmiKind::kString, false, "product_sku"},
    {"product_family", 1, 0x1A, KernelDmiKind::kString, false, "product_family"},
    {"board_vendor", 2, 0x04, KernelDmiKind::kString, false, "board_vendor"},
    {"board_name", 2, 0x05, KernelDmiKind::kString, false, "board_name"},
    {"board_version", 2, 0x06, KernelDmiKind::kString, false, "board_version"},
    {"board_serial", 2, 0x07, KernelDmiKind::kString, true, "board_serial"},
    {"board_asset_tag", 2, 0x08, KernelDmiKind::kString, false, "board_asset_tag"},
    {"chassis_vendor", 3, 0x04, KernelDmiKind::kString, false, "chassis_vendor"},
    {"chassis_type", 3, 0x05, KernelDmiKind::kChassis, false, "chassis_type"},
    {"chassis_version", 3, 0x06, KernelDmiKind::kString, false, "chassis_version"},
    {"chassis_serial", 3, 0x07, KernelDmiKind::kString, true, "chassis_serial"},
    {"chassis_asset_tag", 3, 0x08, KernelDmiKind::kString, false, "chassis_asset_tag"},
}};

// The place of the file named `name` in kKernelDmiFields; its size for another name.
constexpr size_t KernelDmiFieldIndex(std::string_view name) {
  size_t i = 0;
  while (i < kKernelDmiFields.size() && kKernelDmiFields[i].name != name) ++i;
  return i;
}

// The text the kernel writes into the field's file, without the line feed
// it adds; none where it writes no file. The UUID's byte order is that of
// the model's version.
std::optional<std::string> KernelDmiText(const TableModel& model, const KernelDmiField& field);

}  // namespace tarnwick
