#include "marks.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {

bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Start of every occurrence of marker in text, overlapping ones included, in
// increasing order (Knuth-Morris-Pratt: no position is compared twice).
std::vector<std::size_t> FindOccurrences(std::wstring_view text, std::wstring_view marker) {
  std::vector<std::size_t> starts;
  if (marker.size() == 1) {  // the common case ("%"): a plain scan
    for (std::size_t i = text.find(marker[0]); i != std::wstring_view::npos; i = text.find(marker[0], i + 1)) {
      starts.push_back(i);
    }
    return starts;
  }
  std::vector<std::size_t> border(marker.size(), 0);
  for (std::size_t i = 1, k = 0; i < marker.size(); ++i) {
    while (k > 0 && marker[i] != marker[k]) k = border[k - 1];
    if (marker[i] == marker[k]) ++k;
    border[i] = k;
  }
  for (std::size_t i = 0, k = 0; i < text.size(); ++i) {
    while (k > 0 && text[i] != marker[k]) k = border[k - 1];
    if (text[i] == marker[k]) ++k;
    if (k == marker.size()) {
      starts.push_back(i + 1 - k);
      k = border[k - 1];
    }
  }
  return starts;
}

// Segments between marks are often a few units long ("50% of 80%"), where a
// library copy costs more in its call than in its work.
wchar_t* CopyUnits(const wchar_t* first, const wchar_t* last, wchar_t* out) {
  if (last - first > 32) return std::copy(first, last, out);
  while (first != last) *out++ = *first++;
  return out;
}

}  // namespace

std::vector<std::size_t> MarkInsertionPoints(std::wstring_view text, std::wstring_view marker) {
  if (marker.empty()) return {};
  std::vector<std::size_t> points = FindOccurrences(text, marker);
  for (std::size_t& point : points) {
    const std::size_t start = point;
    point = start + 1;
    if (IsHighSurrogate(text[start]) && point < text.size() && IsLowSurrogate(text[point])) ++point;
  }
  // A pair shifts a point by one, onto the next occurrence's point at most,
  // so the points stay in order.
  return points;
}

void WriteMarkedText(std::wstring_view text, const std::vector<std::size_t>& points, wchar_t* out) {
  std::size_t copied = 0;
  for (std::size_t point : points) {
    out = CopyUnits(text.data() + copied, text.data() + point, out);
    *out++ = kLeftToRightMark;
    copied = point;
  }
  CopyUnits(text.data() + copied, text.data() + text.size(), out);
}

std::wstring AddLeftToRightMarks(std::wstring_view text, std::wstring_view marker) {
  const std::vector<std::size_t> points = MarkInsertionPoints(text, marker);
  std::wstring marked(text.size() + points.size(), L'\0');
  WriteMarkedText(text, points, marked.data());
  return marked;
}
