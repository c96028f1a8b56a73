#pragma once

#include <string_view>

namespace corvale {

// Whether two UTF-8 names are equal without regard to case, as Windows and Wine compare file
// names: each character is mapped through Unicode's simple upper-case mapping, one character
// to one, characters above U+FFFF unchanged (Windows maps UTF-16 code units). So "DX ATLÄB"
// equals "DX Atläb" and "ΣΟΦΊΑ" "σοφία", but "STRASSE" is not "Straße", which full case
// folding would make it. Bytes that are not UTF-8 must be equal as they are.
//
// The mapping is glib's (g_unichar_toupper): its own Unicode tables, the same whatever the
// process's locale, where towupper maps only ASCII in the C locale.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace corvale
