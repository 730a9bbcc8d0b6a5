// Language prefixes and left-to-right marks: each case checked on the pure
// function and through the loaded library's export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "language.h"
#include "marks.h"
#include "wendrel_api.h"

namespace {

class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(api().module, nullptr) << "Wendrel.dll did not load";
    ASSERT_TRUE(api().get_language_prefix && api().add_lrm);
  }
  static const WendrelApi& api() { return WendrelApi::Get(); }
};

// ---------------------------------------------------------------- prefixes

struct PrefixCase {
  unsigned long primary;
  unsigned long language_id;
  const wchar_t* prefix;
};

std::vector<PrefixCase> PrefixCases() {
  // Every primary code from 0 to 0x25, with a plain sublanguage (1).
  const wchar_t* by_code[0x26] = {
      L"en", L"ar", L"en", L"en", L"zh_tw", L"cs", L"da", L"de", L"el", L"en",  // 0x00-0x09
      L"es", L"fi", L"fr", L"en", L"hu", L"en", L"it", L"ja", L"ko", L"nl",     // 0x0A-0x13
      L"nb", L"pl", L"pt_br", L"en", L"ro", L"ru", L"hr", L"sk", L"en", L"sv",  // 0x14-0x1D
      L"en", L"tr", L"en", L"en", L"en", L"en", L"sl", L"en"};                  // 0x1E-0x25
  std::vector<PrefixCase> cases;
  for (unsigned long code = 0; code < 0x26; ++code) cases.push_back({code, 0x0400 | code, by_code[code]});
  const PrefixCase edges[] = {
      // (0x07, 0x0407), (0x09, 0x0409), (0x04, 0x0404) and (0x1A, 0x041A) are rows above.
      {0x04, 0x0804, L"zh_cn"},    {0x04, 0x1004, L"zh_cn"},    {0x04, 0x0C04, L"zh_tw"},
      {0x04, 0x1404, L"zh_tw"},    {0x04, 0x0004, L"zh_tw"},    {0x04, 0x7C04, L"zh_tw"},
      {0x16, 0x0816, L"pt_br"},    {0x1A, 0x081A, L"sr_Latn"},
      {0x1A, 0x241A, L"sr_Latn"},  {0x1A, 0x0C1A, L"en"},       {0x1A, 0x101A, L"en"},
      {0x1A, 0x181A, L"en"},       {0x1A, 0x2C1A, L"en"},       {0x1A, 0x001A, L"en"},
      {0x14, 0x0814, L"nb"},       {0x0407, 0x0407, L"en"},     {0xFFFF, 0x0407, L"en"},
      {0x10007, 0, L"de"},         {0xFFFF0004, 0x0804, L"zh_cn"},
      // Only the low 16 bits of the identifier count for the sublanguage.
      {0x04, 0xFFFF0804, L"zh_cn"}, {0x1A, 0x0001041A, L"hr"},
  };
  cases.insert(cases.end(), std::begin(edges), std::end(edges));
  return cases;
}

class PrefixTest : public LibraryTest, public ::testing::WithParamInterface<PrefixCase> {};

TEST_P(PrefixTest, MapsLanguageToPrefix) {
  const PrefixCase& c = GetParam();
  EXPECT_EQ(std::wstring(LanguagePrefix(c.primary, c.language_id)), c.prefix);
  EXPECT_EQ(TakeText(api().get_language_prefix(c.primary, c.language_id)), c.prefix);
}

INSTANTIATE_TEST_SUITE_P(Table, PrefixTest, ::testing::ValuesIn(PrefixCases()), [](const auto& info) {
  char name[40];
  std::snprintf(name, sizeof name, "Primary%lX_Id%lX", info.param.primary, info.param.language_id);
  return std::string(name);
});

// ------------------------------------------------------------------- marks

struct MarkCase {
  const char* name;
  const wchar_t* text;
  const wchar_t* marker;
  const wchar_t* marked;
};

