#include "plugin/firmware_service.h"

#include <cstring>

#include "smbios/entry_point.h"

namespace tarnwick {

#if defined(_WIN32)

platform::FirmwareTableFetch MachineFirmwareService() { return platform::LocateFirmwareService(); }

#else

namespace {

uint32_t FetchFromSysfs(uint32_t provider, uint32_t table_id, void* buffer, uint32_t buffer_size) {
  if (provider != platform::kRawSmbiosProvider || table_id != 0) return 0;
  return ReadDmiTables(platform::DmiTablesFolder(platform::kSysfs), buffer, buffer_size);
}

}  // namespace

uint32_t ReadDmiTables(const std::string& directory, void* buffer, uint32_t buffer_size) {
  uint8_t bytes[kEntryPointRoom];
  const long read = platform::ReadFilePrefix(directory, "smbios_entry_point", bytes, sizeof bytes);
  const EntryPoint entry = ReadEntryPoint(bytes, read < 0 ? 0 : static_cast<size_t>(read));
  if (!entry.complete) return 0;
  // The kernel's DMI file is the table, whatever length the entry point says.
  const long long table_size = platform::FileSize(directory, "DMI");
  if (table_size <= 0 || table_size > 0xFFFFFFFFll - kServiceHeaderSize) return 0;
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

platform::FirmwareTableFetch MachineFirmwareService() { return &FetchFromSysfs; }

#endif

}  // namespace tarnwick
