// The two file layouts of an SMBIOS table besides the firmware service's:
// dmidecode's dump (an entry point at offset 0, the table behind it) and a
// bare structure table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tarnwick::cli {

using Bytes = std::vector<uint8_t>;

// Where a dump puts the table: right behind the 32 bytes kept for the
// entry point.
inline constexpr uint32_t kDumpTableAddress = 0x20;

// What a file holds, turned into what the firmware-table service returns.
// A dump (anchor "_SM3_", "_SM_" or "_DMI_" at offset 0) becomes the 8-byte
// header and its table; any other file is handed on as it is, and the
// loader's header check tells a service buffer from a bare table. False,
// with a message, for a dump whose entry point or table is cut short.
bool ServiceLayoutFromFile(Bytes file, Bytes* service, std::string* error);

// For a dump's first bytes (the 32 kept for the entry point, or fewer when
// the file is that short): where its table ends, as the entry point says.
// None for the other layouts and for an entry point that is cut short.
std::optional<uint64_t> DumpTableEnd(const Bytes& head);

// The table and what is known of its version; `has_version` is false for a
// bare table, whose version nobody recorded.
struct TableImage {
  const uint8_t* table = nullptr;
  uint32_t size = 0;
  bool has_version = false;
  uint8_t major = 0;
  uint8_t minor = 0;
  uint8_t revision = 0;  // docrev of SMBIOS 3, BCD revision before; 0: unknown
  // The entry point's counts: the structures read and the size of the
  // largest, string-set included.
  uint32_t count = 0;
  uint32_t largest = 0;
};

// The table the plug-in loaded, with the counts of its index: the dump
// claims exactly the structures that Tarnwick read.
TableImage LoadedTableImage();

// The dump layout that dmidecode --from-dump reads: "_SM3_" for SMBIOS 3
// and later, "_SM_" with "_DMI_" before, checksums set, table at 0x20. A
// table without version gets only the legacy "_DMI_" entry point with BCD
// revision 0, which claims no SMBIOS version and reads back as bare.
Bytes DumpLayout(const TableImage& image);

}  // namespace tarnwick::cli
