// The launcher's pure composition rules, checked against the platform's own
// reading of a command line (CommandLineToArgvW).
#include "command_line.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

std::vector<std::wstring> Split(const std::wstring& command_line) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(command_line.c_str(), &argc);
  std::vector<std::wstring> args(argv, argv + argc);
  LocalFree(argv);
  return args;
}

struct ArgumentCase {
  const char* name;
  const wchar_t* argument;
  const wchar_t* forwarded;  // exact text AppendArgument must produce
};

const ArgumentCase kArgumentCases[] = {
    {"Plain", L"/quiet", L"/quiet "},
    {"PlainWithBackslashes", L"C:\\dir\\", L"C:\\dir\\ "},
    {"Empty", L"", L"\"\" "},
    {"Blank", L"INSTALLDIR=C:\\Program Files\\X", L"\"INSTALLDIR=C:\\Program Files\\X\" "},
    {"Tab", L"a\tb", L"\"a\tb\" "},
    {"Newline", L"a\nb", L"\"a\nb\" "},
    {"Quote", L"say \"hi\"", L"\"say \\\"hi\\\"\" "},
    {"QuoteOnly", L"\"", L"\"\\\"\" "},
    {"TrailingBackslashWithBlank", L"C:\\My Dir\\", L"\"C:\\My Dir\\\\\" "},
    {"BackslashesBeforeQuote", L"a\\\\\"b", L"\"a\\\\\\\\\\\"b\" "},
    {"InnerBackslashesStayLiteral", L"a b\\\\c", L"\"a b\\\\c\" "},
    {"NonAscii", L"\u0645\u0631\u062D\u0628\u0627 \u65E5\u672C", L"\"\u0645\u0631\u062D\u0628\u0627 \u65E5\u672C\" "},
};

class ArgumentTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentTest, ForwardsExactTextThatSplitsBackToTheArgument) {
  const ArgumentCase& c = GetParam();
  WideText out;
  AppendArgument(out, c.argument);
  ASSERT_TRUE(out.ok());
  EXPECT_EQ(std::wstring(out.view()), c.forwarded);

  // Behind a program name, the platform reads back exactly one argument.
  auto args = Split(L"prog.exe " + std::wstring(out.view()));
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[1], c.argument);
}

INSTANTIATE_TEST_SUITE_P(Table, ArgumentTest, ::testing::ValuesIn(kArgumentCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentTest, ManyArgumentsRoundTripInOrder) {
  const std::vector<std::wstring> original = {L"/quiet", L"", L"a b", L"c\\", L"d\\ e\\", L"\"", L"x"};
  WideText forwarded;
  for (const auto& argument : original) AppendArgument(forwarded, argument);
  auto args = Split(L"prog.exe " + std::wstring(forwarded.view()));
  EXPECT_EQ(std::vector<std::wstring>(args.begin() + 1, args.end()), original);
}

TEST(CommandLineTest, ComposesTargetAndForwardedArguments) {
  struct {
    const wchar_t* target;
    bool quote;
    const wchar_t* forwarded;
    const wchar_t* expected;
  } const cases[] = {
      {L"D:\\disk1\\x64\\installer.exe", false, L"/quiet ", L"D:\\disk1\\x64\\installer.exe /quiet "},
      {L"D:\\disk1\\x64\\installer.exe", false, L"", L"D:\\disk1\\x64\\installer.exe "},
      {L"D:\\My Disk\\installer.exe", true, L"/quiet ", L"\"D:\\My Disk\\installer.exe\" /quiet "},
      {L"D:\\disk1\\x64\\installer.exe /S", false, L"a ", L"D:\\disk1\\x64\\installer.exe /S a "},
  };
  for (const auto& c : cases) {
    WideText out;
    AppendCommandLine(out, c.target, c.quote, c.forwarded);
    EXPECT_EQ(std::wstring(out.view()), c.expected) << c.target;
  }
}

TEST(PathTest, JoinsWithOneBackslashEvenAfterADriveRoot) {
  WideText joined;
  AppendJoinedPath(joined, L"D:\\disk1", L"setup.ini");
  EXPECT_EQ(std::wstring(joined.view()), L"D:\\disk1\\setup.ini");
  WideText root;
  AppendJoinedPath(root, L"D:\\", L"setup.ini");
  EXPECT_EQ(std::wstring(root.view()), L"D:\\\\setup.ini");
}

TEST(WideTextTest, GrowsAndStaysTerminated) {
  WideText text;
  EXPECT_STREQ(text.c_str(), L"");
  std::wstring expected;
  for (int i = 0; i < 1000; ++i) {
    text.Append(L"abc");
    text.Append(L'\\', 2);
    expected += L"abc\\\\";
  }
  ASSERT_TRUE(text.ok());
  EXPECT_EQ(std::wstring(text.c_str()), expected);
  EXPECT_EQ(text.size(), expected.size());
}

}  // namespace
