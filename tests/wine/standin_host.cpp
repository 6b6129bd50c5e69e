// A stand-in for the shell, for running the plug-in under Wine. It does what
// the shell does with a plug-in: load it, read its description, initialise
// it, call its exports by name with the host's 8192-unit buffer, ask it for
// help, shut it down and unload it; every step's outcome goes to standard
// output, one line each, fields separated by tabs, LF line ends.
//
//   standin_host [--var NAME=VALUE]... [--write-table FILE]
//                [--message-boxes FILE] [--firmware HOW] PLUGIN [CALL]...
//
// CALL is a name as users write it (_smbmfg, @smbword[4,0x16]), any export
// with an optional argument (f_smbword[4,0x16]), or ?NAME to call Help(NAME);
// a CALL that begins with "&" is made on a thread of its own.
// --write-table writes the raw SMBIOS table that the host fetches itself from
// the firmware-table service ('RSMB', table 0), before the plug-in loads.
// --message-boxes takes the plug-in's MessageBoxW calls in place of the
// system: each shows as a line (owner, caption, style) and its text goes to
// FILE, UTF-8, one after another. --firmware puts a service of the test's
// choosing in front of the plug-in (firmware_standin.h says which).
#include <windows.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "host/host_interface.h"
#include "tests/wine/firmware_standin.h"
#include "tests/wine/import_redirect.h"
#include "tests/wine/host_library_standin.h"
#include "tests/wine/text_output.h"

