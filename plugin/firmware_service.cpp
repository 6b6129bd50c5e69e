#include "plugin/firmware_service.h"

#include <cstring>

#include "smbios/reading/entry_point.h"
#include "smbios/reading/firmware_table.h"

namespace tarnwick {

#if defined(_WIN32)

platform::FirmwareTableFetch MachineFirmwareService() { return platform::LocateFirmwareService(); }

std::vector<uint8_t> KernelEntryPoint(const std::string&) { return {}; }

#else

namespace {

uint32_t FetchFromSysfs(uint32_t provider, uint32_t table_id, void* buffer, uint32_t buffer_size) {
  if (provider != platform::kRawSmbiosProvider || table_id != 0) return 0;
  return ReadDmiTables(platform::DmiTablesFolder(platform::kSysfs), buffer, buffer_size);
}

// The kernel's entry point file, at most kEntryPointRoom bytes: the count read.
size_t ReadEntryPointFile(const std::string& directory, uint8_t (&bytes)[kEntryPointRoom]) {
  const long read = platform::ReadFilePrefix(directory, "smbios_entry_point", bytes, kEntryPointRoom);
  return read < 0 ? 0 : static_cast<size_t>(read);
}

}  // namespace

uint32_t ReadDmiTables(const std::string& directory, void* buffer, uint32_t buffer_size) {
  uint8_t bytes[kEntryPointRoom];
  const EntryPoint entry = ReadEntryPoint(bytes, ReadEntryPointFile(directory, bytes));
  if (!entry.complete) return 0;
  // The kernel's DMI file is the table, whatever length the entry point
  // says, up to the bound of every source.
  const long long table_size = platform::FileSize(directory, "DMI", kLargestTable);
  if (table_size <= 0 || table_size > kLargestTable) return 0;
  const auto length = static_cast<uint32_t>(table_size);
  uint8_t header[kServiceHeaderSize];
  const uint32_t header_size = ServiceHeaderFor(entry, length, header);
  const uint32_t needed = header_size + length;
  if (buffer == nullptr || buffer_size < needed) return needed;
  auto* out = static_cast<uint8_t*>(buffer);
  std::memcpy(out, header, header_size);
  const long got = platform::ReadFilePrefix(directory, "DMI", out + header_size, length);
  return got == static_cast<long>(length) ? needed : 0;
}

std::vector<uint8_t> KernelEntryPoint(const std::string& sysfs) {
  uint8_t bytes[kEntryPointRoom];
  return {bytes, bytes + ReadEntryPointFile(platform::DmiTablesFolder(sysfs), bytes)};
}

platform::FirmwareTableFetch MachineFirmwareService() { return &FetchFromSysfs; }

#endif

}  // namespace tarnwick
