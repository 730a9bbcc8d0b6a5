// Benchmarks of Wendrel.dll, loaded as a host loads it. Every figure is a
// ratio against a floor measured in the same run, so machines and emulators
// (Wine, qemu) cancel out. Usage: wendrel_bench [cached-keys, default 100000]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Wendrel.h"
#include "com.h"

namespace {

using Clock = std::chrono::steady_clock;

// Best of several runs, in seconds.
template <typename Body>
double Time(Body body, int runs = 5) {
  double best = 1e30;
  for (int i = 0; i < runs; ++i) {
    auto start = Clock::now();
    body();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// The floor of every returned text: one GlobalAlloc, one copy, one free.
void CopyToGlobal(const wchar_t* text, size_t length) {
  void* block = GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, (length + 1) * sizeof(wchar_t));
  std::memcpy(block, text, (length + 1) * sizeof(wchar_t));
  GlobalFree(block);
}

std::wstring Folder() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.find_last_of(L'\\'));
}

void WriteTable(const std::wstring& prefix, const std::string& body) {
  std::wstring path = Folder() + L"\\bench_tables\\" + prefix + L"_strings.xml";
  CreateDirectoryW((Folder() + L"\\bench_tables").c_str(), nullptr);
  FILE* file = _wfopen(path.c_str(), L"wb");
  std::fwrite(body.data(), 1, body.size(), file);
  std::fclose(file);
}

std::string FlatTable(int keys, int text_length) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<STRING_TABLE><STRINGS>\n";
  for (int i = 0; i < keys; ++i) {
    std::string key = "K" + std::to_string(i);
    xml += "<" + key + ">" + std::string(text_length, 'a' + i % 26) + "</" + key + ">\n";
  }
  return xml + "</STRINGS></STRING_TABLE>\n";
}

void AddLrmBench() {
  std::printf("AddLRM, a marker every 16 units, against GlobalAlloc + copy of the same text\n");
  std::printf("%10s %14s %14s %8s\n", "units", "ns/unit", "copy ns/unit", "ratio");
  double smallest = 0, largest = 0;
  for (size_t units = 64 * 1024; units <= 16 * 1024 * 1024; units *= 4) {
    std::wstring text;
    text.reserve(units);
    while (text.size() < units) text += L"abcdefghijklmno%";
    int runs = units > 4 * 1024 * 1024 ? 3 : 7;
    double marks = Time([&] { GlobalFree(AddLRM(text.c_str(), L"%")); }, runs) / units * 1e9;
    double copy = Time([&] { CopyToGlobal(text.c_str(), text.size()); }, runs) / units * 1e9;
    std::printf("%10zu %14.3f %14.3f %7.2fx\n", units, marks, copy, marks / copy);
    if (!smallest) smallest = marks;
    largest = marks;
  }
  std::printf("per-unit time, largest size against smallest: %.2fx (goal <= 1.5x; ratio goal <= 3x)\n\n",
              largest / smallest);
}

void CachedLookupBench() {
  const char* text = "A cached text of moderate length, 48 characters";
  WriteTable(L"cached", "<STRING_TABLE><STRINGS><Cached>" + std::string(text) + "</Cached></STRINGS></STRING_TABLE>");
  Initialize(L"bench_tables", L"cached");
  GlobalFree(GetString(L"Cached"));
  std::wstring wide(text, text + std::strlen(text));
  const int calls = 200000;
  double cached = Time([&] { for (int i = 0; i < calls; ++i) GlobalFree(GetString(L"Cached")); }) / calls;
  double floor = Time([&] {
    for (int i = 0; i < calls; ++i) CopyToGlobal(wide.c_str(), std::wcslen(wide.c_str()));
  }) / calls;
  UnInitialize();
  std::printf("cached GetString: %.0f ns per call, floor (GlobalAlloc + copy) %.0f ns: %.2fx (goal <= 1.5x)\n\n",
              cached * 1e9, floor * 1e9, cached / floor);
}

