// Real tables: every one loads, every index entry is a valid structure in
// table order, and the variables say what dmidecode says of the same table
// wherever the two follow the same rules. Each difference in rules is written
// once below, as a normalisation, never as an exception for one table.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <cstdio>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "host/exports.h"
#include "host/export_table.h"
#include "host/host_interface.h"
#include "smbios/reading/firmware_table.h"
#include "smbios/reading/structure_lookup.h"
#include "smbios/check/table_check.h"
#include "tests/support/recording_host.h"
#include "tests/support/table_builder.h"

namespace tarnwick::testing {
namespace {

using Json = nlohmann::json;

// ----------------------------------------------------------------- corpus

bool InContinuousIntegration() {
  const char* ci = std::getenv("CI");
  return ci != nullptr && std::string_view(ci) == "true";
}

std::filesystem::path CorpusDirectory() { return TARNWICK_CORPUS_DIR; }

bool ReadFile(const std::filesystem::path& path, std::string* out) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  std::ostringstream content;
  content << file.rdbuf();
  *out = content.str();
  return true;
}

class CorpusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::filesystem::path index = CorpusDirectory() / "index.json";
    std::string text;
    if (!ReadFile(index, &text)) {
      if (InContinuousIntegration()) {
        FAIL() << "no corpus at " << index;
      }
      GTEST_SKIP() << "no corpus at " << index;
    }
    index_ = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    ASSERT_TRUE(index_.is_array()) << "index.json is not a JSON array";
    ASSERT_FALSE(index_.empty());
    ResetHostVariables();
  }
  void TearDown() override {
    ShutdownPlugin(0);
  }

  // Loads the table's firmware-service layout; the loader's code.
  static int32_t Load(const Json& table) {
    static std::string held;
    EXPECT_TRUE(ReadFile(CorpusDirectory() / (table["name"].get<std::string>() + ".rsmb"), &held)) << table["name"].get<std::string>();
    ClearRecorded();
    return tarnwick::LoadTable(reinterpret_cast<const uint8_t*>(held.data()), uint32_t(held.size()));
  }

  // Loads the table and reads dmidecode's decoding of it.
  static bool LoadWithDecoding(const Json& table, std::string* decoded) {
    return ReadFile(CorpusDirectory() / (table["name"].get<std::string>() + ".dmidecode.txt"), decoded) &&
           Load(table) == kLoaded;
  }

  Json index_;
};

TEST_F(CorpusTest, EveryTableLoadsAndEveryEntryIsAValidStructure) {
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    ASSERT_EQ(Load(table), kLoaded) << Narrow(Recorded().standard_error);
    EXPECT_EQ(Recorded().standard_error, u"");
    EXPECT_EQ(g_structure_index.count, table["structures"].get<uint32_t>());
    for (uint32_t i = 0; i < g_structure_index.count; ++i) {
      const uint8_t* next = nullptr;
      ASSERT_TRUE(NextStructure(g_structure_index.entries[i], &next)) << "entry " << i;
      // Table order: each entry starts where the one before it ends.
      if (i + 1 < g_structure_index.count) {
        EXPECT_EQ(next, g_structure_index.entries[i + 1]) << "entry " << i;
      }
    }
  }
}

// What dmidecode -s prints and what we answer, brought to one form.
//
// - dmidecode prints a line for every structure of the type that holds the
//   field; we answer from the first structure only: its first line.
// - A missing structure leaves our buffer as the host handed it in; dmidecode
//   prints no line.
// - String number 0 is "Not Specified" to dmidecode, a number past the string
//   set "<BAD INDEX>"; both are our "N/A", and so is a firmware string that
//   reads "N/A" (some virtual machines fill fields with it).
// - dmidecode shows each byte outside printable ASCII (below 20h, 7Fh, and
//   80h and up) as '.'; we widen it to the code unit of the same value.
// - Neither trims: leading and trailing blanks are kept on both sides.
constexpr std::string_view kNoString = "(no string)";
constexpr std::string_view kNothing = "(nothing)";

std::string FromDmidecode(const std::string& lines) {
  if (lines.empty()) return std::string(kNothing);
  const std::string first = lines.substr(0, lines.find('\n'));
  if (first == "Not Specified" || first == "<BAD INDEX>" || first == "N/A") return std::string(kNoString);
  return first;
}

