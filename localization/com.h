// COM support for the string-table document: holders, the ComError exception
// and the XML service's identifiers.
//
// Ownership: interface pointers live in Microsoft::WRL::ComPtr, COM strings
// in UniqueBstr, variants in UniqueVariant; each releases on every path, also
// when an exception passes. A ComError owns the error-information object it
// carries and releases it when destroyed.
#pragma once

#include <msxml2.h>
#include <oleauto.h>
#include <windows.h>
#include <wrl/client.h>

#include <string_view>

#include "../common/unique_resource.h"

// MinGW's msxml2.h declares the interfaces without their identifiers, and its
// libraries lack the class identifier.
__CRT_UUID_DECL(IXMLDOMNode, 0x2933BF80, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)
__CRT_UUID_DECL(IXMLDOMDocument, 0x2933BF81, 0x7B36, 0x11D2, 0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60)
inline constexpr CLSID kClsidDomDocument30 = {
    0xF5078F32, 0xC551, 0x11D3, {0x89, 0xB9, 0x00, 0x00, 0xF8, 0x1F, 0xE2, 0x21}};

using Microsoft::WRL::ComPtr;
using UniqueBstr = UniqueResource<BSTR, SysFreeString>;

class UniqueVariant {
 public:
  UniqueVariant() { VariantInit(&value_); }
  ~UniqueVariant() { VariantClear(&value_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  VARIANT& get() { return value_; }

 private:
  VARIANT value_;
};

// A failure of the XML service: its HRESULT and, when the failing interface
// supports it, the thread's error information at the time.
class ComError {
 public:
  explicit ComError(HRESULT result, ComPtr<IErrorInfo> info = nullptr)
      : result_(result), info_(std::move(info)) {}

  HRESULT result() const { return result_; }
  IErrorInfo* info() const { return info_.Get(); }

 private:
  HRESULT result_;
  ComPtr<IErrorInfo> info_;
};

// Throws ComError for a failure result (S_FALSE and other successes pass).
// The error information is attached when object answers ISupportErrorInfo
// for interface_id and the thread has some.
void ThrowIfFailed(HRESULT result, IUnknown* object, REFIID interface_id);

// A COM string copy of text; ComError(E_OUTOFMEMORY) when none can be made.
UniqueBstr MakeBstr(std::wstring_view text);
