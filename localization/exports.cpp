// The five exports. Each runs its body through ExportBoundary, so no C++
// exception ever leaves the library: it cannot cross a module boundary with a
// statically linked GCC runtime, and hosts built with other compilers could
// not catch it anyway. The failures that reach a host leave as structured
// exceptions instead (codes in Wendrel.h).
#include <windows.h>

#include <new>
#include <string>
#include <string_view>

#define WENDREL_BUILDING
#include "../include/Wendrel.h"
#include "cache.h"
#include "com.h"
#include "language.h"
#include "marks.h"

namespace {

using UniqueGlobal = UniqueResource<HGLOBAL, GlobalFree>;

// The one process-wide cache: created by the first Initialize or GetString
// that needs it, destroyed only by UnInitialize.
ResourceCache* g_instance = nullptr;

ResourceCache& Instance() {
  if (!g_instance) g_instance = new ResourceCache();
  return *g_instance;
}

// A new GlobalAlloc block of length units and a NUL, filled by fill(units),
// owned by the caller from the return on; null when it cannot be allocated.
template <typename Fill>
wchar_t* ReturnedText(std::size_t length, Fill fill) {
  UniqueGlobal block(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (length + 1) * sizeof(wchar_t)));
  if (!block) return nullptr;
  fill(static_cast<wchar_t*>(block.get()));  // the NUL is there already (zero-filled)
  return static_cast<wchar_t*>(block.release());
}

wchar_t* ReturnedText(std::wstring_view text) {
  return ReturnedText(text.size(), [&](wchar_t* units) { text.copy(units, text.size()); });
}

[[noreturn]] void RaiseNonContinuable(DWORD code, DWORD argument_count, const ULONG_PTR* arguments) {
  RaiseException(code, EXCEPTION_NONCONTINUABLE, argument_count, arguments);
  __builtin_unreachable();  // a handler cannot continue a non-continuable exception
}

// Runs an export's body; a C++ exception becomes a structured one. It is
// raised after the catch block has ended, so the C++ exception object is gone
// and no handler of ours is still on the stack when a host unwinds past it.
template <typename Body>
auto ExportBoundary(Body&& body) noexcept -> decltype(body()) {
  ULONG_PTR result = 0;
  DWORD code = STATUS_NO_MEMORY;
  try {
    return body();
  } catch (const ComError& error) {
    code = WENDREL_E_COM;
    result = static_cast<ULONG_PTR>(error.result());
    if (error.info()) SetErrorInfo(0, error.info());
  } catch (const std::bad_alloc&) {
    code = STATUS_NO_MEMORY;
  } catch (...) {
    // Nothing else is thrown inside; should it be, it still must not escape.
    code = WENDREL_E_COM;
    result = static_cast<ULONG_PTR>(E_UNEXPECTED);
  }
  if (code == WENDREL_E_COM) RaiseNonContinuable(code, 1, &result);
  RaiseNonContinuable(code, 0, nullptr);
}

}  // namespace

extern "C" {

bool __cdecl Initialize(const wchar_t* folder, const wchar_t* prefix) {
  return ExportBoundary([&] {
    std::wstring chosen(prefix);
    if (chosen.empty()) {
      const LANGID language = GetUserDefaultUILanguage();
      chosen = LanguagePrefix(language & 0x3FF, language);
    }
    return Instance().LoadStringTable(folder, chosen);
  });
}

wchar_t* __cdecl GetString(const wchar_t* key) {
  return ExportBoundary([&] {
    if (*key == L'\0') return ReturnedText(L"");
    return ReturnedText(Instance().LookupString(key));
  });
}

void __cdecl UnInitialize(void) {
  return ExportBoundary([] {
    delete g_instance;
    g_instance = nullptr;
  });
}

wchar_t* __cdecl GetLanguagePrefix(unsigned long primary_language, unsigned long language_id) {
  return ExportBoundary([&] { return ReturnedText(LanguagePrefix(primary_language, language_id)); });
}

wchar_t* __cdecl AddLRM(const wchar_t* text, const wchar_t* marker) {
  return ExportBoundary([&] {
    // Written straight into the returned block: one pass over the text to
    // find the marks, one to copy it.
    const std::wstring_view whole(text);
    const std::vector<std::size_t> points = MarkInsertionPoints(whole, marker);
    return ReturnedText(whole.size() + points.size(),
                        [&](wchar_t* units) { WriteMarkedText(whole, points, units); });
  });
}

}  // extern "C"

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
