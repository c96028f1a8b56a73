#include "geo/DxccEntityNames.h"

#include <iterator>

namespace corvale {
namespace {

#include "geo/DxccEntityNameData.inc"

static_assert(HasAscendingUniqueKeys(kDxccEntityNames));
static_assert(std::size(kDxccEntityNames) == 396);

}  // namespace

std::span<const KeyedName> DxccEntityNames() {
    return kDxccEntityNames;
}

std::optional<std::string_view> FindDxccEntityName(std::string_view prefix) {
    return FindKeyedName(kDxccEntityNames, prefix);
}

}  // namespace corvale
