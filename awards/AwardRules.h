#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "awards/AwardRun.h"
#include "awards/AwardUniverse.h"
#include "logdb/CSRC2006QSO.h"

namespace corvale {

// What the squares files of an award receive.
enum class SquaresKind {
    None,              // WAS, DXCC, IOTA: no squares files
    Squares,           // FFMA: four-character squares
    SquaresAndFields,  // VUCC: squares, and each field when it is complete
};

// Everything in which one award's run differs from another's: data plus small hooks. The walk
// (AwardRun.cpp) is the same for all five.
struct AwardRules {
    Award award;
    std::string_view name;
    std::string_view lstName;
    std::string_view sortText;
    QsoColumnSet columns;                      // every column that the run reads
    std::string_view CSRC2006QSO::*keyMember;  // the member of the key column
    std::size_t keyLength;  // the key is at most this many characters of the column; 0: all

    // The record filter beyond a non-empty key.
    bool (*accepts)(const CSRC2006QSO& record, const RunRequest& request);

    // Confirmation: [QSO-CONFIRM] is one of the codes and [QSO-VALID] lies in minValid..3.
    std::span<const std::string_view> confirmCodes;
    std::int32_t minValid;

    // A worked-only group is pinned only when [QSO-VALID] of its last record is not 0.
    bool workedTest;

    // The pin coordinate string of a key; nothing when it has no map position. Locator
    // conversions append their diagnostic lines to `diagnostics`.
    std::optional<std::string> (*locate)(std::string_view key, std::string* diagnostics);

    SquaresKind squares;

    // Every entity that the award counts, worked or not; empty when there is no fixed set.
    std::span<const UniverseEntity> (*universe)();
};

const AwardRules& RulesFor(Award award);

// The key of the record at hand: the key column, cut to the award's key length.
inline std::string_view RecordKey(const AwardRules& rules, const CSRC2006QSO& record) {
    const std::string_view text = record.*rules.keyMember;
    return rules.keyLength == 0 ? text : text.substr(0, rules.keyLength);
}
// Whether the record at hand confirms its entity for the award.
bool RecordConfirms(const AwardRules& rules, const CSRC2006QSO& record);

}  // namespace corvale
