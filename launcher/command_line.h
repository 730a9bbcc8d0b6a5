// Pure pieces of the launcher: how paths and the installer's command line are
// composed. No Windows calls here, so every rule is tested directly.
#pragma once

#include <string_view>

#include "wide_text.h"

// folder + "\" + name, exactly: a folder that already ends in a backslash (a
// drive root such as D:\) gives a doubled one, which Windows accepts.
void AppendJoinedPath(WideText& out, std::wstring_view folder, std::wstring_view name);

// True when an argument must be quoted to survive CommandLineToArgvW as one
// argument: it is empty or holds a blank, tab, newline, vertical tab or quote.
bool NeedsQuotes(std::wstring_view argument);

// Appends one forwarded argument followed by one blank. An argument that needs
// no quotes is appended as it is; any other is quoted, with its backslashes and
// quotes escaped so that CommandLineToArgvW reads back exactly the original.
void AppendArgument(WideText& out, std::wstring_view argument);

// The installer's command line: target path, one blank, forwarded arguments.
// The target is quoted only when quote_target is set: an unquoted path with a
// blank lets Windows try its prefixes as programs (D:\My.exe for D:\My Disk\x),
// but an entry that is not an existing file may carry its own arguments
// ("x64\installer.exe /S") and must then stay unquoted to keep working.
void AppendCommandLine(WideText& out, std::wstring_view target, bool quote_target,
                       std::wstring_view forwarded);
