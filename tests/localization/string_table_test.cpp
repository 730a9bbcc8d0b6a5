// Initialize, GetString and UnInitialize against real string-table files,
// through the real XML document service.
#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdlib>
#include <string>
#include <thread>

#include "child_process.h"
#include "com.h"
#include "support/test_support.h"
#include "wendrel_api.h"

namespace {

using test_support::TempFolder;

const char kTable[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<STRING_TABLE>
  <STRINGS>
    <Title>Title under STRINGS</Title>
    <title>lower-case title</title>
    <Empty></Empty>
    <Escaped>&lt;b&gt; &amp; &#x41;</Escaped>
    <Cdata><![CDATA[<not markup> & 50%]]></Cdata>
    <Group><Sub>nested text</Sub></Group>
    <Arabic>مرحبا بالعالم</Arabic>
    <Cjk>日本語の文字列</Cjk>
    <Astral>smile 😀 here</Astral>
  </STRINGS>
  <Title>Title under the root</Title>
  <RootOnly>only under the root</RootOnly>
  <Empty>root text that must not be used</Empty>
</STRING_TABLE>
)";

// A folder of string tables beside the test program, as a host ships them.
class StringTableTest : public ::testing::Test {
 protected:
  StringTableTest() : tables_(L"tables", test_support::ModuleFolder()) {}
  void SetUp() override { ASSERT_TRUE(api().initialize && api().get_string && api().uninitialize); }
  void TearDown() override { api().uninitialize(); }

  static const WendrelApi& api() { return WendrelApi::Get(); }
  std::wstring FolderName() const { return tables_.path().substr(tables_.path().find_last_of(L'\\') + 1); }
  void WriteTable(const std::wstring& prefix, std::string_view bytes) {
    ASSERT_TRUE(test_support::WriteBytes(tables_ / (prefix + L"_strings.xml"), bytes));
  }
  bool Initialize(const std::wstring& prefix) { return api().initialize(FolderName().c_str(), prefix.c_str()); }
  std::wstring Get(const std::wstring& key) { return TakeText(api().get_string(key.c_str())); }

  TempFolder tables_;
};

TEST_F(StringTableTest, LooksUpKeysUnderStringsThenUnderTheRoot) {
  WriteTable(L"en", kTable);
  ASSERT_TRUE(Initialize(L"en"));
  const struct {
    const wchar_t* key;
    const wchar_t* text;
  } cases[] = {
      {L"Title", L"Title under STRINGS"},      // STRINGS wins over the root
      {L"title", L"lower-case title"},         // keys are case-sensitive
      {L"RootOnly", L"only under the root"},   // fallback to the root
      {L"Empty", L""},                         // found empty: no fallback
      {L"Missing", L""},
      {L"Escaped", L"<b> & A"},
      {L"Cdata", L"<not markup> & 50%"},
      {L"Group/Sub", L"nested text"},
      {L"Arabic", L"\u0645\u0631\u062D\u0628\u0627 \u0628\u0627\u0644\u0639\u0627\u0644\u0645"},
      {L"Cjk", L"\u65E5\u672C\u8A9E\u306E\u6587\u5B57\u5217"},
      {L"Astral", L"smile \U0001F600 here"},
      {L"", L""},
  };
  for (int round = 0; round < 2; ++round) {  // the second round comes from the cache
    for (const auto& c : cases) EXPECT_EQ(Get(c.key), c.text) << test_support::Utf8(c.key);
  }
}

TEST_F(StringTableTest, CachedAnswersOutliveChangesOnDisk) {
  WriteTable(L"en", "<STRING_TABLE><STRINGS><Known>old</Known></STRINGS></STRING_TABLE>");
  ASSERT_TRUE(Initialize(L"en"));
  EXPECT_EQ(Get(L"Known"), L"old");
  EXPECT_EQ(Get(L"Later"), L"");
  WriteTable(L"en", "<STRING_TABLE><STRINGS><Known>new</Known><Later>now here</Later></STRINGS></STRING_TABLE>");
  EXPECT_EQ(Get(L"Known"), L"old");
  EXPECT_EQ(Get(L"Later"), L"");
}

TEST_F(StringTableTest, EncodingsOfTheFile) {
  const std::wstring text = L"\u0417\u0430\u0433\u043E\u043B\u043E\u0432\u043E\u043A \u65E5\u672C \U0001F600";
  const std::wstring xml = L"<?xml version=\"1.0\" encoding=\"UTF-16\"?><STRING_TABLE><STRINGS><T>" + text +
                           L"</T></STRINGS></STRING_TABLE>";
  const std::string utf8 = test_support::Utf8(L"<STRING_TABLE><STRINGS><T>" + text + L"</T></STRINGS></STRING_TABLE>");
  const std::wstring utf16 = L"\uFEFF" + xml;
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"UTF-8 without BOM", utf8},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + utf8},
      {"UTF-16LE with BOM", std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2)},
  };
  for (const auto& c : cases) {
    WriteTable(L"en", c.bytes);
    EXPECT_TRUE(Initialize(L"en")) << c.name;
    EXPECT_EQ(Get(L"T"), text) << c.name;
    api().uninitialize();
  }
}

