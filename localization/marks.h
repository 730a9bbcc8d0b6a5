// Left-to-right marks: U+200E after the first character of every occurrence
// of a marker in a text. Pure; linear in the text and marker lengths.
#pragma once

#include <string>
#include <string_view>

inline constexpr wchar_t kLeftToRightMark = L'\u200E';

// Every occurrence counts, overlapping ones included ("aaaa" with "aa" has
// three). The mark follows the occurrence's first code unit, or the whole
// surrogate pair when the occurrence begins with one, so a pair is never
// split. Occurrences are those of the original text: marks inserted here never
// start new ones, so a marker beginning with U+200E also marks each original
// occurrence once. An empty marker leaves the text unchanged.
std::wstring AddLeftToRightMarks(std::wstring_view text, std::wstring_view marker);
