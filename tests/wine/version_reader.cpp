// Reads a module's version resource back as Windows tools do, with
// GetFileVersionInfoW and VerQueryValueW, one line per field, fields
// separated by tabs, LF line ends:
//
//   version_reader MODULE
//
//   fixed    FileVersion|ProductVersion    a.b.c.d
//   fixed    FileType                      app|dll|other
//   string   NAME                          the text of the first translation
//
// Exit status 1 when the module has no version resource or no translation.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/wine/text_output.h"

namespace {

using tarnwick::wine::WriteError;
using tarnwick::wine::WriteOut;

std::u16string Wide(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

std::u16string Decimal(unsigned value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string Dotted(DWORD high, DWORD low) {
  return Decimal(HIWORD(high)) + u"." + Decimal(LOWORD(high)) + u"." + Decimal(HIWORD(low)) + u"." +
         Decimal(LOWORD(low));
}

std::u16string Hex4(unsigned value) {
  static constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string text(4, u'0');
  for (int i = 3; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

// Every string a version resource commonly carries; an absent one prints no line.
constexpr const wchar_t* kStringNames[] = {
    L"CompanyName",      L"FileDescription", L"FileVersion",    L"InternalName",
    L"LegalCopyright",   L"OriginalFilename", L"ProductName",   L"ProductVersion",
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    WriteError(u"usage: version_reader MODULE\n");
    return 2;
  }
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(argv[1], &ignored);
  std::vector<unsigned char> data(size);
  if (size == 0 || !GetFileVersionInfoW(argv[1], 0, size, data.data())) {
    WriteError(u"version_reader: no version resource in " + Wide(argv[1]) + u"\n");
    return 1;
  }

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || length < sizeof *fixed ||
      fixed->dwSignature != VS_FFI_SIGNATURE) {
    WriteError(u"version_reader: no fixed file information\n");
    return 1;
  }
  const std::u16string type = fixed->dwFileType == VFT_APP ? u"app" : fixed->dwFileType == VFT_DLL ? u"dll" : u"other";
  WriteOut(u"fixed\tFileVersion\t" + Dotted(fixed->dwFileVersionMS, fixed->dwFileVersionLS) + u"\n");
  WriteOut(u"fixed\tProductVersion\t" + Dotted(fixed->dwProductVersionMS, fixed->dwProductVersionLS) + u"\n");
  WriteOut(u"fixed\tFileType\t" + type + u"\n");

  // The strings live under the first language and code page the resource lists.
  struct Translation {
    WORD language;
    WORD code_page;
  }* translation = nullptr;
  if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
      length < sizeof *translation) {
    WriteError(u"version_reader: no translation\n");
    return 1;
  }
  const std::u16string block =
      u"\\StringFileInfo\\" + Hex4(translation->language) + Hex4(translation->code_page) + u"\\";
  WriteOut(u"translation\t" + Hex4(translation->language) + Hex4(translation->code_page) + u"\n");
  for (const wchar_t* name : kStringNames) {
    const std::u16string path = block + Wide(name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(data.data(), reinterpret_cast<const wchar_t*>(path.c_str()), reinterpret_cast<void**>(&text),
                        &length) ||
        length == 0) {
      continue;
    }
    WriteOut(u"string\t" + Wide(name) + u"\t" + Wide(text) + u"\n");
  }
  return 0;
}
