#include "geo/DxccAdifCodes.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace corvale {

namespace {

#include "geo/DxccAdifData.inc"

constexpr bool AscendsByCode() {
    return std::is_sorted(
        std::begin(kDxccAdifCodes), std::end(kDxccAdifCodes),
        [](const DxccAdifCode& a, const DxccAdifCode& b) { return a.code <= b.code; });
}
static_assert(AscendsByCode(), "the code table must ascend by code, each code once");

// Every record of an ADIF log is looked up: a table indexed by code.
constexpr int kHighestCode = std::end(kDxccAdifCodes)[-1].code;
constexpr auto kKeyOfCode = [] {
    std::array<std::string_view, kHighestCode + 1> keys{};
    for (const DxccAdifCode& entry : kDxccAdifCodes)
        keys[static_cast<std::size_t>(entry.code)] = entry.key;
    return keys;
}();

}  // namespace

std::string_view DxccKeyOfAdifCode(long code) {
    if (code < 0 || code > kHighestCode)
        return {};
    return kKeyOfCode[static_cast<std::size_t>(code)];
}

}  // namespace corvale
