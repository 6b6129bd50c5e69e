// Writes the seeds built in code into DIR/tables, DIR/arguments, DIR/names
// and DIR/batches: the damaged tables of seed_tables.cpp, argument texts as
// UTF-16LE bytes, NAMEs with table strings, and batch files.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/seed_tables.h"

namespace {

using tarnwick::Bytes;

bool Write(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

Bytes Utf16(const std::u16string& text) {
  Bytes bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<uint8_t>(unit));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

std::u16string Repeat(const std::u16string& piece, size_t times) {
  std::u16string text;
  for (size_t i = 0; i < times; ++i) text += piece;
  return text;
}

std::vector<std::pair<std::string, std::u16string>> ArgumentSeeds() {
  return {
      {"empty", u""},
      {"word", u"4,0x16"},
      {"word-hex", u"4,0x16,,1"},
      {"byte-any-handle", u"1,4,,1"},
      {"blanks", u"  4 ,  22  "},
      {"quoted-comma", u"\"1,2\",3"},
      {"quoted-blank", u"\" 4 \""},
      {"quoted-pieces", u"0x\"1\"f"},
      {"unclosed-quote", u"1\"2,3"},
      {"letters", u"a b"},
      {"handle", u"4,0x12,0x0005,3"},
      {"handle-too-big", u"4,4,0x10000"},
      {"string", u"1,5"},
      {"string-past-set", u"200,4"},
      {"nbsp", u"\u00A01,\u00A04\u00A0"},
      {"ideographic-space", u"\u30001,4"},
      {"largest", u"4294967295,4294967295,4294967295,4294967295"},
      {"too-large", u"4294967296"},
      {"randx", u"1024"},
      {"randx-over", u"0x401"},
      {"randx-blanks", u"  16"},
      {"full-buffer", Repeat(u"x", 8191)},
      {"many-arguments", Repeat(u"1,", 1100)},
      {"many-commas", Repeat(u",", 8191)},
      {"past-buffer", Repeat(u"7,", 4200)},
  };
}

// NAME, NUL, then the table's strings separated by NULs (fuzz/name_fuzzer.cpp).
std::vector<std::pair<std::string, std::string>> NameSeeds() {
  using namespace std::string_literals;
  return {
      {"variable", "_smbmfg\0Maker"s},
      {"nested", "@smbword[2,@smbbyte[1,4]]\0A\0B"s},
      {"string-that-calls", "@smbcount[@smbstring[1,4]]\0@smbstring[1,4]\0@randx[8]"s},
      {"string-that-grows", "@smbstring[1,@smbstring[1,4]]\0@smbstring[1,4]@smbstring[1,4]"s},
      {"quotes-and-brackets", "@smbstring[1,\"[x]\",@randx[4]]\0\"]\0["s},
      {"unclosed", "@smbcount[@smbcount[17]\0x"s},
      {"deep", std::string(300, '@') + "@smbcount[" + "17" + std::string(300, ']') + "\0x"s},
  };
}

// Batch files as editors and shells write them.
std::vector<std::pair<std::string, std::string>> BatchSeeds() {
  using namespace std::string_literals;
  const std::string text = "_smbmfg\r\n# note\r\n  @smbword[4,0x16]  \r\n\r\n@randx[\xC3\xA9]\n";
  std::string le = "\xFF\xFE", be = "\xFE\xFF";
  for (const char c : "_smbmfg\r\n@smbbyte[1]\r\n\u00e9"s) {
    le += {c, '\0'};
    be += {'\0', c};
  }
  return {{"utf-8", text}, {"utf-8-mark", "\xEF\xBB\xBF" + text}, {"utf-16le", le}, {"utf-16be", be},
          {"latin-1", "_smbmfg\n@randx[\xE9]\n"}, {"odd-utf-16", "\xFF\xFEx\0y"s}};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s DIR\n", argv[0]);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  std::filesystem::create_directories(root / "tables");
  std::filesystem::create_directories(root / "arguments");
  std::filesystem::create_directories(root / "names");
  std::filesystem::create_directories(root / "batches");
  bool ok = true;
  for (const auto& [name, bytes] : tarnwick::fuzzing::SeedTables()) ok &= Write(root / "tables" / name, bytes);
  for (const auto& [name, text] : ArgumentSeeds()) ok &= Write(root / "arguments" / name, Utf16(text));
  for (const auto& [name, text] : NameSeeds()) ok &= Write(root / "names" / name, Bytes(text.begin(), text.end()));
  for (const auto& [name, text] : BatchSeeds()) ok &= Write(root / "batches" / name, Bytes(text.begin(), text.end()));
  return ok ? 0 : 1;
}