constexpr char16_t kUntouched[] = u"\u0001untouched";

std::string FromOurs(const std::u16string& text) {
  if (text == kUntouched) return std::string(kNothing);
  if (text == u"N/A") return std::string(kNoString);
  std::string shown;
  for (char16_t c : text) shown += (c >= 0x20 && c < 0x7F) ? static_cast<char>(c) : '.';
  return shown;
}

std::u16string Answer(NameExport variable) {
  std::vector<char16_t> buffer(kMaxArgLen, 0);
  std::copy(std::begin(kUntouched), std::end(kUntouched), buffer.begin());
  EXPECT_EQ(variable(buffer.data()), 0);
  return std::u16string(buffer.data());
}

// dmidecode's names for chassis types 1 to 29 where they are spelled
// differently from ours (DSP0134 7.4.1 leaves the spelling to each reader).
std::string AsDmidecodeSpellsIt(const std::string& ours) {
  static const std::map<std::string, std::string> kSpelling = {
      {"LapTop", "Laptop"},
      {"All in One", "All In One"},
      {"SubChassis", "Sub Chassis"},
      {"Multi-system chassis", "Multi-system"},
      {"Compact PCI", "CompactPCI"},
      {"Advanced TCA", "AdvancedTCA"},
      {"Blade Enclosure", "Blade Enclosing"},
  };
  const auto found = kSpelling.find(ours);
  return found == kSpelling.end() ? ours : found->second;
}

TEST_F(CorpusTest, ChassisTypeAgreesWithDmidecode) {
  int compared = 0;
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    ASSERT_EQ(Load(table), kLoaded);
    const std::string dmidecode = FromDmidecode(table["dmidecode"]["strings"]["chassis-type"].get<std::string>());
    const std::u16string number = Answer(_smbchassis);
    if (number == u"N/A") {  // no chassis byte: dmidecode prints no line
      EXPECT_EQ(dmidecode, kNothing);
      continue;
    }
    // Type 0 and types from 37 on are "Unknown" to us; dmidecode flags them.
    const int type = std::stoi(Narrow(number)) & 0x7F;
    if (type == 0 || type >= 37) continue;
    EXPECT_EQ(AsDmidecodeSpellsIt(FromOurs(Answer(_smbchassistype))), dmidecode);
    ++compared;
  }
  EXPECT_GT(compared, int(index_.size()) / 2);
}

// ------------------------------------------- dmidecode's full decoding

// One structure as dmidecode decodes it: its handle and its "Key: value"
// lines.
struct Decoded {
  int handle = -1;
  std::map<std::string, std::string> fields;
};

// Every structure of `type` in dmidecode's full output, in table order.
std::vector<Decoded> DecodedStructures(const std::string& text, int type) {
  std::vector<Decoded> found;
  const std::string heading = ", DMI type " + std::to_string(type) + ",";
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("Handle ", 0) != 0 || line.find(heading) == std::string::npos) continue;
    Decoded structure;
    structure.handle = std::stoi(line.substr(7, 6), nullptr, 16);
    if (!std::getline(lines, line)) break;  // the structure's title
    while (std::getline(lines, line) && !line.empty()) {
      if (line.size() < 2 || line[0] != '\t' || line[1] == '\t') continue;
      const size_t colon = line.find(':');
      if (colon == std::string::npos) continue;
      structure.fields[line.substr(1, colon - 1)] = colon + 2 <= line.size() ? line.substr(colon + 2) : "";
    }
    found.push_back(structure);
  }
  return found;
}

// The "Key: value" lines of the first structure of `type`; empty when
// dmidecode decoded no structure of the type.
std::map<std::string, std::string> DecodedFields(const std::string& text, int type) {
  std::vector<Decoded> all = DecodedStructures(text, type);
  return all.empty() ? std::map<std::string, std::string>{} : all.front().fields;
}

// A field that dmidecode leaves out reads as `kNothing`; the texts that
// stand for "no string" read as `kNoString`, as under -s.
std::string FromDecoded(const std::map<std::string, std::string>& fields, const std::string& key) {
  const auto found = fields.find(key);
  if (found == fields.end()) return std::string(kNothing);
  return FromDmidecode(found->second);
}

