// Left-to-right marks: U+200E after the first character of every occurrence
// of a marker in a text. Pure; linear in the text and marker lengths.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr wchar_t kLeftToRightMark = L'\u200E';

// Every occurrence counts, overlapping ones included ("aaaa" with "aa" has
// three). The mark follows the occurrence's first code unit, or the whole
// surrogate pair when the occurrence begins with one, so a pair is never
// split. Occurrences are those of the original text: marks inserted here never
// start new ones, so a marker beginning with U+200E also marks each original
// occurrence once. An empty marker leaves the text unchanged.
std::wstring AddLeftToRightMarks(std::wstring_view text, std::wstring_view marker);

// The same in two steps, for callers that own the output buffer: the indexes
// of text after which a mark goes (non-decreasing; one per occurrence), then
// the marked text written to out, which holds text.size() + points.size()
// units.
std::vector<std::size_t> MarkInsertionPoints(std::wstring_view text, std::wstring_view marker);
void WriteMarkedText(std::wstring_view text, const std::vector<std::size_t>& points, wchar_t* out);
