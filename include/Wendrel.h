/* Wendrel.dll: UI texts by key, in a language, for host programs.
 *
 * Calling convention: __cdecl (the caller cleans the stack), plain names.
 * Strings are NUL-terminated UTF-16 and must never be null.
 *
 * Who frees what: every text the library returns is a new block from
 * GlobalAlloc that belongs to the caller, who releases it with GlobalFree.
 * The library never frees, reuses or remembers a returned block. A function
 * returns NULL only when that block cannot be allocated.
 *
 * Failures that are not results leave the library as structured exceptions
 * (never as C++ exceptions):
 *   WENDREL_E_COM (0xE0575243), non-continuable, with one parameter: the
 *     HRESULT of the failing XML-service call (E_POINTER when the service
 *     could not be created at Initialize). When the service gave error
 *     information, it is the thread's error information (GetErrorInfo).
 *   STATUS_NO_MEMORY (0xC0000017), non-continuable, no parameters.
 *
 * Initialize and UnInitialize must be called on the same thread: Initialize
 * enters a COM apartment there and UnInitialize leaves it. Calls must not
 * overlap.
 */
#ifndef WENDREL_H
#define WENDREL_H

#include <stdbool.h>
#include <wchar.h>

#ifdef __cplusplus
extern "C" {
#endif

#define WENDREL_E_COM 0xE0575243UL
#ifndef STATUS_NO_MEMORY
#define STATUS_NO_MEMORY ((unsigned long)0xC0000017L)
#endif

#ifdef WENDREL_BUILDING
#define WENDREL_API __declspec(dllexport)
#else
#define WENDREL_API __declspec(dllimport)
#endif

/* Loads <host folder>\<folder>\<prefix>_strings.xml; an empty prefix means
 * the user's UI language (see GetLanguagePrefix). True when the table loaded.
 * A further call loads another table but keeps every text already returned:
 * earlier keys keep their answers. */
WENDREL_API bool __cdecl Initialize(const wchar_t* folder, const wchar_t* prefix);

/* The text of key, from <STRING_TABLE><STRINGS><key> or else
 * <STRING_TABLE><key>; empty when neither exists, for the empty key, and
 * before any Initialize. Each key is read from the table once, then cached.
 * Keys are case-sensitive element names; a key that is not a valid path
 * expression of the XML service is outside the interface. */
WENDREL_API wchar_t* __cdecl GetString(const wchar_t* key);

/* Releases the table and every cached text; a second call does nothing. */
WENDREL_API void __cdecl UnInitialize(void);

/* The string-table prefix ("de", "zh_cn", "pt_br", "sr_Latn", ...) of a
 * language: primary_language is the primary-language code alone
 * (PRIMARYLANGID), language_id the full identifier, read only for Chinese and
 * Croatian/Serbian. Only the low 16 bits of each count. Default: "en". */
WENDREL_API wchar_t* __cdecl GetLanguagePrefix(unsigned long primary_language,
                                               unsigned long language_id);

/* text with U+200E (LEFT-TO-RIGHT MARK) inserted after the first character of
 * every occurrence of marker, overlapping occurrences included; after a whole
 * surrogate pair when the occurrence begins with one. An empty marker gives
 * the text back unchanged; a marker that begins with U+200E marks each
 * occurrence of the original text once. The caller's text is not changed. */
WENDREL_API wchar_t* __cdecl AddLRM(const wchar_t* text, const wchar_t* marker);

#ifdef __cplusplus
}
#endif

#endif /* WENDREL_H */
