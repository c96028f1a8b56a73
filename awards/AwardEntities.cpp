#include "awards/AwardEntities.h"

#include <algorithm>

#include "awards/AwardRules.h"

namespace corvale {

namespace {

// Confirmed outranks worked, worked outranks needed.
int Rank(EntityStatus status) {
    switch (status) {
        case EntityStatus::Confirmed:
            return 2;
        case EntityStatus::Worked:
            return 1;
        case EntityStatus::Needed:
            break;
    }
    return 0;
}

std::optional<PinPosition> PositionOf(const std::optional<std::string>& coordinate) {
    return coordinate ? ParsePinCoordinate(*coordinate) : std::nullopt;
}

// A log walked in an order of its own may close one key's group more than once: the groups of
// one key become one entity.
std::vector<AwardEntity> MergedByKey(std::vector<AwardEntity> walked) {
    std::ranges::stable_sort(walked, {}, &AwardEntity::key);
    std::vector<AwardEntity> merged;
    for (AwardEntity& entity : walked) {
        if (merged.empty() || merged.back().key != entity.key) {
            merged.push_back(std::move(entity));
            continue;
        }
        AwardEntity& kept = merged.back();
        kept.contacts += entity.contacts;
        if (Rank(entity.status) > Rank(kept.status))
            kept.status = entity.status;
        if (!kept.position)
            kept.position = entity.position;
    }
    return merged;
}

}  // namespace

void AwardEntities::Pinned(std::string_view key, PinStatus status,
                           const std::optional<std::string>& coordinate, std::size_t contacts) {
    const EntityStatus entityStatus =
        status == PinStatus::Confirmed ? EntityStatus::Confirmed : EntityStatus::Worked;
    walked_.push_back({std::string(key), {}, entityStatus, PositionOf(coordinate), contacts});
}

void AwardEntities::LeftOut(std::string_view key, std::size_t contacts) {
    walked_.push_back({std::string(key), {}, EntityStatus::Needed, std::nullopt, contacts});
}

std::vector<AwardEntity> AwardEntities::Finish() {
    const std::vector<AwardEntity> walked = MergedByKey(std::move(walked_));
    walked_.clear();
    const std::span<const UniverseEntity> universe = rules_.universe();
    std::vector<AwardEntity> entities;
    entities.reserve(universe.size() + walked.size());
    auto next = walked.begin();
    // Pinned groups outside the universe keep their place by key; left-out ones are dropped.
    const auto takeOutsideBefore = [&](std::optional<std::string_view> key) {
        for (; next != walked.end() && (!key || next->key < *key); ++next) {
            if (next->status != EntityStatus::Needed)
                entities.push_back(*next);
        }
    };
    for (const UniverseEntity& member : universe) {
        takeOutsideBefore(member.key);
        AwardEntity entity{std::string(member.key), member.name, EntityStatus::Needed,
                           PositionOf(rules_.locate(member.key, nullptr)), 0};
        if (next != walked.end() && next->key == member.key) {
            entity.status = next->status;
            entity.contacts = next->contacts;
            ++next;
        }
        entities.push_back(std::move(entity));
    }
    takeOutsideBefore(std::nullopt);
    return entities;
}

}  // namespace corvale
