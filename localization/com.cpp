#include "com.h"

void ThrowIfFailed(HRESULT result, IUnknown* object, REFIID interface_id) {
  if (SUCCEEDED(result)) return;
  ComPtr<IErrorInfo> info;
  ComPtr<ISupportErrorInfo> support;
  if (object && SUCCEEDED(object->QueryInterface(IID_PPV_ARGS(&support))) &&
      support->InterfaceSupportsErrorInfo(interface_id) == S_OK) {
    // GetErrorInfo answers S_FALSE, with no object, when there is none.
    if (GetErrorInfo(0, &info) != S_OK) info.Reset();
  }
  throw ComError(result, std::move(info));
}

UniqueBstr MakeBstr(std::wstring_view text) {
  UniqueBstr bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
  if (!bstr) throw ComError(E_OUTOFMEMORY);
  return bstr;
}
