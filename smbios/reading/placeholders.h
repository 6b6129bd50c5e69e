// Texts and UUIDs that firmware leaves where its vendor never filled in a
// value ("To Be Filled By O.E.M.", "Default string", 03000200-0400-0500-
// 0006-000700080009). One rule for every reader: @smbreal, tarnwick --real
// and tarnwick --check.
//
// The rule: with white space trimmed from both ends, a text is a
// placeholder when it
// - holds only dots, or only the digit zero;
// - equals one of the listed texts when the blanks of both are left out and
//   letters A-Z compared without case ("Default string", "DefaultString"
//   and "default  string" are one; systemd reads them so);
// - is a UUID written XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX whose bytes are a
//   placeholder UUID (below).
// An empty text, or one of blanks only, is
// no placeholder: it holds no value to mistake for a real one (a variable
// without its structure answers empty; tables whose vendor strings were
// blanked to hide their origin are otherwise whole), and no tool that lists
// placeholders counts it.
#pragma once

#include <cstdint>
#include <string_view>

namespace tarnwick {

// A text as a result buffer holds it.
bool IsPlaceholderText(std::u16string_view text);

// A string as the table holds it, one byte per character.
bool IsPlaceholderString(std::string_view text);

// A placeholder text that says the part it describes is absent ("No
// Enclosure", "Empty"): the truth, not a value left unfilled. Compared as
// the listed placeholder texts are.
bool StatesAbsence(std::string_view text);

// The 16 bytes of a UUID field (DSP0134 7.2.1): all 00h (not set), all FFh
// (not present), or a listed pattern, its first three fields in either byte
// order (DSP0134 2.6 changed the order; firmware writes both).
bool IsPlaceholderUuid(const uint8_t* bytes);

}  // namespace tarnwick
