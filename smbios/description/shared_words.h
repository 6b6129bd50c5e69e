// Words that two structure types share.
#pragma once

#include "smbios/description/field_row.h"

namespace tarnwick::rows {

// 7.19.1-7.19.3, and 7.34 by reference.
inline constexpr Word kErrorTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "OK"}, {0x04, "Bad read"}, {0x05, "Parity error"},
    {0x06, "Single-bit error"}, {0x07, "Double-bit error"}, {0x08, "Multi-bit error"}, {0x09, "Nibble error"},
    {0x0A, "Checksum error"}, {0x0B, "CRC error"}, {0x0C, "Corrected single-bit error"},
    {0x0D, "Corrected error"}, {0x0E, "Uncorrectable error"},
};
inline constexpr Word kErrorGranularities[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Device level"}, {0x04, "Memory partition level"},
};
inline constexpr Word kErrorOperations[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Read"}, {0x04, "Write"}, {0x05, "Partial write"},
};

// 7.19 and 7.34: an unknown syndrome, address or resolution; 7.18, 7.23:
// an unknown number.
inline constexpr Word kZeroUnknown[] = {{0x0000, "Unknown"}};
inline constexpr Word kAddressUnknown[] = {{0x80000000, "Unknown"}};
inline constexpr Word kAddress64Unknown[] = {{0x8000000000000000, "Unknown"}};

// 7.42.2; 7.11.1 defines the first ten.
inline constexpr Word kDeviceTypes[] = {
    {0x01, "Other"}, {0x02, "Unknown"}, {0x03, "Video"}, {0x04, "SCSI Controller"}, {0x05, "Ethernet"},
    {0x06, "Token Ring"}, {0x07, "Sound"}, {0x08, "PATA Controller"}, {0x09, "SATA Controller"},
    {0x0A, "SAS Controller"}, {0x0B, "Wireless LAN"}, {0x0C, "Bluetooth"}, {0x0D, "WWAN"}, {0x0E, "eMMC"},
    {0x0F, "NVMe Controller"}, {0x10, "UFS Controller"},
};

// 7.11, 7.42: bit 7 of the device type byte.
inline constexpr BitName kDeviceStatus[] = {{7, "Enabled"}};

}  // namespace tarnwick::rows
