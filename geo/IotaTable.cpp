#include "geo/IotaTable.h"

#include <iterator>

#include "geo/KeyedLookup.h"

namespace corvale {
namespace {

#include "geo/IotaIslandData.inc"

static_assert(HasAscendingUniqueKeys(kIotaIslands));
static_assert(std::size(kIotaIslands) == 1169);
static_assert(HasAscendingUniqueKeys(std::span<const std::string_view>(kIotaExclusions)));
constexpr ShortKeySet<std::size(kIotaExclusions)> kIotaExclusionSet{kIotaExclusions};

}  // namespace

std::span<const KeyedCoordinate> IotaIslandTable() {
    return kIotaIslands;
}

std::span<const std::string_view> IotaExclusionList() {
    return kIotaExclusions;
}

std::optional<std::string_view> FindIotaCoordinate(std::string_view reference) {
    return FindKeyedCoordinate(kIotaIslands, reference);
}

bool IsExcludedIotaReference(std::string_view reference) {
    return kIotaExclusionSet.Contains(reference);
}

}  // namespace corvale