TEST_F(StringTableTest, MalformedOrMissingFileLoadsNothing) {
  WriteTable(L"xx", "<STRING_TABLE><STRINGS><T>unclosed</STRINGS>");
  EXPECT_FALSE(Initialize(L"xx"));
  EXPECT_EQ(Get(L"T"), L"");
  api().uninitialize();
  EXPECT_FALSE(Initialize(L"none"));
  EXPECT_EQ(Get(L"T"), L"");
}

TEST_F(StringTableTest, SecondInitializeKeepsEarlierTexts) {
  WriteTable(L"de", "<STRING_TABLE><STRINGS><A>Datei</A></STRINGS></STRING_TABLE>");
  WriteTable(L"fr", "<STRING_TABLE><STRINGS><A>Fichier</A><B>Ouvrir</B></STRINGS></STRING_TABLE>");
  ASSERT_TRUE(Initialize(L"de"));
  EXPECT_EQ(Get(L"A"), L"Datei");
  ASSERT_TRUE(Initialize(L"fr"));
  EXPECT_EQ(Get(L"A"), L"Datei");
  EXPECT_EQ(Get(L"B"), L"Ouvrir");
  // UnInitialize empties the cache: a new start answers from the new file.
  api().uninitialize();
  api().uninitialize();  // a second call does nothing
  ASSERT_TRUE(Initialize(L"fr"));
  EXPECT_EQ(Get(L"A"), L"Fichier");
}

TEST_F(StringTableTest, LookupBeforeInitializeIsEmptyAndNotCached) {
  WriteTable(L"en", "<STRING_TABLE><STRINGS><A>text</A></STRINGS></STRING_TABLE>");
  EXPECT_EQ(Get(L""), L"");
  EXPECT_EQ(Get(L"A"), L"");
  ASSERT_TRUE(Initialize(L"en"));
  EXPECT_EQ(Get(L"A"), L"text");
}

TEST_F(StringTableTest, RepeatedLookupsReturnDistinctBlocks) {
  WriteTable(L"en", "<STRING_TABLE><STRINGS><A>same</A></STRINGS></STRING_TABLE>");
  ASSERT_TRUE(Initialize(L"en"));
  wchar_t* first = api().get_string(L"A");
  wchar_t* second = api().get_string(L"A");
  EXPECT_NE(first, second);
  EXPECT_EQ(TakeText(first), L"same");
  EXPECT_EQ(TakeText(second), L"same");
}

