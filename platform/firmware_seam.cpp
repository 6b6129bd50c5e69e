#include "platform/firmware_seam.h"

#include <cstdlib>
#include <cstring>

namespace tarnwick::platform {
namespace {

bool g_source_installed = false;
FirmwareTableFetch g_source = nullptr;
bool g_fail_allocations = false;

const uint8_t* g_memory_bytes = nullptr;
uint32_t g_memory_size = 0;

uint32_t TARNWICK_SYSTEM_CALL FetchFromMemory(uint32_t provider, uint32_t table_id, void* buffer, uint32_t buffer_size) {
  if (provider != kRawSmbiosProvider || table_id != 0) return 0;
  if (buffer == nullptr || buffer_size < g_memory_size) return g_memory_size;
  if (g_memory_size != 0) std::memcpy(buffer, g_memory_bytes, g_memory_size);
  return g_memory_size;
}

}  // namespace

FirmwareTableFetch LocateSystemFirmwareService();  // platform_<os>.cpp

void InstallFirmwareSource(FirmwareTableFetch fetch) {
  g_source_installed = true;
  g_source = fetch;
}

void RemoveFirmwareSource() {
  g_source_installed = false;
  g_source = nullptr;
}

void InstallMemoryFirmware(const uint8_t* bytes, uint32_t size) {
  g_memory_bytes = bytes;
  g_memory_size = bytes == nullptr ? 0 : size;
  InstallFirmwareSource(&FetchFromMemory);
}

void FailTableAllocations(bool fail) { g_fail_allocations = fail; }

FirmwareTableFetch LocateFirmwareService() {
  return g_source_installed ? g_source : LocateSystemFirmwareService();
}

uint8_t* AllocateTableBuffer(uint32_t size) {
  if (g_fail_allocations) return nullptr;
  return static_cast<uint8_t*>(std::malloc(size == 0 ? 1 : size));
}

void ReleaseTableBuffer(uint8_t* buffer) { std::free(buffer); }

}  // namespace tarnwick::platform
