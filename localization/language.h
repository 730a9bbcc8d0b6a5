// Language prefixes: the short tag that names a string-table file ("de" for
// de_strings.xml). A pure function of its two arguments.
#pragma once

#include <cstdint>
#include <string_view>

// primary_language: only its low 16 bits count, compared whole with the
// primary-language codes (0x07 German); a full identifier such as 0x0407 here
// is outside the table and gives "en". language_id: only its low 16 bits
// count; its sublanguage (bits 10-15) matters for Chinese (0x04) and for
// Croatian/Serbian/Bosnian (0x1A) alone. The result is a static literal.
std::wstring_view LanguagePrefix(std::uint32_t primary_language, std::uint32_t language_id);
