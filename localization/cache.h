// ResourceCache: the string table of the current language and every answer
// given so far. Owns its StringTableDocument; entries are never removed or
// replaced while the object lives, so a key answers the same for good.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "document.h"

class ResourceCache {
 public:
  ResourceCache() = default;
  virtual ~ResourceCache() = default;
  ResourceCache(const ResourceCache&) = delete;
  ResourceCache& operator=(const ResourceCache&) = delete;

  // Loads <host folder>\<folder>\<prefix>_strings.xml in place of any earlier
  // document, which is released at once; cached entries stay. False when the
  // table did not load, or when memory ran out while the document was being
  // made (the earlier document then stays). Throws ComError, and bad_alloc
  // while composing the path.
  bool LoadStringTable(std::wstring_view folder, std::wstring_view prefix);

  // The cached text of key, or the one the document gives (under
  // /STRING_TABLE/STRINGS/, else directly under /STRING_TABLE/), cached even
  // when empty. Without a document: empty, and nothing is cached, so a later
  // LoadStringTable can still answer the key. Throws ComError from the
  // document; nothing is cached then.
  // The reference stays valid while the cache lives.
  const std::wstring& LookupString(std::wstring_view key);

 private:
  std::unique_ptr<StringTableDocument> document_;
  // std::less<> finds a key by view, without building a string per look-up.
  std::map<std::wstring, std::wstring, std::less<>> cache_;
};

// The folder of the running program (not of this library), read whole
// however long; empty when it cannot be read.
std::wstring HostFolder();