// Our numbers as dmidecode prints them. "N/A" (no structure, or one too
// short) is a field that dmidecode leaves out.
std::string AsDecodedSpeed(const std::u16string& ours) {
  if (ours == u"N/A") return std::string(kNothing);
  return ours == u"0" ? "Unknown" : Narrow(ours) + " MHz";  // DSP0134 7.5: 0 is unknown
}
std::string AsDecodedLock(const std::u16string& ours) {
  if (ours == u"N/A") return std::string(kNothing);
  return ours == u"Present" ? "Present" : "Not Present";
}
std::string AsDecodedRelease(const std::u16string& ours) {
  // dmidecode reads the release bytes only from BIOS structures of 24 bytes
  // or more, and leaves them out when either is FFh (not given).
  const uint8_t* bios = FindStructure(0, kAnyHandle);
  if (ours == u"N/A" || bios[1] < 0x18 || bios[0x14] == 0xFF || bios[0x15] == 0xFF) return std::string(kNothing);
  return Narrow(ours);
}

std::string AsDecodedEcRelease(const std::u16string& ours) {
  // The same rule for the embedded controller's bytes: dmidecode leaves the
  // release out when either is FFh; we only when both are.
  const uint8_t* bios = FindStructure(0, kAnyHandle);
  if (ours == u"N/A" || bios[0x16] == 0xFF || bios[0x17] == 0xFF) return std::string(kNothing);
  return Narrow(ours);
}

struct DecodedField {
  int type;
  const char* key;  // in dmidecode's decoding of the type
  NameExport read;
  std::string (*as_decoded)(const std::u16string& ours);
};

const DecodedField kDecodedFields[] = {
    {0, "Vendor", _smbbiosvendor, FromOurs},
    {0, "Version", _smbbiosversion, FromOurs},
    {0, "Release Date", _smbbiosdate, FromOurs},
    {0, "BIOS Revision", _smbbiosrev, AsDecodedRelease},
    {0, "Firmware Revision", _smbecversion, AsDecodedEcRelease},
    {1, "Manufacturer", _smbmfg, FromOurs},
    {1, "Product Name", _smbproduct, FromOurs},
    {1, "Version", _smbsysversion, FromOurs},
    {1, "Serial Number", _smbserial, FromOurs},
    {1, "SKU Number", _smbsku, FromOurs},
    {1, "Family", _smbfamily, FromOurs},
    {2, "Manufacturer", _smbbbmfg, FromOurs},
    {2, "Product Name", _smbbbproduct, FromOurs},
    {2, "Version", _smbbbversion, FromOurs},
    {2, "Serial Number", _smbbbserial, FromOurs},
    {2, "Asset Tag", _smbbbassettag, FromOurs},
    {3, "Manufacturer", _smbchassismfg, FromOurs},
    {3, "Version", _smbchassisversion, FromOurs},
    {3, "Serial Number", _smbchassisserial, FromOurs},
    {3, "Asset Tag", _smbchassistag, FromOurs},
    {3, "Lock", _smbchassislock, AsDecodedLock},
    {4, "Socket Designation", _smbcpusocket, FromOurs},
    {4, "Manufacturer", _smbcpumfg, FromOurs},
    {4, "Version", _smbcpuversion, FromOurs},
    {4, "External Clock", _smbcpuclock, AsDecodedSpeed},
    {4, "Current Speed", _smbcpuspeed, AsDecodedSpeed},
};

