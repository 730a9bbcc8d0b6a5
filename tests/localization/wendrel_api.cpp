#include "wendrel_api.h"

#include <gtest/gtest.h>

#include <cwchar>

#include "support/test_support.h"

const WendrelApi& WendrelApi::Get() {
  static const WendrelApi api = [] {
    WendrelApi bound;
    std::wstring path = test_support::ModuleFolder() + L"\\Wendrel.dll";
    bound.module = LoadLibraryW(path.c_str());
    if (!bound.module) return bound;
    auto bind = [&](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
          reinterpret_cast<void*>(GetProcAddress(bound.module, name)));
    };
    bind(bound.initialize, "Initialize");
    bind(bound.get_string, "GetString");
    bind(bound.uninitialize, "UnInitialize");
    bind(bound.get_language_prefix, "GetLanguagePrefix");
    bind(bound.add_lrm, "AddLRM");
    return bound;
  }();
  return api;
}

std::wstring TakeText(wchar_t* block) {
  EXPECT_NE(block, nullptr);
  if (!block) return {};
  const size_t length = std::wcslen(block);
  EXPECT_EQ(GlobalSize(block), (length + 1) * sizeof(wchar_t));
  EXPECT_EQ(GlobalHandle(block), static_cast<HGLOBAL>(block)) << "not a fixed global block";
  std::wstring text(block, length);
  EXPECT_EQ(GlobalFree(block), nullptr) << "GlobalFree failed";
  return text;
}
