// The file layouts of an SMBIOS table besides the firmware service's:
// dmidecode's dump (an entry point at offset 0, the table behind it) and a
// bare structure table. The entry points and the service's header are read
// and written by smbios/reading/entry_point.h.
#pragma once

#include <cstdint>

#include "platform/bytes.h"
#include "smbios/reading/entry_point.h"
#include "smbios/model/table_model.h"

namespace tarnwick {

// Where a dump puts the table: right behind the room kept for the entry
// point.
inline constexpr uint32_t kDumpTableAddress = kEntryPointRoom;

// What a file holds, turned into what the firmware-table service returns.
// A dump (anchor "_SM3_", "_SM_" or "_DMI_" at offset 0) becomes the header
// its entry point gives and its table, whose length is cut to the file's
// end. A file without an entry point goes on as it is when it is in the
// service's layout, or is a bare table: its structures run to an
// end-of-table structure or to its end (zero bytes after the last count as
// padding). A file whose first structure is not valid goes on too, for the
// loader to refuse with its own message. Refused: a dump cut short, whose
// entry point gives no table length or whose table lies past its end, a service header whose length disagrees with the
// file, and a file that is no SMBIOS table.
enum class FileRefusal : uint8_t {
  kNone,                  // taken
  kEntryPointCut,         // the `kind` entry point ends before its fixed size
  kAddressPastFile,       // `table_address` lies past the file's end
  kNoTableLength,         // the `kind` entry point gives a table length (or maximum size) of 0
  kHeaderLengthMismatch,  // the service header gives `stated_length` bytes
  kNotATable,
};

struct FileLayout {
  FileRefusal refusal = FileRefusal::kNone;
  EntryPointKind kind = EntryPointKind::kNone;
  uint64_t table_address = 0;
  uint32_t stated_length = 0;
};

FileLayout ServiceLayoutFromFile(Bytes file, Bytes* service);

// The table and what is known of its version; `has_version` is false for a
// bare table, whose version nobody recorded.
struct TableImage {
  const uint8_t* table = nullptr;
  uint32_t size = 0;
  bool has_version = false;
  uint8_t major = 0;
  uint8_t minor = 0;
  uint8_t revision = 0;  // docrev of SMBIOS 3, BCD revision before; 0: unknown
  // Every structure of the table and the size of the largest, string-set
  // included, past the index's cap too.
  uint32_t count = 0;
  uint32_t largest = 0;
};

// The table of `model`, with the counts of the loader's walk: the dump
// claims exactly the structures that Tarnwick read.
TableImage ImageOf(const TableModel& model);

// The dump layout that dmidecode --from-dump reads: "_SM3_" for SMBIOS 3
// and later, "_SM_" with "_DMI_" before, checksums set, table at 0x20. A
// table without version gets only the legacy "_DMI_" entry point with BCD
// revision 0, which claims no SMBIOS version and reads back as bare; over
// 64 KiB, which no 16-bit length holds, "_SM3_" stating SMBIOS 3.0.
Bytes DumpLayout(const TableImage& image);

}  // namespace tarnwick