TEST_F(CorpusTest, VariablesAgreeWithDmidecodesFullDecoding) {
  std::map<std::string, int> shown;  // fields that dmidecode printed
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    std::string decoded;
    ASSERT_TRUE(LoadWithDecoding(table, &decoded));
    for (const DecodedField& f : kDecodedFields) {
      SCOPED_TRACE(std::to_string(f.type) + " " + f.key);
      const std::string expected = FromDecoded(DecodedFields(decoded, f.type), f.key);
      EXPECT_EQ(f.as_decoded(Answer(f.read)), expected);
      if (expected != kNothing) ++shown[std::to_string(f.type) + " " + f.key];
    }
    // The asset tag: the chassis's, failing that the baseboard's.
    const std::string chassis_tag = FromDecoded(DecodedFields(decoded, 3), "Asset Tag");
    const std::string board_tag = FromDecoded(DecodedFields(decoded, 2), "Asset Tag");
    const std::u16string ours = Answer(_smbassettag);
    if (chassis_tag != kNothing && chassis_tag != kNoString) {
      EXPECT_EQ(FromOurs(ours), chassis_tag);
    } else if (board_tag != kNothing) {
      EXPECT_EQ(FromOurs(ours), board_tag);
    } else {
      EXPECT_EQ(FromOurs(ours), chassis_tag);
    }
  }
  // Every field was compared with a printed value on some table.
  for (const DecodedField& f : kDecodedFields) EXPECT_GT(shown[std::to_string(f.type) + " " + f.key], 0) << f.key;
}

// dmidecode -s system-uuid prints lower case, "Not Settable" for all 00h
// and "Not Present" for all FFh, both our "N/A"; it reads the UUID from
// System Information structures of 19h bytes or more, we from 18h.
TEST_F(CorpusTest, UuidAgreesWithDmidecode) {
  int compared = 0;
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    ASSERT_EQ(Load(table), kLoaded);
    std::string expected = FromDmidecode(table["dmidecode"]["strings"]["system-uuid"].get<std::string>());
    if (expected == "Not Settable" || expected == "Not Present") expected = kNoString;
    std::string ours = FromOurs(Answer(_smbuuid));
    for (char& c : ours) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const uint8_t* system = FindStructure(1, kAnyHandle);
    if (system == nullptr || system[1] < 0x19) {
      // No UUID line from dmidecode; from us one only at exactly 18h bytes.
      EXPECT_EQ(expected, kNothing);
      if (system == nullptr || system[1] < 0x18) {
        EXPECT_EQ(ours, kNoString);
      }
      continue;
    }
    EXPECT_EQ(ours, expected);
    if (expected != kNoString) ++compared;
  }
  EXPECT_GT(compared, int(index_.size()) / 2);
}

// A "Size:" line of a memory device in KB; false for "No Module Installed",
// "Unknown" and anything else that is no size.
bool DecodedKilobytes(const std::string& size, uint64_t* kilobytes) {
  static const std::map<std::string, uint64_t> kUnits = {
      {"bytes", 0}, {"kB", 1}, {"MB", 1024}, {"GB", 1024 * 1024}, {"TB", 1024ull * 1024 * 1024}};
  std::istringstream words(size);
  uint64_t number = 0;
  std::string unit;
  if (!(words >> number >> unit) || kUnits.count(unit) == 0) return false;
  *kilobytes = number * kUnits.at(unit);
  return true;
}

// The sum of the Size lines of every memory device, in MB; "N/A" when
// no line gives a size.
TEST_F(CorpusTest, InstalledMemoryIsTheSumOfDmidecodesSizes) {
  int compared = 0;
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    std::string decoded;
    ASSERT_TRUE(LoadWithDecoding(table, &decoded));
    uint64_t kilobytes = 0;
    bool known = false;
    for (const Decoded& device : DecodedStructures(decoded, 17)) {
      uint64_t size = 0;
      const auto line = device.fields.find("Size");
      if (line != device.fields.end() && DecodedKilobytes(line->second, &size)) {
        kilobytes += size;
        known = true;
      }
    }
    EXPECT_EQ(Narrow(Answer(_smbmemory)), known ? std::to_string(kilobytes / 1024) : "N/A");
    compared += known ? 1 : 0;
  }
  EXPECT_GT(compared, int(index_.size()) / 2);
}

