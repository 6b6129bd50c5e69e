#include "smbios/description/chassis_words.h"

#include <iterator>

namespace tarnwick {

const Word kChassisTypeWords[36] = {
    {0x01, "Other"},        {0x02, "Unknown"},
    {0x03, "Desktop"},      {0x04, "Low Profile Desktop"},
    {0x05, "Pizza Box"},    {0x06, "Mini Tower"},
    {0x07, "Tower"},        {0x08, "Portable"},
    {0x09, "Laptop"},       {0x0A, "Notebook"},
    {0x0B, "Hand Held"},    {0x0C, "Docking Station"},
    {0x0D, "All in One"},   {0x0E, "Sub Notebook"},
    {0x0F, "Space-saving"}, {0x10, "Lunch Box"},
    {0x11, "Main Server Chassis"}, {0x12, "Expansion Chassis"},
    {0x13, "SubChassis"},   {0x14, "Bus Expansion Chassis"},
    {0x15, "Peripheral Chassis"}, {0x16, "RAID Chassis"},
    {0x17, "Rack Mount Chassis"}, {0x18, "Sealed-case PC"},
    {0x19, "Multi-system chassis"}, {0x1A, "Compact PCI"},
    {0x1B, "Advanced TCA"}, {0x1C, "Blade"},
    {0x1D, "Blade Enclosure"}, {0x1E, "Tablet"},  // 1Eh-24h: 3.0 and later
    {0x1F, "Convertible"},  {0x20, "Detachable"},
    {0x21, "IoT Gateway"},  {0x22, "Embedded PC"},
    {0x23, "Mini PC"},      {0x24, "Stick PC"},
};

const char* ChassisTypeWord(uint8_t type) {
  // One word per value from 01h, in order.
  return type >= 1 && type <= std::size(kChassisTypeWords) ? kChassisTypeWords[type - 1].text : nullptr;
}

}  // namespace tarnwick
