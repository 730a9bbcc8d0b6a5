// WideText: a growable, always NUL-terminated UTF-16 buffer.
//
// The launcher builds its few strings with this instead of std::wstring: the
// standard string drags the C++ runtime's exception and locale machinery into
// the image (hundreds of KiB), while the program must stay small. Allocation
// failure does not throw; it makes the text "failed" for good, later appends
// do nothing, and the caller checks ok() once before using the result.
#pragma once

#include <cstddef>
#include <string_view>

class WideText {
 public:
  WideText() = default;
  explicit WideText(std::wstring_view text) { Append(text); }
  ~WideText();
  WideText(const WideText&) = delete;
  WideText& operator=(const WideText&) = delete;

  void Append(std::wstring_view text);
  void Append(wchar_t unit) { Append(std::wstring_view(&unit, 1)); }
  void Append(wchar_t unit, std::size_t count);

  bool ok() const { return !failed_; }
  std::size_t size() const { return size_; }
  std::wstring_view view() const { return {c_str(), size_}; }
  const wchar_t* c_str() const { return data_ ? data_ : L""; }
  // Writable storage of size() + 1 units (APIs such as CreateProcessW want
  // one); null while the text is empty.
  wchar_t* data() { return data_; }

 private:
  bool Reserve(std::size_t units);

  wchar_t* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  bool failed_ = false;
};
