// The way back from the files of /sys/class/dmi/id to the structures they
// come from: each file's text parsed as the kernel writes it, and a bare
// table of the BIOS, system, baseboard and chassis structures (types 0-3)
// that holds exactly what the texts say, for the plug-in to answer from.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "smbios/model/kernel_dmi_fields.h"

namespace tarnwick {

// Each file's text without its final line feed, in kKernelDmiFields' order;
// none where there is no such file (or it cannot be read).
using KernelDmiTexts = std::array<std::optional<std::string>, kKernelDmiFields.size()>;

// Whether `text` is as the kernel writes `field`: any string for a string
// field; a chassis type 0-127, a release MAJOR.MINOR up to 255.255 or a
// UUID of 32 hexadecimal digits in five groups for the others.
bool KernelDmiTextWellFormed(const KernelDmiField& field, std::string_view text);

// True when a text of structure `type` is there.
bool AnyKernelDmiText(const KernelDmiTexts& texts, uint8_t type);

// The bare table the texts stand for: the structures of types 0 to 3 that
// have a text, each as long as its last present field, then `more`
// structures (the memory devices udev gives), and the end of the table
// (DSP0134 7.45).
std::vector<uint8_t> TableFromKernelDmiTexts(const KernelDmiTexts& texts, const std::vector<uint8_t>& more = {});

}  // namespace tarnwick