// The empty prefix follows the user's UI language. WENDREL_EXPECT_UI_LANGUAGE
// pins the language the run was started with (LANG=de_DE.UTF-8: 0x0407).
TEST_F(StringTableTest, EmptyPrefixFollowsTheUiLanguage) {
  const LANGID language = GetUserDefaultUILanguage();
  if (const char* expected = std::getenv("WENDREL_EXPECT_UI_LANGUAGE")) {
    ASSERT_EQ(language, std::strtoul(expected, nullptr, 16));
  }
  const std::wstring prefix = TakeText(api().get_language_prefix(language & 0x3FF, language));
  WriteTable(prefix, "<STRING_TABLE><STRINGS><Lang>ui</Lang></STRINGS></STRING_TABLE>");
  WriteTable(L"fr", "<STRING_TABLE><STRINGS><Lang>fr</Lang></STRINGS></STRING_TABLE>");
  ASSERT_TRUE(Initialize(L""));
  EXPECT_EQ(Get(L"Lang"), prefix == L"fr" ? L"fr" : L"ui");
  api().uninitialize();
  ASSERT_TRUE(Initialize(L"fr"));
  EXPECT_EQ(Get(L"Lang"), L"fr");
}

// Runs body on a fresh thread, so the apartment checks start from nothing.
template <typename Body>
void OnNewThread(Body body) {
  std::thread(body).join();
}

TEST_F(StringTableTest, LeavesTheApartmentItEntered) {
  WriteTable(L"en", kTable);
  OnNewThread([&] {
    EXPECT_TRUE(Initialize(L"en"));
    EXPECT_EQ(Get(L"Title"), L"Title under STRINGS");
    api().uninitialize();
    // The thread is in no apartment again, so it may choose another.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    CoUninitialize();
  });
}

TEST_F(StringTableTest, WorksInsideTheCallersSingleThreadedApartment) {
  WriteTable(L"en", kTable);
  OnNewThread([&] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_TRUE(Initialize(L"en"));
    EXPECT_EQ(Get(L"RootOnly"), L"only under the root");
    api().uninitialize();
    // Still the caller's apartment: entering it again answers S_FALSE.
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
  });
}

bool XmlServiceAvailable() {
  IUnknown* object = nullptr;
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  HRESULT result = CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                    reinterpret_cast<void**>(&object));
  if (object) object->Release();
  CoUninitialize();
  return SUCCEEDED(result);
}

// A failure result of the service itself (not a missing node) crosses the
// export as the library's structured exception carrying that result, and the
// error information the failure left on the thread reaches the host.
TEST_F(StringTableTest, AFailingQueryRaisesTheServicesResult) {
  if (!XmlServiceAvailable()) GTEST_SKIP() << "needs the XML service";
  WriteTable(L"en", kTable);
  ChildReport report = RunChild(L"lookup-failing-query", FolderName());
  EXPECT_EQ(report.lines, (std::vector<std::string>{
                              "initialize 1", "exception e0575243 flags 1 parameters 1 80004005",
                              "error information left on the thread"}))
      << report.raw;
}

// Without the XML service: Initialize fails, UnInitialize completes, and a
// look-up on the service-less document raises the library's structured
// exception with E_POINTER. Run in a child whose exception filter reports.
// Wine reads WINEDLLOVERRIDES when a process starts from outside Wine, so the
// whole run gets it (msxml3= disables the service); other runs skip this.
TEST_F(StringTableTest, WithoutTheXmlServiceALookupRaisesEPointer) {
  if (XmlServiceAvailable()) GTEST_SKIP() << "needs WINEDLLOVERRIDES=msxml3=";
  WriteTable(L"en", kTable);
  ChildReport report = RunChild(L"lookup-without-service", FolderName());
  EXPECT_EQ(report.lines, (std::vector<std::string>{
                              "initialize 0", "uninitialize done", "initialize 0",
                              "exception e0575243 flags 1 parameters 1 80004003",
                              "error information none"}))
      << report.raw;
}

}  // namespace
