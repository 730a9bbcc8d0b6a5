// setup.exe: starts the installer that setup.ini names for this machine's
// bitness, forwards the launcher's arguments and waits for it. Silent in
// every case; the exit code is always 0.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "../common/unique_resource.h"
#include "command_line.h"
#include "wide_text.h"

namespace {

using UniqueHandle = UniqueResource<HANDLE, CloseHandle>;
using UniqueModule = UniqueResource<HMODULE, FreeLibrary>;
using UniqueLocal = UniqueResource<HLOCAL, LocalFree>;

// Only kernel32 and the C runtime are imported statically. The launcher runs
// elevated from folders users download into, so a DLL planted beside it must
// never load: the search is restricted to System32 before anything else is
// loaded, and the shell functions are then bound from there by full path.
void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  // Older Windows releases lack the function; full paths below still hold.
  auto set_directories = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "SetDefaultDllDirectories")));
  if (set_directories) set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

UniqueModule LoadSystemLibrary(std::wstring_view name) {
  wchar_t system[MAX_PATH];
  UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return UniqueModule();
  WideText path;
  AppendJoinedPath(path, std::wstring_view(system, length), name);
  if (!path.ok()) return UniqueModule();
  return UniqueModule(LoadLibraryW(path.c_str()));
}

template <typename Fn>
Fn Bind(const UniqueModule& module, const char* name) {
  if (!module) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module.get(), name)));
}

struct ShellFunctions {
  UniqueModule shell32 = LoadSystemLibrary(L"shell32.dll");
  UniqueModule shlwapi = LoadSystemLibrary(L"shlwapi.dll");
  decltype(&CommandLineToArgvW) command_line_to_argv =
      Bind<decltype(&CommandLineToArgvW)>(shell32, "CommandLineToArgvW");
  decltype(&PathRemoveFileSpecW) remove_file_spec =
      Bind<decltype(&PathRemoveFileSpecW)>(shlwapi, "PathRemoveFileSpecW");

  bool ok() const { return command_line_to_argv && remove_file_spec; }
};

bool IsRunningUnderWow64() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  auto is_wow64 = reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process")));
  BOOL wow64 = FALSE;
  if (is_wow64) is_wow64(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

// The full path of this program, however long: a cut path would name the
// wrong folder.
void AppendModulePath(WideText& out) {
  for (DWORD size = MAX_PATH; size <= 32768; size *= 2) {
    WideText buffer;
    buffer.Append(L'\0', size);
    if (!buffer.ok()) return;
    DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
    if (length == 0) return;
    if (length < size) {
      out.Append(std::wstring_view(buffer.c_str(), length));
      return;
    }
  }
}

std::wstring_view RemoveFileSpec(WideText& path, const ShellFunctions& shell) {
  if (path.data()) shell.remove_file_spec(path.data());
  return path.c_str();
}

// A blank or tab in an unquoted program path makes Windows try each prefix
// as a program. Quoting an entry that is not a file would break one that
// carries its own arguments, and quoting a path without blanks changes nothing,
// so only an existing file with a blank in its path gets quotes.
bool TargetNeedsQuotes(const WideText& target) {
  if (target.view().find_first_of(L" \t") == std::wstring_view::npos) return false;
  DWORD attributes = GetFileAttributesW(target.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RunAndWait(const WideText& target, std::wstring_view forwarded, const ShellFunctions& shell) {
  WideText command_line;
  AppendCommandLine(command_line, target.view(), TargetNeedsQuotes(target), forwarded);
  WideText working_folder(target.view());
  RemoveFileSpec(working_folder, shell);
  if (!command_line.ok() || !working_folder.ok()) return;

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      working_folder.c_str(), &startup, &process)) {
    return;
  }
  UniqueHandle process_handle(process.hProcess);
  UniqueHandle thread_handle(process.hThread);
  WaitForSingleObject(process_handle.get(), INFINITE);
}

void Launch() {
  ShellFunctions shell;
  if (!shell.ok()) return;

  WideText launcher_folder;
  AppendModulePath(launcher_folder);
  std::wstring_view folder = RemoveFileSpec(launcher_folder, shell);
  WideText configuration;
  AppendJoinedPath(configuration, folder, L"setup.ini");

  int argc = 0;
  UniqueLocal argv_block(shell.command_line_to_argv(GetCommandLineW(), &argc));
  // Without the argument list the installer would start without arguments it
  // may depend on (/quiet, say); starting nothing is the safer failure.
  if (!argv_block) return;
  auto* argv = static_cast<wchar_t**>(argv_block.get());
  WideText forwarded;
  for (int i = 1; i < argc; ++i) AppendArgument(forwarded, argv[i]);

  const wchar_t* key = IsRunningUnderWow64() ? L"InstallPath64" : L"InstallPath";
  wchar_t entry[MAX_PATH] = {};
  GetPrivateProfileStringW(L"SETUP", key, nullptr, entry, MAX_PATH, configuration.c_str());
  if (entry[0] == L'\0') return;

  WideText target;
  AppendJoinedPath(target, folder, entry);
  if (!launcher_folder.ok() || !configuration.ok() || !forwarded.ok() || !target.ok()) return;
  RunAndWait(target, forwarded.view(), shell);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  RestrictDllSearchToSystemFolder();
  Launch();
  return 0;
}
