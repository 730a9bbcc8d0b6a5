// A small host of Wendrel.dll, linked through its import library as a real
// program would be.
//   example_host --prefixes   language prefixes and a marked right-to-left text
//   example_host [prefix]     look-ups in strings\<prefix>_strings.xml beside
//                             the program; no prefix: the user's UI language
#include <windows.h>

#include <cstdio>
#include <string>

#include "Wendrel.h"

namespace {

// UTF-8 to standard output, with U+200E made visible as <LRM>.
void Print(const std::wstring& text) {
  std::wstring shown;
  for (wchar_t unit : text) {
    if (unit == L'\u200E') shown += L"<LRM>"; else shown += unit;
  }
  shown += L'\n';
  int size = WideCharToMultiByte(CP_UTF8, 0, shown.data(), int(shown.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, shown.data(), int(shown.size()), bytes.data(), size, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

// Copies a returned block and frees it, as every host must.
std::wstring Take(wchar_t* block) {
  std::wstring text = block ? block : L"";
  GlobalFree(block);
  return text;
}

void ShowPrefixesAndMarks() {
  const LANGID ids[] = {0x0407, 0x040C, 0x0401, 0x0411, 0x0804, 0x0404, 0x081A, 0x041A, 0x0416, 0x0409, 0x0425};
  for (LANGID id : ids) {
    wchar_t line[96];
    swprintf(line, 96, L"GetLanguagePrefix(0x%02X, 0x%04X) = \"%ls\"", id & 0x3FF, id,
             Take(GetLanguagePrefix(id & 0x3FF, id)).c_str());
    Print(line);
  }
  const wchar_t* arabic = L"\u062A\u0645 \u062A\u062D\u0645\u064A\u0644 50% \u0645\u0646 \u0627\u0644\u0645\u0644\u0641\u0627\u062A";
  Print(std::wstring(L"AddLRM(\"") + arabic + L"\", \"%\") = \"" + Take(AddLRM(arabic, L"%")) + L"\"");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wstring(argv[1]) == L"--prefixes") {
    ShowPrefixesAndMarks();
    return 0;
  }
  const std::wstring prefix = argc > 1 ? argv[1] : L"";
  const LANGID ui = GetUserDefaultUILanguage();
  wchar_t line[128];
  swprintf(line, 128, L"user UI language 0x%04X -> prefix \"%ls\"", ui,
           Take(GetLanguagePrefix(ui & 0x3FF, ui)).c_str());
  Print(line);

  const bool loaded = Initialize(L"strings", prefix.c_str());
  Print(L"Initialize(L\"strings\", L\"" + prefix + L"\") -> " + (loaded ? L"true" : L"false"));
  for (const wchar_t* key : {L"AppTitle", L"OpenFile", L"Progress", L"OnlyInEnglish"}) {
    Print(std::wstring(L"  GetString(") + key + L") = \"" + Take(GetString(key)) + L"\"");
  }
  // Keeps "50%" reading left to right inside right-to-left text.
  const std::wstring progress = Take(GetString(L"Progress"));
  Print(L"  AddLRM(Progress, \"%\") = \"" + Take(AddLRM(progress.c_str(), L"%")) + L"\"");
  UnInitialize();
  return 0;
}