// Populated processors, and the sums of their Core Count and Thread Count
// lines. dmidecode prints the status from 1Ah bytes on, the counts from 28h
// bytes on and only when the byte is not 0; it prints the byte FFh as 255
// where the structure holds no 2-field, and a 2-field of FFFFh as 65535: to
// us these counts are unknown, and the test reads those bytes to say so.
TEST_F(CorpusTest, ProcessorTotalsAgreeWithDmidecode) {
  int compared = 0;
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    std::string decoded;
    ASSERT_TRUE(LoadWithDecoding(table, &decoded));
    uint64_t populated = 0, cores = 0, threads = 0;
    bool any_status = false, any_cores = false, any_threads = false;
    for (const Decoded& processor : DecodedStructures(decoded, 4)) {
      const auto status = processor.fields.find("Status");
      if (status == processor.fields.end()) continue;
      any_status = true;
      if (status->second.rfind("Populated", 0) != 0) continue;
      ++populated;
      const uint8_t* ours = FindStructure(4, processor.handle);
      ASSERT_NE(ours, nullptr);
      auto add = [&](const char* key, uint32_t offset, uint32_t offset2, uint64_t* sum, bool* any) {
        const auto line = processor.fields.find(key);
        if (line == processor.fields.end()) return;
        const uint64_t value = std::stoull(line->second);
        const bool no_2field = ours[offset] == 0xFF && ours[1] < offset2 + 2;
        const bool unknown_2field = ours[offset] == 0xFF && !no_2field && value == 0xFFFF;
        if (value == 0 || no_2field || unknown_2field) return;
        *sum += value;
        *any = true;
      };
      add("Core Count", 0x23, 0x2A, &cores, &any_cores);
      add("Thread Count", 0x25, 0x2E, &threads, &any_threads);
    }
    EXPECT_EQ(Narrow(Answer(_smbcpucount)), any_status ? std::to_string(populated) : "N/A");
    EXPECT_EQ(Narrow(Answer(_smbcores)), any_cores ? std::to_string(cores) : "N/A");
    EXPECT_EQ(Narrow(Answer(_smbthreads)), any_threads ? std::to_string(threads) : "N/A");
    compared += any_cores ? 1 : 0;
  }
  EXPECT_GT(compared, 10);
}

TEST_F(CorpusTest, SmbiosVersionIsTheHeadersMajorAndMinor) {
  // The index records the version as its header states it, so "2.31" stays
  // "2.31" (dmidecode would correct it to 2.3 on display).
  for (const Json& table : index_) {
    SCOPED_TRACE(table["name"].get<std::string>());
    ASSERT_EQ(Load(table), kLoaded);
    const std::string version = table["version"].get<std::string>();
    const size_t second_dot = version.find('.', version.find('.') + 1);
    EXPECT_EQ(Narrow(Answer(_smbver)), version.substr(0, second_dot));
  }
}

// ---------------------------------------------- placeholders and --check

// What `entry` leaves in an empty buffer, or with `argument` in it.
std::u16string Called(NameExport entry, std::u16string_view argument = u"") {
  std::vector<char16_t> buffer(kMaxArgLen, 0);
  std::copy(argument.begin(), argument.end(), buffer.begin());
  EXPECT_EQ(entry(buffer.data()), 0);
  return std::u16string(buffer.data());
}

// systemd's reading (hwdb.d/20-dmi-id.hwdb of udev 252) of six fields: the
// kernel's modalias keeps characters 21h-7Eh but ":", and these are rubbish.
bool SystemdCallsRubbish(const std::u16string& value) {
  static const std::set<std::string> kRubbish = {"Defaultstring", "N/A", "O.E.M.", "OEM", "Systemmanufacturer",
      "SystemManufacturer", "Systemproductname", "SystemProductName", "Systemname", "SystemName",
      "TobefilledbyO.E.M.", "ToBeFilledByO.E.M."};
  std::string modalias;
  for (char16_t c : value) modalias += (c > 0x20 && c < 0x7F && c != ':') ? std::string(1, char(c)) : "";
  return kRubbish.count(modalias) != 0;
}

TEST_F(CorpusTest, RealAnswersNotAvailableWhereSystemdFindsRubbish) {
  const std::pair<std::u16string_view, NameExport> kSystemdFields[] = {
      {u"_smbmfg", _smbmfg},             {u"_smbproduct", _smbproduct}, {u"_smbsysversion", _smbsysversion},
      {u"_smbbbversion", _smbbbversion}, {u"_smbsku", _smbsku},         {u"_smbchassistag", _smbchassistag}};
  int fields = 0;  // our own "N/A" for a string the table lacks is not the firmware's
  std::set<std::string> tables;
  for (const Json& table : index_) {
    ASSERT_EQ(Load(table), kLoaded);
    for (const auto& [name, variable] : kSystemdFields) {
      const std::u16string value = Called(variable);
      if (!SystemdCallsRubbish(value)) continue;
      EXPECT_EQ(Called(f_smbreal, name), u"N/A") << table["name"] << Narrow(std::u16string(name));
      if (value == u"N/A") continue;
      ++fields;
      tables.insert(table["name"].get<std::string>());
    }
  }
  EXPECT_GE(fields, 24);  // the scale of placeholders.md: 24 fields in 9 tables
  EXPECT_EQ(tables.size(), 9u);
}

