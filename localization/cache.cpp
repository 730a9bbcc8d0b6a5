#include "cache.h"

#include <windows.h>

#include <new>

namespace {

constexpr std::wstring_view kPrimaryPathBase = L"/STRING_TABLE/STRINGS/";
constexpr std::wstring_view kFallbackPathBase = L"/STRING_TABLE/";

}  // namespace

std::wstring HostFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    if (path.size() >= 32768) return {};  // longer than any Windows path
    path.resize(path.size() * 2);
  }
  std::size_t last = path.find_last_of(L'\\');
  if (last != std::wstring::npos) path.resize(last);
  return path;
}

bool ResourceCache::LoadStringTable(std::wstring_view folder, std::wstring_view prefix) {
  std::wstring path = HostFolder();
  path.append(L"\\").append(folder).append(L"\\").append(prefix).append(L"_strings.xml");

  std::unique_ptr<StringTableDocument> document;
  try {
    document = std::make_unique<StringTableDocument>(path);
  } catch (const std::bad_alloc&) {
    return false;
  }
  document_ = std::move(document);
  return document_->loaded();
}

const std::wstring& ResourceCache::LookupString(std::wstring_view key) {
  static const std::wstring kNoText;
  if (auto found = cache_.find(key); found != cache_.end()) return found->second;
  if (!document_) return kNoText;

  std::wstring text;
  std::wstring path(kPrimaryPathBase);
  path += key;
  if (document_->SelectNodeText(path, text) == ERROR_NOT_FOUND) {
    path.assign(kFallbackPathBase).append(key);
    document_->SelectNodeText(path, text);
  }
  return cache_.emplace(key, std::move(text)).first->second;
}
