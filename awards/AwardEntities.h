#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "awards/AwardRun.h"

namespace corvale {

struct AwardRules;

// Gathers the groups of one walk and completes them with the award's universe into the run
// result's entities.
class AwardEntities {
  public:
    explicit AwardEntities(const AwardRules& rules) : rules_(rules) {}

    // A group that the walk pinned, with its pin coordinate string (none without a position).
    void Pinned(std::string_view key, PinStatus status,
                const std::optional<std::string>& coordinate, std::size_t contacts);
    // A group that the worked test left out: needed when the universe holds it, else dropped.
    void LeftOut(std::string_view key, std::size_t contacts);

    // Every entity of the universe and every pinned entity outside it, by ascending key.
    std::vector<AwardEntity> Finish();

  private:
    const AwardRules& rules_;
    std::vector<AwardEntity> walked_;
};

}  // namespace corvale
