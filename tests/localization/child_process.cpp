#include "child_process.h"

#include <windows.h>
// after windows.h, which it needs
#include <oleauto.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "support/test_support.h"
#include "wendrel_api.h"

namespace {

FILE* g_report = nullptr;

__attribute__((format(printf, 1, 2))) void Report(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(g_report, format, arguments);
  va_end(arguments);
  std::fputc('\n', g_report);
  std::fflush(g_report);
}

LONG WINAPI ReportException(EXCEPTION_POINTERS* pointers) {
  const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
  Report("exception %08lx flags %lu parameters %lu %08lx", record->ExceptionCode, record->ExceptionFlags,
         record->NumberParameters,
         record->NumberParameters ? static_cast<unsigned long>(record->ExceptionInformation[0]) : 0);
  IErrorInfo* info = nullptr;
  BSTR description = nullptr;
  if (GetErrorInfo(0, &info) == S_OK) {
    info->GetDescription(&description);
    info->Release();
  }
  Report("error information %ls", description ? description : L"none");
  SysFreeString(description);
  std::fclose(g_report);
  ExitProcess(0);
}

int LookupWithoutService(const std::wstring& folder) {
  const WendrelApi& api = WendrelApi::Get();
  SetUnhandledExceptionFilter(ReportException);
  Report("initialize %d", api.initialize(folder.c_str(), L"en"));
  api.uninitialize();
  Report("uninitialize done");
  Report("initialize %d", api.initialize(folder.c_str(), L"en"));
  wchar_t* text = api.get_string(L"Title");
  Report("returned without exception");
  GlobalFree(text);
  return 0;
}

// Makes description the thread's error information, as a failing COM call
// leaves it.
void SetThreadErrorInfo(const wchar_t* description) {
  ICreateErrorInfo* create = nullptr;
  IErrorInfo* info = nullptr;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetDescription(const_cast<LPOLESTR>(description));
  if (SUCCEEDED(create->QueryInterface(IID_PPV_ARGS(&info)))) {
    SetErrorInfo(0, info);
    info->Release();
  }
  create->Release();
}

// A key that makes the path one the XML service rejects with a failure
// result (E_FAIL under Wine) rather than selecting nothing. The library takes
// the thread's error information when the query fails and must hand it on
// with the structured exception.
int LookupFailingQuery(const std::wstring& folder) {
  const WendrelApi& api = WendrelApi::Get();
  SetUnhandledExceptionFilter(ReportException);
  Report("initialize %d", api.initialize(folder.c_str(), L"en"));
  SetThreadErrorInfo(L"left on the thread");
  wchar_t* text = api.get_string(L"a=b");
  Report("returned without exception");
  GlobalFree(text);
  return 0;
}

const struct {
  const char* name;
  int (*run)(const std::wstring& folder);
} kScenarios[] = {
    {"lookup-without-service", LookupWithoutService},
    {"lookup-failing-query", LookupFailingQuery},
};

std::wstring Wide(const char* text) {
  int size = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring out(size, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), size);
  out.resize(size ? size - 1 : 0);
  return out;
}

}  // namespace

bool RunChildScenario(int argc, char** argv) {
  const char kFlag[] = "--child=";
  if (argc != 4 || std::strncmp(argv[1], kFlag, sizeof kFlag - 1) != 0) return false;
  for (const auto& scenario : kScenarios) {
    if (std::strcmp(argv[1] + sizeof kFlag - 1, scenario.name) != 0) continue;
    g_report = _wfopen(Wide(argv[3]).c_str(), L"wb");
    if (!g_report) ExitProcess(2);
    ExitProcess(scenario.run(Wide(argv[2])));
  }
  ExitProcess(3);
}

ChildReport RunChild(const std::wstring& scenario, const std::wstring& folder) {
  test_support::TempFolder reports(L"child");
  const std::wstring report_path = reports / L"report.txt";
  test_support::Run(L"\"" + test_support::ModulePath() + L"\" --child=" + scenario + L" \"" + folder + L"\" \"" +
                    report_path + L"\"");

  ChildReport report;
  report.raw = test_support::ReadBytes(report_path);
  for (size_t at = 0, end; (end = report.raw.find('\n', at)) != std::string::npos; at = end + 1) {
    report.lines.push_back(report.raw.substr(at, end - at));
  }
  return report;
}
