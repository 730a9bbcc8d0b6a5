// The library as a real host sees it: Wendrel.dll loaded with LoadLibraryW
// from beside the test program, its exports bound with GetProcAddress.
#pragma once

#include <windows.h>

#include <string>

#include "../../include/Wendrel.h"

struct WendrelApi {
  HMODULE module = nullptr;
  decltype(&Initialize) initialize = nullptr;
  decltype(&GetString) get_string = nullptr;
  decltype(&UnInitialize) uninitialize = nullptr;
  decltype(&GetLanguagePrefix) get_language_prefix = nullptr;
  decltype(&AddLRM) add_lrm = nullptr;

  // Bound by name; the library stays loaded for the life of the process.
  static const WendrelApi& Get();

  // Binds an export by its ordinal.
  void* ByOrdinal(WORD ordinal) const {
    return reinterpret_cast<void*>(GetProcAddress(module, MAKEINTRESOURCEA(ordinal)));
  }
};

// Takes ownership of a returned block: checks that it is a live global block
// of exactly (length + 1) * 2 bytes, copies the text and frees the block.
// Any of that not holding is a test failure.
std::wstring TakeText(wchar_t* block);
