#include "plugin/kernel_dmi_answers.h"

#include "functions/argument_list.h"
#include "functions/real_value.h"
#include "smbios/description/structure_types.h"

namespace tarnwick {
namespace {

constexpr size_t kBiosRelease = KernelDmiFieldIndex("bios_release");
constexpr size_t kEcRelease = KernelDmiFieldIndex("ec_firmware_release");
constexpr size_t kBoardAssetTag = KernelDmiFieldIndex("board_asset_tag");
constexpr size_t kChassisTypeFile = KernelDmiFieldIndex("chassis_type");
constexpr size_t kChassisAssetTag = KernelDmiFieldIndex("chassis_asset_tag");
constexpr size_t kUuidFile = KernelDmiFieldIndex("product_uuid");
static_assert(kUuidFile < kKernelDmiFields.size() && kChassisTypeFile < kKernelDmiFields.size());

// The STRING rows of the one list whose field is one of the files read.
bool IsStringOfAFile(NameExport entry, const KernelDmiUnread& unread) {
  struct Row {
    NameExport entry;
    uint8_t type;
    uint8_t offset;
  };
#define TARNWICK_STRING_ROW(name, type, offset, help) Row{&name, type, offset},
#define TARNWICK_OTHER_ROW(...)
  static constexpr Row kRows[] = {TARNWICK_NAMES(TARNWICK_STRING_ROW, TARNWICK_OTHER_ROW, TARNWICK_OTHER_ROW)};
#undef TARNWICK_STRING_ROW
#undef TARNWICK_OTHER_ROW
  for (const Row& row : kRows) {
    if (row.entry != entry) continue;
    for (size_t i = 0; i < kKernelDmiFields.size(); ++i) {
      const KernelDmiField& file = kKernelDmiFields[i];
      if (file.kind == KernelDmiKind::kString && file.type == row.type && file.offset == row.offset) return !unread[i];
    }
  }
  return false;
}

// A call of @smbcount, @smbbyte, @smbword, @smbdword or @smbqword that
// udev's memory devices answer as the table would.
bool MemoryCallExact(const UdevMemoryDevices& memory, NameExport entry, const char16_t* argument) {
  const bool field = entry == &f_smbbyte || entry == &f_smbword || entry == &f_smbdword || entry == &f_smbqword;
  uint32_t type = 0, offset = 0;
  // Only these calls' arguments are split here, so no other name's diagnostic is written twice.
  if ((!field && entry != &f_smbcount) || memory.empty() || !EveryUdevMemoryDeviceHeld(memory) ||
      SplitArguments(argument) < 1 || ParseNumber(g_arguments.texts[0], &type) != 0 || type != kMemoryDeviceType) {
    return false;
  }
  if (entry == &f_smbcount) return true;
  const uint32_t width = entry == &f_smbbyte ? 1 : entry == &f_smbword ? 2 : entry == &f_smbdword ? 4 : 8;
  return g_arguments.count >= 2 && ParseNumber(g_arguments.texts[1], &offset) == 0 &&
         (g_arguments.count < 3 || g_arguments.lengths[2] == 0) &&
         ExactFirstUdevMemoryField(memory, offset, width).has_value();
}

bool AnswersExactly(const KernelDmiTexts& texts, const KernelDmiUnread& unread, NameExport entry) {
  if (entry == &f_randx) return true;  // random digits read no table
  // Without a file, the BIOS release is either beyond a short structure
  // (N/A) or FFh FFh (255.255); only the EC release's file tells which.
  if (entry == &_smbbiosrev) {
    return !unread[kBiosRelease] && !unread[kEcRelease] &&
           (texts[kBiosRelease] || texts[kEcRelease] || !AnyKernelDmiText(texts, 0));
  }
  // The UUID's file is absent where _smbuuid answers N/A: all 00h or FFh,
  // or no System Information structure long enough to hold it.
  if (entry == &_smbuuid) return !unread[kUuidFile];
  // The chassis type without its lock bit; the EC release, N/A alike for
  // FFh FFh and a short structure.
  if (entry == &_smbchassistype || entry == &_smbbox) return !unread[kChassisTypeFile];
  if (entry == &_smbecversion) return !unread[kEcRelease];
  // The chassis asset tag, or failing that the board's.
  if (entry == &_smbassettag) return !unread[kBoardAssetTag] && !unread[kChassisAssetTag];
  return IsStringOfAFile(entry, unread);
}

}  // namespace

bool KernelDmiAnswersExactly(const KernelDmiTexts& texts, const KernelDmiUnread& unread,
                             const UdevMemoryDevices& memory, const ExportEntry& row, const char16_t* argument) {
  if (row.entry == &_smbmemory) return !memory.empty() && EveryUdevMemoryDeviceHeld(memory);
  if (MemoryCallExact(memory, row.entry, argument)) return true;
  if (row.entry != &f_smbreal) return AnswersExactly(texts, unread, row.entry);
  const ExportEntry* named = RealValueVariable(argument);
  return named == nullptr || (named->entry == &_smbmemory ? !memory.empty() && EveryUdevMemoryDeviceHeld(memory)
                                                          : AnswersExactly(texts, unread, named->entry));
}

}  // namespace tarnwick
