// Linux without the table: the files of /sys/class/dmi/id that the user
// can read (root all of them, others those the kernel makes world-readable),
// turned back into the structures they come from, so that the plug-in
// answers from them as it does from the table, for the names whose answer
// the files give exactly.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/host_interface.h"

namespace tarnwick::cli {

// What the kernel writes into a file (drivers/firmware/dmi_scan.c), from
// the first structure of `type` long enough to hold the field at `offset`.
enum class DmiIdKind {
  kString,       // the string the byte selects; empty for number 0, one past the strings, or blanks only
  kChassisType,  // the byte without its lock bit (80h), in decimal
  kRelease,      // "major.minor" from the byte and the next; absent for FFh FFh
  kUuid,         // 16 bytes as _smbuuid writes them, in lower case; absent when all 00h or FFh
};

struct DmiIdFile {
  const char* name;
  uint8_t type;
  uint8_t offset;
  DmiIdKind kind;
};

// The 18 files of mode 0444, then the serial numbers and the UUID, of mode
// 0400: for root only.
inline constexpr size_t kFirstRootOnlyFile = 18;
inline constexpr std::array<DmiIdFile, 22> kDmiIdFiles = {{
    {"bios_vendor", 0, 0x04, DmiIdKind::kString},
    {"bios_version", 0, 0x05, DmiIdKind::kString},
    {"bios_date", 0, 0x08, DmiIdKind::kString},
    {"bios_release", 0, 0x14, DmiIdKind::kRelease},
    {"ec_firmware_release", 0, 0x16, DmiIdKind::kRelease},
    {"sys_vendor", 1, 0x04, DmiIdKind::kString},
    {"product_name", 1, 0x05, DmiIdKind::kString},
    {"product_version", 1, 0x06, DmiIdKind::kString},
    {"product_sku", 1, 0x19, DmiIdKind::kString},
    {"product_family", 1, 0x1A, DmiIdKind::kString},
    {"board_vendor", 2, 0x04, DmiIdKind::kString},
    {"board_name", 2, 0x05, DmiIdKind::kString},
    {"board_version", 2, 0x06, DmiIdKind::kString},
    {"board_asset_tag", 2, 0x08, DmiIdKind::kString},
    {"chassis_vendor", 3, 0x04, DmiIdKind::kString},
    {"chassis_type", 3, 0x05, DmiIdKind::kChassisType},
    {"chassis_version", 3, 0x06, DmiIdKind::kString},
    {"chassis_asset_tag", 3, 0x08, DmiIdKind::kString},
    {"product_serial", 1, 0x07, DmiIdKind::kString},
    {"board_serial", 2, 0x07, DmiIdKind::kString},
    {"chassis_serial", 3, 0x07, DmiIdKind::kString},
    {"product_uuid", 1, 0x08, DmiIdKind::kUuid},
}};

// Each file's text without its final line feed, in kDmiIdFiles' order;
// none where the file is absent or, for `unread`, cannot be read.
using DmiIdTexts = std::array<std::optional<std::string>, kDmiIdFiles.size()>;
using DmiIdUnread = std::array<bool, kDmiIdFiles.size()>;

// Reads the folder `path`. False, with the reason, when the folder is not
// there. A file that cannot be read, is no regular file, or holds what the
// kernel does not write (a NUL, a number or UUID out of form) is marked in
// `unread`, costing only the names it feeds, and named with why in
// `faults`; a file for root only that a user cannot open is as expected and
// only marked.
bool ReadDmiIdFolder(const std::string& path, DmiIdTexts* texts, DmiIdUnread* unread, std::vector<std::string>* faults,
                     std::string* error);

// A bare structure table that gives what the files give: the structures of
// types 0 to 3, each as long as its last present field, and the end of the
// table.
std::vector<uint8_t> DmiIdTable(const DmiIdTexts& texts);

// True when the export `entry`, asked over DmiIdTable(texts), answers as it
// would over the machine's table: the files it reads were read.
bool AnswersExactly(const DmiIdTexts& texts, const DmiIdUnread& unread, NameExport entry);

}  // namespace tarnwick::cli
