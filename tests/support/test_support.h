// Small helpers shared by the test programs: files, folders and processes
// under the real Windows API (Wine in our runs).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace test_support {

inline std::wstring ModulePath() {
  wchar_t buffer[32768];
  DWORD length = GetModuleFileNameW(nullptr, buffer, 32768);
  return std::wstring(buffer, length);
}

// The folder of the running test program: build/bin, beside the deliverables.
inline std::wstring ModuleFolder() {
  std::wstring path = ModulePath();
  return path.substr(0, path.find_last_of(L'\\'));
}

inline void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}

// Creates every missing folder of an absolute path.
inline void CreateFolders(const std::wstring& path) {
  for (size_t at = path.find(L'\\', 3); ; at = path.find(L'\\', at + 1)) {
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    if (at == std::wstring::npos) break;
  }
}

// A fresh folder (under %TEMP% unless a parent is given), removed with all
// its content when the object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& name, std::wstring parent = {}) {
    if (parent.empty()) {
      wchar_t temp[MAX_PATH];
      parent = std::wstring(temp, GetTempPathW(MAX_PATH, temp));
      if (!parent.empty() && parent.back() == L'\\') parent.pop_back();
    }
    path_ = parent + L"\\" + name + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
            std::to_wstring(GetTickCount());
    CreateFolders(path_);
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

 private:
  std::wstring path_;
};

inline bool WriteBytes(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

inline std::string Utf8(std::wstring_view text) {
  int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

// The whole file; *exists, when asked, tells whether it could be opened.
inline std::string ReadBytes(const std::wstring& path, bool* exists = nullptr) {
  std::string bytes;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (exists) *exists = file != INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read) bytes.append(chunk, read);
  CloseHandle(file);
  return bytes;
}

struct ProcessResult {
  bool started = false;
  DWORD exit_code = 0;
  DWORD milliseconds = 0;
};

// Starts command_line (program path and arguments), waits for it to end.
inline ProcessResult Run(std::wstring command_line, const wchar_t* folder = nullptr) {
  ProcessResult result;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  DWORD start = GetTickCount();
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder,
                      &startup, &process)) {
    return result;
  }
  result.started = true;
  WaitForSingleObject(process.hProcess, INFINITE);
  result.milliseconds = GetTickCount() - start;
  GetExitCodeProcess(process.hProcess, &result.exit_code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace test_support