TEST_F(CorpusTest, RealChangesNothingWhereFwtsFindsNoPlaceholder) {
  for (const char* name : {"dell-poweredge-1300", "dell-poweredge-1800", "dell-poweredge-c6320",
                           "dell-poweredge-r630-b", "dell-poweredge-r730", "dell-poweredge-r730xd"}) {
    ASSERT_EQ(Load(Json{{"name", name}}), kLoaded);
    for (const ExportEntry& row : kExportTable) {
      if (row.is_function) continue;
      EXPECT_EQ(Called(f_smbreal, row.name), Called(row.entry)) << name;
    }
  }
}

// dmidecode's "<BAD INDEX>" are exactly --check's string numbers past the set; "Default string", which fwts does not list,
// is found where the firmware left it.
TEST_F(CorpusTest, CheckFindsEveryStringNumberPastTheSetAndDefaultString) {
  std::set<std::string> default_string;
  for (const Json& table : index_) {
    ASSERT_EQ(Load(table), kLoaded);
    std::set<std::string> bad, found;
    for (const Json& at : table["dmidecode"]["bad_index_at"]) {
      int type = 0, handle = 0;
      ASSERT_EQ(std::sscanf(at.get<std::string>().c_str(), "type %d handle 0x%x", &type, &handle), 2);
      bad.insert(std::to_string(type) + "/" + std::to_string(handle));
    }
    for (const Finding& f : CheckModel(ReadTableModel(HeldTable()))) {
      const std::string at = std::to_string(f.type) + "/" + std::to_string(f.handle);
      if (f.kind == FindingKind::kStringBeyondSet) found.insert(at);
      if (f.kind == FindingKind::kPlaceholderText && f.type <= 3 && f.text.find("Default string") != f.text.npos) {
        default_string.insert(table["name"].get<std::string>());
      }
    }
    EXPECT_EQ(found, bad) << table["name"];
  }
  EXPECT_EQ(default_string.size(), 4u) << "tables with \"Default string\" in types 0-3";
}

// The rules across structures where the corpus breaks them: arrays mapped
// over one range, a handle on four structures, caches that name no
// structure, mapped addresses that name an inactive array or the BIOS, an
// error handle in the reserved range, a table without seven required types.
TEST_F(CorpusTest, CheckFindsWhatTablesBreakAcrossStructures) {
  const struct {
    const char* name;
    FindingKind kind;
    int32_t type;
    size_t count;
  } cases[] = {
      {"hp-proliant-dl580-g5", FindingKind::kRangeOverlap, 19, 4},
      {"hp-proliant-dl580-g5", FindingKind::kHandleReused, 218, 3},
      {"hp-proliant-dl585-g1-a", FindingKind::kRangeOverlap, 19, 3},
      {"ibm-x3950-m2-a", FindingKind::kHandleDangling, 4, 8},
      {"dell-poweredge-2500", FindingKind::kHandleWrongType, 20, 6},
      {"lenovo-thinkpad-t61p", FindingKind::kHandleDangling, 17, 2},
      {"microsoft-hyperv-gen1", FindingKind::kStructureMissing, kNoValue, 7},
  };
  for (const auto& c : cases) {
    ASSERT_EQ(Load(Json{{"name", c.name}}), kLoaded);
    const std::vector<Finding> found = CheckModel(ReadTableModel(HeldTable()));
    EXPECT_EQ(std::count_if(found.begin(), found.end(), [&](const Finding& f) {
                return f.kind == c.kind && (c.type == kNoValue || f.type == c.type);
              }),
              static_cast<ptrdiff_t>(c.count))
        << c.name << " " << KindRow(c.kind).words;
  }
}

}  // namespace
}  // namespace tarnwick::testing
