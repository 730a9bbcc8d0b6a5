// StringTableDocument: one string table parsed by the platform's XML document
// service (MSXML 3.0 DOM), answering "what is the text of the node at this
// path".
//
// Construction enters a COM apartment on the calling thread (the
// multithreaded one, unless the thread already has another) and destruction
// leaves it, so both must happen on the same thread. Construction never
// reports failure by a result: a missing service or an unparsed source shows
// in loaded(). It throws ComError for a failure result of the service and
// std::bad_alloc when memory runs out; the apartment is left again then.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "com.h"

class StringTableDocument {
 public:
  // source: a file path, tried as text when it does not load as a file.
  explicit StringTableDocument(std::wstring_view source);
  StringTableDocument(const StringTableDocument&) = delete;
  StringTableDocument& operator=(const StringTableDocument&) = delete;

  bool loaded() const { return loaded_; }

  // 0 when a node was selected: text becomes the node's text up to its first
  // NUL (a null text counts as empty). ERROR_NOT_FOUND when none was: text is
  // left as it was. Throws ComError: E_POINTER when the service was never
  // created, or the service's failure result. path reaches the service as it
  // is, in the service's default query language.
  DWORD SelectNodeText(std::wstring_view path, std::wstring& text);

 private:
  // Balances a successful CoInitializeEx. A thread already in another
  // apartment (RPC_E_CHANGED_MODE) keeps it, and nothing is balanced.
  class ApartmentEntry {
   public:
    ApartmentEntry();
    ~ApartmentEntry();
    ApartmentEntry(const ApartmentEntry&) = delete;
    ApartmentEntry& operator=(const ApartmentEntry&) = delete;

   private:
    bool entered_;
  };

  // Declared first so it is destroyed last: the document is released inside
  // the apartment, also when construction ends by an exception.
  ApartmentEntry apartment_;
  ComPtr<IXMLDOMDocument> document_;
  bool loaded_ = false;
  std::wstring source_;
};
