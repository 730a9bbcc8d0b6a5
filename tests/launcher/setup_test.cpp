// setup.exe end to end: real launcher, real sample installer, real processes.
// Runs in both Wine prefixes; each expectation follows the bitness the test
// itself observes, the same way the launcher decides.
#include <gtest/gtest.h>
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "command_line.h"
#include "support/test_support.h"

namespace {

using test_support::TempFolder;

bool RunningUnderWow64() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  return wow64 != FALSE;
}

const wchar_t* KeyForThisMachine() { return RunningUnderWow64() ? L"InstallPath64" : L"InstallPath"; }
const wchar_t* KeyForTheOtherMachine() { return RunningUnderWow64() ? L"InstallPath" : L"InstallPath64"; }

struct Record {
  bool exists = false;
  std::map<std::wstring, std::wstring> fields;

  std::vector<std::wstring> Arguments() const {
    std::vector<std::wstring> args;
    int argc = std::stoi(fields.at(L"argc"));
    for (int i = 1; i <= argc; ++i) args.push_back(fields.at(L"arg" + std::to_wstring(i)));
    return args;
  }
};

struct LaunchResult {
  test_support::ProcessResult process;
  Record record;
};

// A disk folder holding setup.exe, a setup.ini and sample installers.
class Disk {
 public:
  explicit Disk(const std::wstring& name = L"disk", const std::wstring& parent = {})
      : folder_(name, parent), records_(L"records") {
    Copy(L"setup.exe", folder_ / L"setup.exe");
  }

  const std::wstring& path() const { return folder_.path(); }

  // Copies the sample installer to a path relative to the disk.
  std::wstring AddInstaller(const std::wstring& relative) {
    std::wstring target = folder_ / relative;
    test_support::CreateFolders(target.substr(0, target.find_last_of(L'\\')));
    Copy(L"sample_installer.exe", target);
    return target;
  }

  // Writes setup.ini as UTF-16 with a byte-order mark, which the INI reader
  // takes as Unicode, so non-ASCII entries survive.
  void WriteIni(const std::wstring& content) {
    std::wstring text = L"\uFEFF" + content;
    test_support::WriteBytes(folder_ / L"setup.ini",
                             std::string_view(reinterpret_cast<const char*>(text.data()),
                                              text.size() * sizeof(wchar_t)));
  }
  void WriteEntry(const std::wstring& key, const std::wstring& entry) {
    WriteIni(L"[SETUP]\r\n" + key + L"=" + entry + L"\r\n");
  }

  LaunchResult Launch(const std::vector<std::wstring>& args = {}, const wchar_t* sleep_ms = nullptr,
                      const wchar_t* exit_code = nullptr) {
    std::wstring record_path = records_ / L"record.bin";
    DeleteFileW(record_path.c_str());
    SetEnvironmentVariableW(L"SAMPLE_INSTALLER_RECORD", record_path.c_str());
    SetEnvironmentVariableW(L"SAMPLE_INSTALLER_SLEEP_MS", sleep_ms);
    SetEnvironmentVariableW(L"SAMPLE_INSTALLER_EXIT", exit_code);
    WideText command_line;
    command_line.Append(L"\"" + (folder_ / L"setup.exe") + L"\" ");
    for (const auto& arg : args) AppendArgument(command_line, arg);

    LaunchResult result;
    result.process = test_support::Run(command_line.c_str());
    std::string bytes = test_support::ReadBytes(record_path, &result.record.exists);
    std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
    for (size_t at = 0, end; (end = text.find(L'\0', at)) != std::wstring::npos; at = end + 1) {
      std::wstring field = text.substr(at, end - at);
      size_t equals = field.find(L'=');
      result.record.fields[field.substr(0, equals)] = field.substr(equals + 1);
    }
    return result;
  }

 private:
  static void Copy(const std::wstring& name, const std::wstring& to) {
    ASSERT_TRUE(CopyFileW((test_support::ModuleFolder() + L"\\" + name).c_str(), to.c_str(), FALSE))
        << "cannot copy " << test_support::Utf8(name);
  }

  TempFolder folder_;
  TempFolder records_;
};

std::string Narrow(const std::wstring& text) { return test_support::Utf8(text); }

TEST(SetupTest, RunsTheEntryForThisBitnessOnly) {
  Disk disk;
  std::wstring x86 = disk.AddInstaller(L"x86\\installer.exe");
  std::wstring x64 = disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteIni(L"[SETUP]\r\nInstallPath=x86\\installer.exe\r\nInstallPath64=x64\\installer.exe\r\n");
  LaunchResult result = disk.Launch();
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"program"]), Narrow(RunningUnderWow64() ? x64 : x86));

  // The other machine's key is never used as a fallback.
  disk.WriteEntry(KeyForTheOtherMachine(), L"x86\\installer.exe");
  result = disk.Launch();
  EXPECT_TRUE(result.process.started);
  EXPECT_EQ(result.process.exit_code, 0u);
  EXPECT_FALSE(result.record.exists);
}

TEST(SetupTest, WorkedExampleCommandLineAndWorkingFolder) {
  Disk disk(L"disk1");
  std::wstring installer = disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64\\installer.exe");

  LaunchResult result = disk.Launch({L"/quiet"});
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"command_line"]), Narrow(installer + L" /quiet "));
  EXPECT_EQ(Narrow(result.record.fields[L"working_folder"]), Narrow(disk.path() + L"\\x64"));
  EXPECT_EQ(result.process.exit_code, 0u);

  result = disk.Launch();
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"command_line"]), Narrow(installer + L" "));
  EXPECT_EQ(result.record.fields[L"argc"], L"0");
}

