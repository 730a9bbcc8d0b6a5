// A stand-in installer for tests and the demo. It records what it received
// (its own path, command line, arguments and working folder) as UTF-16
// "name=value" fields separated by NULs, so that any argument text, newlines
// included, survives. The record goes to %SAMPLE_INSTALLER_RECORD%, or to
// installer-record.txt beside the program. SAMPLE_INSTALLER_SLEEP_MS delays
// the record's final "done" field; SAMPLE_INSTALLER_EXIT sets the exit code.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[4096];
  DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
  return length && length < 4096 ? std::wstring(buffer, length) : std::wstring();
}

std::wstring ModulePath() {
  wchar_t buffer[32768];
  DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  return std::wstring(buffer, length);
}

void Field(std::wstring& record, const std::wstring& name, const std::wstring& value) {
  record += name + L"=" + value;
  record.push_back(L'\0');
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  std::wstring record;
  Field(record, L"program", ModulePath());
  Field(record, L"command_line", GetCommandLineW());
  wchar_t folder[32768];
  Field(record, L"working_folder", std::wstring(folder, GetCurrentDirectoryW(32768, folder)));
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  Field(record, L"argc", std::to_wstring(argc - 1));
  for (int i = 1; i < argc; ++i) Field(record, L"arg" + std::to_wstring(i), argv[i]);
  LocalFree(argv);

  std::wstring sleep = Environment(L"SAMPLE_INSTALLER_SLEEP_MS");
  if (!sleep.empty()) Sleep(std::wcstoul(sleep.c_str(), nullptr, 10));
  Field(record, L"done", L"yes");

  std::wstring path = Environment(L"SAMPLE_INSTALLER_RECORD");
  if (path.empty()) {
    path = ModulePath();
    path = path.substr(0, path.find_last_of(L'\\') + 1) + L"installer-record.txt";
  }
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(file, record.data(), DWORD(record.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(file);
  }
  std::wstring exit_code = Environment(L"SAMPLE_INSTALLER_EXIT");
  return exit_code.empty() ? 0 : int(std::wcstol(exit_code.c_str(), nullptr, 10));
}