namespace {

using namespace tarnwick;
using wine::WriteError;
using wine::WriteOut;

using GetPluginInfoExport = PluginInfo*(TARNWICK_CALL*)();
using InitializeExport = int(TARNWICK_CALL*)();
using ShutdownExport = int(TARNWICK_CALL*)(int);
using HelpExport = int(TARNWICK_CALL*)(const char16_t*);
using FirmwareService = UINT(WINAPI*)(DWORD provider, DWORD table_id, PVOID buffer, DWORD size);

// Provider signature 'RSMB' of the raw SMBIOS table.
constexpr DWORD kRawSmbios = 0x52534D42;

std::u16string_view View(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

void Line(std::initializer_list<std::u16string_view> fields) {
  std::u16string line;
  bool first = true;
  for (std::u16string_view field : fields) {
    if (!first) line += u'\t';
    line += field;
    first = false;
  }
  line += u'\n';
  WriteOut(line);
}

FARPROC Find(HMODULE module, std::u16string_view name) {
  const std::string narrow(name.begin(), name.end());
  return GetProcAddress(module, narrow.c_str());
}

template <class Pointer>
Pointer Export(HMODULE module, std::u16string_view name) {
  return reinterpret_cast<Pointer>(reinterpret_cast<void*>(Find(module, name)));
}

// The host's own fetch of the table, as the firmware-table service hands it.
bool WriteFirmwareTable(const wchar_t* path) {
  auto fetch = reinterpret_cast<FirmwareService>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemFirmwareTable")));
  if (fetch == nullptr) return false;
  const UINT size = fetch(kRawSmbios, 0, nullptr, 0);
  if (size == 0) return false;
  std::vector<BYTE> table(size);
  const UINT fetched = fetch(kRawSmbios, 0, table.data(), size);
  if (fetched != size) return false;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(file, table.data(), size, &written, nullptr) && written == size;
  CloseHandle(file);
  Line({u"table", Decimal(size)});
  return ok;
}

HANDLE g_message_box_texts = INVALID_HANDLE_VALUE;

// Stands in for MessageBoxW: records what the plug-in asked for and answers
// as if the user had pressed OK.
int WINAPI RecordMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT style) {
  // Without a foreground window (a busy headless Wine may have none) the
  // plug-in's owner is null, and still the foreground window it asked for.
  const std::u16string_view owner_kind =
      owner == GetForegroundWindow() ? u"foreground window" : owner == nullptr ? u"no owner" : u"other window";
  Line({u"messagebox", owner_kind, caption == nullptr ? u"(null)" : View(caption), Decimal(style)});
  if (text != nullptr) wine::WriteText(g_message_box_texts, View(text));
  return IDOK;
}

void PrintPluginInfo(const PluginInfo* info) {
  const auto text = [](const char16_t* value) { return value == nullptr ? std::u16string(u"(null)") : value; };
  Line({u"info", u"name", text(info->name)});
  Line({u"info", u"author", text(info->author)});
  Line({u"info", u"email", text(info->email)});
  Line({u"info", u"web", text(info->web)});
  Line({u"info", u"description", text(info->description)});
  Line({u"info", u"implements", text(info->implements)});
  Line({u"info", u"major", Decimal(info->major)});
  Line({u"info", u"minor", Decimal(info->minor)});
  Line({u"info", u"build", Decimal(info->build)});
}

// "@name[arg]" calls f_name with arg in the buffer; "name[arg]" calls name.
// The outcome is shown under `shown`, the call as it was written.
bool CallExport(HMODULE plugin, std::u16string_view shown, std::u16string_view call) {
  std::u16string_view name = call;
  std::u16string_view argument;
  if (const size_t open = call.find(u'['); open != std::u16string_view::npos) {
    name = call.substr(0, open);
    argument = call.substr(open + 1);
    if (!argument.empty() && argument.back() == u']') argument.remove_suffix(1);
  }
  std::u16string export_name(name);
  if (!name.empty() && name.front() == u'@') export_name = u"f_" + std::u16string(name.substr(1));

  auto entry = Export<NameExport>(plugin, export_name);
  if (entry == nullptr) {
    Line({u"call", shown, u"no such export"});
    return false;
  }
  static char16_t buffer[kMaxArgLen];
  std::fill(std::begin(buffer), std::end(buffer), u'\0');
  argument.copy(buffer, std::min<size_t>(argument.size(), kMaxArgLen - 1));
  const int result = entry(buffer);
  // The plug-in must leave its text terminated inside the host's buffer.
  const char16_t* end = std::char_traits<char16_t>::find(buffer, kMaxArgLen, u'\0');
  if (end == nullptr) {
    Line({u"call", shown, Decimal(result), u"unterminated"});
    return false;
  }
  Line({u"call", shown, Decimal(result), std::u16string_view(buffer, end - buffer)});
  return true;
}

struct ThreadCall {
  HMODULE plugin;
  std::u16string_view call;
  bool found;
};

DWORD WINAPI RunThreadCall(void* parameter) {
  auto* call = static_cast<ThreadCall*>(parameter);
  call->found = CallExport(call->plugin, call->call, call->call.substr(1));
  return 0;
}

// "&CALL" runs CALL on a new thread, one the plug-in never initialised (its
// random generator, kept per thread, starts there from its fixed state).
bool CallName(HMODULE plugin, std::u16string_view call) {
  if (!call.starts_with(u"&")) return CallExport(plugin, call, call);
  ThreadCall on_thread{plugin, call, false};
  HANDLE thread = CreateThread(nullptr, 0, &RunThreadCall, &on_thread, 0, nullptr);
  if (thread == nullptr) {
    Line({u"call", call, u"no thread"});
    return false;
  }
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return on_thread.found;
}

int Usage() {
  WriteError(u"usage: standin_host [--var NAME=VALUE]... [--write-table FILE] [--message-boxes FILE] "
             u"[--firmware missing|empty|failing|FILE] PLUGIN [CALL]...\n");
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int at = 1;
  const wchar_t* table_path = nullptr;
  const wchar_t* message_box_path = nullptr;
  const wchar_t* firmware = nullptr;
  for (; at < argc; ++at) {
    const std::u16string_view option = View(argv[at]);
    if (option == u"--var" && at + 1 < argc) {
      const std::u16string assignment(View(argv[++at]));
      const size_t equals = assignment.find(u'=');
      if (equals == std::u16string::npos) return Usage();
      SetHostVariable(assignment.substr(0, equals).c_str(), assignment.substr(equals + 1).c_str());
    } else if (option == u"--write-table" && at + 1 < argc) {
      table_path = argv[++at];
    } else if (option == u"--message-boxes" && at + 1 < argc) {
      message_box_path = argv[++at];
    } else if (option == u"--firmware" && at + 1 < argc) {
      firmware = argv[++at];
    } else if (option.starts_with(u"--")) {
      return Usage();
    } else {
      break;
    }
  }
  if (at == argc) return Usage();

  if (table_path != nullptr && !WriteFirmwareTable(table_path)) {
    WriteError(u"standin_host: cannot fetch or write the firmware table\n");
    return 2;
  }

  HMODULE plugin = LoadLibraryW(argv[at]);
  if (plugin == nullptr) {
    WriteError(u"standin_host: LoadLibraryW failed with error " + Decimal(GetLastError()) + u"\n");
    return 2;
  }
  if (message_box_path != nullptr) {
    g_message_box_texts =
        CreateFileW(message_box_path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (g_message_box_texts == INVALID_HANDLE_VALUE ||
        !wine::RedirectImport(plugin, "USER32.dll", "MessageBoxW", reinterpret_cast<void*>(&RecordMessageBox))) {
      WriteError(u"standin_host: cannot take the plug-in's MessageBoxW calls\n");
      return 2;
    }
  }
  if (firmware != nullptr && !wine::ServeFirmware(plugin, firmware)) {
    WriteError(u"standin_host: cannot put the firmware stand-in in front of the plug-in\n");
    return 2;
  }
  auto get_info = Export<GetPluginInfoExport>(plugin, u"GetPluginInfo");
  auto initialize = Export<InitializeExport>(plugin, u"InitializePlugin");
  auto shutdown = Export<ShutdownExport>(plugin, u"ShutdownPlugin");
  auto help = Export<HelpExport>(plugin, u"Help");
  if (get_info == nullptr || initialize == nullptr || shutdown == nullptr || help == nullptr) {
    WriteError(u"standin_host: the plug-in lacks a lifecycle export\n");
    return 2;
  }

  PrintPluginInfo(get_info());
  const int initialized = initialize();
  Line({u"init", Decimal(initialized)});
  if (initialized != 0) {  // the host does not use a plug-in that refused to load
    FreeLibrary(plugin);
    return 3;
  }

  bool all_found = true;
  for (++at; at < argc; ++at) {
    const std::u16string call(View(argv[at]));
    if (call.starts_with(u"?")) {
      const std::u16string name = call.substr(1);
      Line({u"help", name, Decimal(help(name.c_str()))});
    } else {
      all_found = CallName(plugin, call) && all_found;
    }
  }

  Line({u"shutdown", Decimal(shutdown(0))});
  Line({u"unload", Decimal(FreeLibrary(plugin) ? 1 : 0)});
  if (g_message_box_texts != INVALID_HANDLE_VALUE) CloseHandle(g_message_box_texts);
  return all_found ? 0 : 2;
}
