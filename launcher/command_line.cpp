#include "command_line.h"

void AppendJoinedPath(WideText& out, std::wstring_view folder, std::wstring_view name) {
  out.Append(folder);
  out.Append(L'\\');
  out.Append(name);
}

bool NeedsQuotes(std::wstring_view argument) {
  return argument.empty() || argument.find_first_of(L" \t\n\v\"") != std::wstring_view::npos;
}

void AppendArgument(WideText& out, std::wstring_view argument) {
  if (!NeedsQuotes(argument)) {
    out.Append(argument);
    out.Append(L' ');
    return;
  }
  // CommandLineToArgvW: 2n backslashes before a quote give n backslashes and
  // end or start quoting; 2n+1 give n and a literal quote; backslashes
  // elsewhere are literal. So double the run before an embedded quote (plus
  // one for the quote itself) and the run before the closing quote.
  out.Append(L'"');
  std::size_t backslashes = 0;
  for (wchar_t unit : argument) {
    if (unit == L'\\') {
      ++backslashes;
      continue;
    }
    if (unit == L'"') {
      out.Append(L'\\', backslashes * 2 + 1);
    } else {
      out.Append(L'\\', backslashes);
    }
    backslashes = 0;
    out.Append(unit);
  }
  out.Append(L'\\', backslashes * 2);
  out.Append(L"\" ");
}

void AppendCommandLine(WideText& out, std::wstring_view target, bool quote_target,
                       std::wstring_view forwarded) {
  if (quote_target) out.Append(L'"');
  out.Append(target);
  if (quote_target) out.Append(L'"');
  out.Append(L' ');
  out.Append(forwarded);
}
