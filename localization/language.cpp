#include "language.h"

namespace {

constexpr std::wstring_view kDefault = L"en";

// Codes 1 to 36 (0x01-0x24), indexed by code - 1. Empty: the row depends on
// the sublanguage (Chinese, Croatian/Serbian/Bosnian) or takes the default.
constexpr std::wstring_view kByPrimaryCode[36] = {
    L"ar",    L"",   L"",   L"",   L"cs", L"da", L"de", L"el", L"",   L"es", L"fi", L"fr",
    L"",      L"hu", L"",   L"it", L"ja", L"ko", L"nl", L"nb", L"pl", L"pt_br", L"", L"ro",
    L"ru",    L"",   L"sk", L"",   L"sv", L"",   L"tr", L"",   L"",   L"",   L"",   L"sl",
};

constexpr std::uint32_t kChinese = 0x04;
constexpr std::uint32_t kSerboCroatian = 0x1A;

std::wstring_view Chinese(std::uint32_t sublanguage) {
  // 2 and 4: simplified Chinese (mainland, Singapore); every other
  // sublanguage, the neutral ones included, is traditional.
  return sublanguage == 2 || sublanguage == 4 ? L"zh_cn" : L"zh_tw";
}

std::wstring_view SerboCroatian(std::uint32_t sublanguage) {
  if (sublanguage == 1) return L"hr";                          // Croatian (Croatia)
  if (sublanguage == 2 || sublanguage == 9) return L"sr_Latn";  // Serbian, Latin script
  return kDefault;
}

}  // namespace

std::wstring_view LanguagePrefix(std::uint32_t primary_language, std::uint32_t language_id) {
  const std::uint32_t code = primary_language & 0xFFFF;
  const std::uint32_t sublanguage = (language_id & 0xFFFF) >> 10;
  if (code == kChinese) return Chinese(sublanguage);
  if (code == kSerboCroatian) return SerboCroatian(sublanguage);
  if (code < 1 || code > 36) return kDefault;
  std::wstring_view prefix = kByPrimaryCode[code - 1];
  return prefix.empty() ? kDefault : prefix;
}
