#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "awards/AwardRun.h"
#include "logdb/QsoTable.h"

namespace corvale::test {

// One contact with the columns that the award runs read.
struct Qso {
    std::string prefix;
    std::string state;
    std::string iota;
    std::string grid;
    std::string band;
    std::string date = "20200101";
    std::string sat;
    std::string confirm;
    std::int32_t valid = 1;
};

// Contacts of each kind: a US state, a DXCC prefix, an IOTA reference, a grid square.
inline Qso Us(std::string prefix, std::string state, std::string confirm, int valid) {
    return Qso{.prefix = std::move(prefix),
               .state = std::move(state),
               .confirm = std::move(confirm),
               .valid = valid};
}
inline Qso Dx(std::string prefix, std::string confirm, int valid) {
    return Qso{.prefix = std::move(prefix), .confirm = std::move(confirm), .valid = valid};
}
inline Qso Island(std::string ref, std::string confirm, int valid) {
    return Qso{.iota = std::move(ref), .confirm = std::move(confirm), .valid = valid};
}
inline Qso Grid(std::string grid, std::string confirm, int valid, std::string band = "1",
                std::string date = "20200101", std::string sat = "None") {
    return Qso{.grid = std::move(grid),
               .band = std::move(band),
               .date = std::move(date),
               .sat = std::move(sat),
               .confirm = std::move(confirm),
               .valid = valid};
}

std::shared_ptr<const QsoTable> MakeTable(const std::vector<Qso>& log);

// Everything a run reported, in order.
struct RecordedRun {
    std::vector<std::string> confirmedList;
    std::vector<std::string> workedOnlyList;
    std::vector<std::string> unplaced;
    AwardCounters counters;
    std::size_t records = 0;
    std::string diagnostics;
    std::vector<AwardEntity> entities;
};

// Runs `request` over the log, sorted as the award sorts it.
RecordedRun RunLog(const RunRequest& request, const std::vector<Qso>& log);

}  // namespace corvale::test
