#include "awards/AwardUniverse.h"

#include <vector>

#include "awards/FfmaSquares.h"
#include "awards/UsStateTable.h"
#include "geo/DxccEntityNames.h"
#include "geo/DxccTable.h"
#include "geo/IotaTable.h"

namespace corvale {

std::span<const UniverseEntity> WasUniverse() {
    static const std::vector<UniverseEntity> states = [] {
        std::vector<UniverseEntity> entities;
        for (const KeyedName& state : UsStateNames())
            entities.push_back({state.key, state.name});
        return entities;
    }();
    return states;
}

std::span<const UniverseEntity> DxccUniverse() {
    static const std::vector<UniverseEntity> counted = [] {
        std::vector<UniverseEntity> entities;
        for (const KeyedCoordinate& entry : DxccEntityTable()) {
            if (!IsExcludedDxccPrefix(entry.key))
                entities.push_back({entry.key, FindDxccEntityName(entry.key).value_or("")});
        }
        return entities;
    }();
    return counted;
}

std::span<const UniverseEntity> IotaUniverse() {
    static const std::vector<UniverseEntity> islands = [] {
        std::vector<UniverseEntity> entities;
        for (const KeyedCoordinate& entry : IotaIslandTable())
            entities.push_back({entry.key, {}});
        return entities;
    }();
    return islands;
}

std::span<const UniverseEntity> FfmaUniverse() {
    static const std::vector<UniverseEntity> squares = [] {
        std::vector<UniverseEntity> entities;
        for (const std::string& square : FfmaSquareList())
            entities.push_back({square, {}});
        return entities;
    }();
    return squares;
}

std::span<const UniverseEntity> NoUniverse() {
    return {};
}

}  // namespace corvale
