#include "document.h"

#include <objbase.h>
#include <ole2.h>

#include <cwchar>

namespace {

constexpr DWORD kAnyServerContext =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

}  // namespace

StringTableDocument::ApartmentEntry::ApartmentEntry()
    : entered_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_DISABLE_OLE1DDE))) {}

StringTableDocument::ApartmentEntry::~ApartmentEntry() {
  if (entered_) CoUninitialize();
}

StringTableDocument::StringTableDocument(std::wstring_view source) {
  ComPtr<IUnknown> object;
  if (FAILED(CoCreateInstance(kClsidDomDocument30, nullptr, kAnyServerContext, IID_PPV_ARGS(&object)))) {
    return;  // no service: every later query reports E_POINTER
  }
  if (FAILED(OleRun(object.Get())) || FAILED(object.As(&document_))) {
    document_.Reset();
    return;
  }
  IXMLDOMDocument* document = document_.Get();
  ThrowIfFailed(document->put_async(VARIANT_FALSE), document, __uuidof(IXMLDOMDocument));
  source_.assign(source);

  VARIANT_BOOL parsed = VARIANT_FALSE;
  {
    UniqueVariant path;
    path.get().vt = VT_BSTR;
    path.get().bstrVal = MakeBstr(source_).release();
    ThrowIfFailed(document->load(path.get(), &parsed), document, __uuidof(IXMLDOMDocument));
  }
  if (parsed == VARIANT_TRUE) {
    loaded_ = true;
    return;
  }
  UniqueBstr text = MakeBstr(source_);
  parsed = VARIANT_FALSE;
  ThrowIfFailed(document->loadXML(text.get(), &parsed), document, __uuidof(IXMLDOMDocument));
  loaded_ = parsed == VARIANT_TRUE;
}

DWORD StringTableDocument::SelectNodeText(std::wstring_view path, std::wstring& text) {
  UniqueBstr query = MakeBstr(path);
  if (!document_) throw ComError(E_POINTER);

  ComPtr<IXMLDOMNode> node;
  ThrowIfFailed(document_->selectSingleNode(query.get(), &node), document_.Get(), __uuidof(IXMLDOMNode));
  if (!node) return ERROR_NOT_FOUND;  // S_FALSE: nothing matched

  UniqueBstr node_text;
  ThrowIfFailed(node->get_text(node_text.put()), node.Get(), __uuidof(IXMLDOMNode));
  const wchar_t* units = node_text.get();
  text.assign(units ? units : L"", units ? std::wcslen(units) : 0);
  return 0;
}
