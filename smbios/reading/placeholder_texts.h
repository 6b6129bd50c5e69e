// The texts that firmware leaves where its vendor never filled in a value,
// as the placeholder rule (smbios/reading/placeholders.h) lists them.
#pragma once

#include <string_view>

namespace tarnwick {

// Texts that the Firmware Test Suite (dmicheck), systemd's hwdb
// (20-dmi-id.hwdb) and netdata each treat as "no real value", one row per
// text, with the tools that list it. Most come from vendors' BIOS kits
// (AMI's "To Be Filled By O.E.M." and "Default string"). fwts's strings of
// seven to ten zeros are no rows: the rule's only-zeros shape takes them.
inline constexpr std::string_view kPlaceholderTexts[] = {
    "$(DEFAULT_STRING)",  // netdata
    "(null)",  // netdata
    "012345678",  // fwts
    "0123456789",  // fwts
    "01234567890",  // fwts
    "012345678900",  // fwts
    "0123456789000",  // fwts
    "0x00000000",  // fwts
    "0x0000000000000000",  // fwts
    "1234567",  // fwts
    "12345678",  // fwts
    "123456789",  // fwts
    "1234567890",  // fwts
    "123456789000",  // fwts
    "9876543210",  // fwts
    "<cut out>",  // fwts
    "[Empty]",  // fwts
    "A1_AssetTagNum0",  // fwts
    "A1_AssetTagNum1",  // fwts
    "A1_AssetTagNum2",  // fwts
    "A1_AssetTagNum3",  // fwts
    "ABCDEFGHIJKLM",  // fwts
    "Asset Tag",  // fwts
    "Asset Tag:",  // fwts
    "Asset tracking",  // fwts
    "Asset-1234567890",  // fwts
    "AssetTagNum0",  // fwts
    "AssetTagNum1",  // fwts
    "AssetTagNum2",  // fwts
    "AssetTagNum3",  // fwts
    "AssetTagNum4",  // fwts
    "ATN12345678901234567",  // fwts
    "Base Board Asset Tag",  // fwts
    "Base Board Asset Tag#",  // fwts
    "Base Board Serial Number",  // fwts
    "Chassis Asset Tag",  // fwts
    "Chassis Manufacture",  // fwts, netdata
    "Chassis Manufacturer",  // netdata
    "Chassis Serial Number",  // fwts
    "Chassis Version",  // fwts, netdata
    "default",  // netdata
    "Default string",  // netdata, systemd
    "Empty",  // fwts, netdata
    "Fill By OEM",  // fwts
    "MB-1234567890",  // fwts
    "N/A",  // fwts, netdata, systemd
    "NA",  // fwts, netdata
    "NB-0123456789",  // fwts
    "NB-1234567890",  // fwts
    "No Asset Information",  // fwts
    "No Asset Tag",  // fwts
    "No Enclosure",  // netdata
    "None",  // fwts, netdata
    "None Provided",  // netdata
    "None1",  // fwts
    "Not Available",  // fwts
    "Not Specified",  // fwts, netdata
    "Not Supported",  // fwts
    "Not Supported by CPU",  // fwts
    "NotSupport",  // fwts
    "O.E.M.",  // systemd
    "OEM",  // netdata, systemd
    "OEM Chassis Manufacturer",  // netdata
    "OEM Chassis Serial Number",  // fwts
    "OEM Default string000",  // netdata
    "OEM_Define0",  // fwts
    "OEM_Define1",  // fwts
    "OEM_Define2",  // fwts
    "OEM_Define3",  // fwts
    "OEM_Define4",  // fwts
    "OEM_MB",  // netdata
    "SerNum0",  // fwts
    "SerNum00",  // fwts
    "SerNum01",  // fwts
    "SerNum02",  // fwts
    "SerNum03",  // fwts
    "SerNum1",  // fwts
    "SerNum2",  // fwts
    "SerNum3",  // fwts
    "SerNum4",  // fwts
    "SmbiosType1_SystemManufacturer",  // netdata
    "SmbiosType2_BoardManufacturer",  // netdata
    "Standard",  // netdata
    "System Manufacturer",  // netdata, systemd
    "System Name",  // systemd
    "System Product Name",  // netdata, systemd
    "System Serial Number",  // fwts
    "System UUID",  // netdata
    "System Version",  // fwts, netdata
    "SYSTEM_MANUFACTURER",  // netdata
    "TBD",  // netdata
    "TBD by ODM",  // fwts
    "TBD by OEM",  // netdata
    "To Be Defined By O.E.M",  // fwts
    "To Be Filled By O.E.M.",  // fwts, netdata, systemd
    "Type2 - Board Manufacturer",  // netdata
    "Type2 - Board Vendor Name1",  // netdata
    "Unknow",  // fwts, netdata
    "Unknown",  // fwts, netdata
    "unspecified",  // netdata
    "Unspecified System Serial Number",  // fwts
    "x.x",  // netdata
    "XXXXX",  // fwts, netdata
    "XXXXXX",  // fwts
    "XXXXXXX",  // fwts
    "XXXXXXXX",  // fwts
    "XXXXXXXXX",  // fwts
    "XXXXXXXXXX",  // fwts
    "XXXXXXXXXXX",  // fwts
    "XXXXXXXXXXXX",  // fwts
};

// Listed texts that firmware writes where a part is absent: an empty
// socket, slot or bay, a machine without an enclosure. They say so
// truthfully; --check does not call them placeholders.
inline constexpr std::string_view kAbsenceTexts[] = {"[Empty]", "Empty", "No Enclosure"};

}  // namespace tarnwick