const MarkCase kMarkCases[] = {
    {"Percent", L"50%", L"%", L"50%\u200E"},
    {"TwoPercents", L"a%b%", L"%", L"a%\u200Eb%\u200E"},
    {"NoMarker", L"plain text", L"%", L"plain text"},
    {"EmptyText", L"", L"%", L""},
    {"TwoUnitMarker", L"abab", L"ab", L"a\u200Eba\u200Eb"},
    {"OverlappingThree", L"aaa", L"aa", L"a\u200Ea\u200Ea"},
    {"OverlappingFour", L"aaaa", L"aa", L"a\u200Ea\u200Ea\u200Ea"},
    {"AlreadyMarked", L"5%\u200E", L"%", L"5%\u200E\u200E"},
    {"MarkerLongerThanText", L"ab", L"abc", L"ab"},
    {"WholeTextIsMarker", L"abc", L"abc", L"a\u200Ebc"},
    {"LongSegments",  // longer than a short copy
     L"0123456789012345678901234567890123456789%0123456789012345678901234567890123456789", L"%",
     L"0123456789012345678901234567890123456789%\u200E0123456789012345678901234567890123456789"},
    {"Arabic", L"\u0646\u0633\u0628\u0629 50% \u0641\u0642\u0637", L"%",
     L"\u0646\u0633\u0628\u0629 50%\u200E \u0641\u0642\u0637"},
    // Never inside a surrogate pair (U+1F600 is D83D DE00).
    {"PairMarker", L"x\U0001F600y", L"\U0001F600", L"x\U0001F600\u200Ey"},
    {"HighHalfMarker", L"\U0001F600\U0001F600", L"\xD83D", L"\U0001F600\u200E\U0001F600\u200E"},
    {"LoneHighSurrogate", L"\xD83Dx", L"\xD83D", L"\xD83D\u200Ex"},
    {"LowHalfMarker", L"\U0001F600", L"\xDE00", L"\U0001F600\u200E"},
    // Excluded markers terminate.
    {"EmptyMarker", L"abc", L"", L"abc"},
    {"MarkerStartingWithMark", L"a\u200Eb\u200Eb", L"\u200Eb", L"a\u200E\u200Eb\u200E\u200Eb"},
};

class MarkTest : public LibraryTest, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(MarkTest, InsertsMarks) {
  const MarkCase& c = GetParam();
  EXPECT_EQ(AddLeftToRightMarks(c.text, c.marker), c.marked);
  std::wstring text = c.text;
  EXPECT_EQ(TakeText(api().add_lrm(text.c_str(), c.marker)), c.marked);
  EXPECT_EQ(text, c.text) << "the caller's text changed";
}

INSTANTIATE_TEST_SUITE_P(Table, MarkTest, ::testing::ValuesIn(kMarkCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LibraryTest, LongTextMarksEveryOccurrence) {
  std::wstring text, expected;
  for (int i = 0; i < 100000; ++i) {
    text += L"abc%";
    expected += L"abc%\u200E";
  }
  EXPECT_EQ(TakeText(api().add_lrm(text.c_str(), L"%")), expected);
}

// ------------------------------------------------------------ the library

TEST_F(LibraryTest, EveryCallReturnsADistinctBlock) {
  wchar_t* first = api().get_language_prefix(7, 0x407);
  wchar_t* second = api().get_language_prefix(7, 0x407);
  wchar_t* third = api().add_lrm(L"", L"%");
  wchar_t* fourth = api().add_lrm(L"", L"%");
  EXPECT_NE(first, second);
  EXPECT_NE(third, fourth);
  EXPECT_EQ(TakeText(first), L"de");
  EXPECT_EQ(TakeText(second), L"de");
  EXPECT_EQ(TakeText(third), L"");
  EXPECT_EQ(TakeText(fourth), L"");
}

TEST_F(LibraryTest, OrdinalsFollowTheAlphabet) {
  EXPECT_EQ(api().ByOrdinal(1), reinterpret_cast<void*>(api().add_lrm));
  EXPECT_EQ(api().ByOrdinal(2), reinterpret_cast<void*>(api().get_language_prefix));
  EXPECT_EQ(api().ByOrdinal(3), reinterpret_cast<void*>(api().get_string));
  EXPECT_EQ(api().ByOrdinal(4), reinterpret_cast<void*>(api().initialize));
  EXPECT_EQ(api().ByOrdinal(5), reinterpret_cast<void*>(api().uninitialize));
  EXPECT_EQ(api().ByOrdinal(6), nullptr);
  // Called by ordinal, the same function answers.
  auto prefix = reinterpret_cast<decltype(&GetLanguagePrefix)>(api().ByOrdinal(2));
  EXPECT_EQ(TakeText(prefix(0x0C, 0x040C)), L"fr");
}

}  // namespace
