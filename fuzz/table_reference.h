// The fuzz targets' own reading of a table, written from DSP0134 6.1.2 and
// 6.1.3 apart from the plug-in's code, to state what each result must be.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick::fuzzing {

// The byte behind the NUL pair closing the string-set of the structure at
// `s`, or null when the structure is not whole inside [begin, end).
const uint8_t* StructureEnd(const uint8_t* s, const uint8_t* begin, const uint8_t* end);

// The first indexed structure of `type`, and of `handle` unless it is absent.
const uint8_t* FindIndexed(uint8_t type, std::optional<uint16_t> handle);

// What a string fetch must leave for the string-number byte at `offset`:
// nothing when the structure is absent or the offset outside its formatted
// area; else the string, or "N/A" for number 0, a missing or overlong string.
std::optional<std::u16string> ExpectedString(const uint8_t* s, uint32_t offset);

// String `number` of the structure's string-set, or "N/A" when the
// structure or the string is absent, the number 0 or the string overlong.
std::u16string ExpectedNumberedString(const uint8_t* s, uint32_t number);

// What a field function must write: the value, or "N/A" when absent.
std::u16string ExpectedField(const uint8_t* s, uint32_t offset, uint32_t width, bool hex);

// "%u"-style decimal and "0x%0Nx"-style hexadecimal, from the C library.
std::u16string Decimal(uint64_t value);
std::u16string Hex(uint64_t value, uint32_t digits);

// The text of a result buffer; traps when no NUL lies within 8192 units.
std::u16string_view TerminatedText(const char16_t* buffer);

}  // namespace tarnwick::fuzzing
