#include "wide_text.h"

#include <cstdlib>
#include <cstring>

WideText::~WideText() { std::free(data_); }

bool WideText::Reserve(std::size_t units) {
  if (failed_) return false;
  if (units < capacity_) return true;
  std::size_t capacity = capacity_ ? capacity_ : 64;
  while (capacity <= units) capacity *= 2;
  auto* grown = static_cast<wchar_t*>(std::realloc(data_, capacity * sizeof(wchar_t)));
  if (!grown) {
    failed_ = true;
    return false;
  }
  data_ = grown;
  capacity_ = capacity;
  return true;
}

void WideText::Append(std::wstring_view text) {
  if (!Reserve(size_ + text.size())) return;
  std::memcpy(data_ + size_, text.data(), text.size() * sizeof(wchar_t));
  size_ += text.size();
  data_[size_] = L'\0';
}

void WideText::Append(wchar_t unit, std::size_t count) {
  if (!Reserve(size_ + count)) return;
  for (std::size_t i = 0; i < count; ++i) data_[size_++] = unit;
  data_[size_] = L'\0';
}