TEST(SetupTest, ArgumentsReachTheInstallerOneForOne) {
  Disk disk;
  disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64\\installer.exe");
  const std::vector<std::wstring> args = {
      L"/quiet", L"INSTALLDIR=C:\\Program Files\\X", L"", L"trailing\\", L"with blank\\",
      L"say \"hi\"", L"a\\\\\"b", L"\u0645\u0631\u062D\u0628\u0627", L"line\nbreak"};
  LaunchResult result = disk.Launch(args);
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(result.record.Arguments(), args);
}

TEST(SetupTest, EntryMayCarryItsOwnArguments) {
  Disk disk;
  disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64\\installer.exe /S");
  LaunchResult result = disk.Launch({L"two words"});
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(result.record.Arguments(), (std::vector<std::wstring>{L"/S", L"two words"}));
}

TEST(SetupTest, WaitsForTheInstallerAndAlwaysExitsZero) {
  Disk disk;
  disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64\\installer.exe");
  LaunchResult result = disk.Launch({}, L"2000", L"7");
  ASSERT_TRUE(result.record.exists) << "setup.exe ended before its installer";
  EXPECT_EQ(result.record.fields[L"done"], L"yes");
  EXPECT_GE(result.process.milliseconds, 1900u);
  EXPECT_EQ(result.process.exit_code, 0u);
}

TEST(SetupTest, FailuresStartNothingAndExitZero) {
  struct {
    const char* name;
    const wchar_t* ini;  // null: no setup.ini at all
  } const cases[] = {
      {"no setup.ini", nullptr},
      {"no SETUP section", L"[OTHER]\r\nInstallPath=x64\\installer.exe\r\nInstallPath64=x64\\installer.exe\r\n"},
      {"empty value", L"[SETUP]\r\nInstallPath=\r\nInstallPath64=\r\n"},
      {"missing file", L"[SETUP]\r\nInstallPath=x64\\missing.exe\r\nInstallPath64=x64\\missing.exe\r\n"},
      {"folder, not a program", L"[SETUP]\r\nInstallPath=x64\r\nInstallPath64=x64\r\n"},
      {"not an executable", L"[SETUP]\r\nInstallPath=setup.ini\r\nInstallPath64=setup.ini\r\n"},
  };
  for (const auto& c : cases) {
    Disk disk;
    disk.AddInstaller(L"x64\\installer.exe");
    if (c.ini) disk.WriteIni(c.ini);
    LaunchResult result = disk.Launch({L"/quiet"});
    EXPECT_TRUE(result.process.started) << c.name;
    EXPECT_EQ(result.process.exit_code, 0u) << c.name;
    EXPECT_FALSE(result.record.exists) << c.name;
  }
}

TEST(SetupTest, AbsoluteEntryIsStillTakenAsRelative) {
  Disk disk;
  std::wstring elsewhere = disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), elsewhere);
  LaunchResult result = disk.Launch();
  EXPECT_EQ(result.process.exit_code, 0u);
  EXPECT_FALSE(result.record.exists);
}

TEST(SetupTest, ForwardSlashEntryRunsInTheLauncherFolder) {
  Disk disk;
  disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64/installer.exe");
  LaunchResult result = disk.Launch({L"/quiet"});
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"working_folder"]), Narrow(disk.path()));
  EXPECT_EQ(result.record.Arguments(), std::vector<std::wstring>{L"/quiet"});
}

// With an unquoted program path "...\launch\My Disk.n\x64\installer.exe",
// Windows would first try "...\launch\My.exe". The planted one must not run.
TEST(SetupTest, FolderWithBlankRunsTheRealInstaller) {
  TempFolder parent(L"launch");
  ASSERT_TRUE(CopyFileW((test_support::ModuleFolder() + L"\\sample_installer.exe").c_str(),
                        (parent / L"My.exe").c_str(), FALSE));
  Disk disk(L"My Disk", parent.path());
  std::wstring installer = disk.AddInstaller(L"x64\\installer.exe");
  disk.WriteEntry(KeyForThisMachine(), L"x64\\installer.exe");
  LaunchResult result = disk.Launch({L"/quiet"});
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"program"]), Narrow(installer));
  EXPECT_EQ(Narrow(result.record.fields[L"working_folder"]), Narrow(disk.path() + L"\\x64"));
  EXPECT_EQ(result.record.Arguments(), std::vector<std::wstring>{L"/quiet"});
}

TEST(SetupTest, NonAsciiFolderAndEntry) {
  Disk disk(L"\u0423\u0441\u0442\u0430\u043D\u043E\u0432\u043A\u0430 \u30C7\u30A3\u30B9\u30AF");
  std::wstring installer = disk.AddInstaller(L"\u00FCber\\\u5B89\u88C5.exe");
  disk.WriteEntry(KeyForThisMachine(), L"\u00FCber\\\u5B89\u88C5.exe");
  LaunchResult result = disk.Launch({L"\u00E9t\u00E9"});
  ASSERT_TRUE(result.record.exists);
  EXPECT_EQ(Narrow(result.record.fields[L"program"]), Narrow(installer));
  EXPECT_EQ(Narrow(result.record.fields[L"working_folder"]), Narrow(disk.path() + L"\\\u00FCber"));
  EXPECT_EQ(result.record.Arguments(), std::vector<std::wstring>{L"\u00E9t\u00E9"});
}

}  // namespace