void FirstLookupBench() {
  std::printf("first look-ups of 500 distinct keys spread over the table\n");
  std::printf("%8s %12s\n", "keys", "ms per key");
  for (int keys : {500, 2000, 8000}) {
    WriteTable(L"first" + std::to_wstring(keys), FlatTable(keys, 24));
    Initialize(L"bench_tables", (L"first" + std::to_wstring(keys)).c_str());
    auto start = Clock::now();
    for (int i = 0; i < 500; ++i) {
      GlobalFree(GetString((L"K" + std::to_wstring(i * keys / 500)).c_str()));
    }
    double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    UnInitialize();
    std::printf("%8d %12.3f\n", keys, seconds / 500 * 1e3);
  }
  std::printf("\n");
}

// The XML service alone, as the library uses it: create, load synchronously.
void LoadWithServiceAlone(const std::wstring& path) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  {
    ComPtr<IXMLDOMDocument> document;
    CoCreateInstance(kClsidDomDocument30, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&document));
    document->put_async(VARIANT_FALSE);
    VARIANT source;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(path.c_str());
    VARIANT_BOOL parsed = VARIANT_FALSE;
    document->load(source, &parsed);
    VariantClear(&source);
  }
  CoUninitialize();
}

void InitializeBench() {
  std::string table = FlatTable(100000, 40);
  WriteTable(L"big", table);
  double library = Time([] { Initialize(L"bench_tables", L"big"); UnInitialize(); }, 3);
  double alone = Time([] { LoadWithServiceAlone(Folder() + L"\\bench_tables\\big_strings.xml"); }, 3);
  std::printf("Initialize on a %.1f MB table: %.1f ms, the XML service alone %.1f ms: %.3fx (goal <= 1.05x)\n\n",
              table.size() / 1e6, library * 1e3, alone * 1e3, library / alone);
}

// Bytes in use in every heap of the process, block overhead included.
// (Wine's process counters move only by whole heap regions.)
SIZE_T HeapBytes() {
  HANDLE heaps[64];
  DWORD count = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
  SIZE_T used = 0;
  for (DWORD i = 0; i < count; ++i) {
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heaps[i]);
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) used += entry.cbData + entry.cbOverhead;
    }
    HeapUnlock(heaps[i]);
  }
  return used;
}

// Keys "A<a>/B<b>/C<c>" select nodes three levels down, so a query visits
// about three cube roots of the table's nodes, not the whole table, and
// 100,000 look-ups stay affordable.
std::wstring MemoryKey(int a, int b, int c) {
  return L"A" + std::to_wstring(a) + L"/B" + std::to_wstring(b) + L"/C" + std::to_wstring(c);
}

void CacheMemoryBench(int keys) {
  int fan = 1;
  while (fan * fan * fan < keys) ++fan;
  std::string xml = "<STRING_TABLE><STRINGS>";
  for (int a = 0; a < fan; ++a) {
    xml += "<A" + std::to_string(a) + ">";
    for (int b = 0; b < fan; ++b) {
      xml += "<B" + std::to_string(b) + ">";
      for (int c = 0; c < fan; ++c) {
        xml += "<C" + std::to_string(c) + ">text of entry " + std::to_string((a * fan + b) * fan + c) +
               "</C" + std::to_string(c) + ">";
      }
      xml += "</B" + std::to_string(b) + ">";
    }
    xml += "</A" + std::to_string(a) + ">";
  }
  WriteTable(L"memory", xml + "</STRINGS></STRING_TABLE>");
  Initialize(L"bench_tables", L"memory");
  SIZE_T before = HeapBytes();
  size_t payload = 0;
  for (int i = 0; i < keys; ++i) {
    std::wstring key = MemoryKey(i % fan, i / fan % fan, i / (fan * fan));
    wchar_t* text = GetString(key.c_str());
    payload += (key.size() + std::wcslen(text)) * sizeof(wchar_t);
    GlobalFree(text);
  }
  SIZE_T after = HeapBytes();
  UnInitialize();
  std::printf("cache of %d entries: %.1f bytes per entry, key and text %.1f bytes: %.2fx\n", keys,
              double(after - before) / keys, double(payload) / keys, double(after - before) / payload);
}

}  // namespace

int main(int argc, char** argv) {
  const int cached_keys = argc > 1 ? std::atoi(argv[1]) : 100000;
  AddLrmBench();
  CachedLookupBench();
  FirstLookupBench();
  InitializeBench();
  CacheMemoryBench(cached_keys);
  return 0;
}
