#include "geo/DxccAdifCodes.h"

#include <algorithm>
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

}  // namespace

std::string_view DxccKeyOfAdifCode(long code) {
    const auto found = std::lower_bound(
        std::begin(kDxccAdifCodes), std::end(kDxccAdifCodes), code,
        [](const DxccAdifCode& entry, long wanted) { return entry.code < wanted; });
    if (found == std::end(kDxccAdifCodes) || found->code != code)
        return {};
    return found->key;
}

}  // namespace corvale
