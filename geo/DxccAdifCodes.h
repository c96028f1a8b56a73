#pragma once

#include <string_view>

namespace corvale {

struct DxccAdifCode {
    int code;         // the ADIF DXCC entity code
    const char* key;  // the DXCC entity table's key of that entity
};

// The key of the DXCC entity table that names the entity of an ADIF DXCC code ("" for a code
// that is not in the table or whose entity has no key).
std::string_view DxccKeyOfAdifCode(long code);

}  // namespace corvale
