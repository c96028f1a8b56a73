#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "geo/PinCoordinate.h"
#include "logdb/CSRC2006QSO.h"
#include "logdb/QsoColumn.h"

namespace corvale {

enum class Award { Ffma, Was, Dxcc, Iota, Vucc };

inline constexpr Award kAllAwards[] = {Award::Was, Award::Dxcc, Award::Iota, Award::Vucc,
                                       Award::Ffma};

std::string_view AwardName(Award award);       // "WAS"
std::string_view DefaultLstName(Award award);  // "WASpins.lst"
std::string_view AwardSortText(Award award);   // "[QSO-STATE]"
bool AwardHasSquares(Award award);             // VUCC and FFMA: the entities are grid squares
bool AwardHasUniverse(Award award);            // a fixed set of entities: all but VUCC
// The columns that one award's run reads, and the nine that the five runs read together.
QsoColumnSet AwardColumnsRead(Award award);
QsoColumnSet AwardColumnsRead();

// The VUCC band codes of DXBase, by band in MHz (50 -> "1", 144 -> "0", 222 -> "11", 432 -> "12").
std::string_view VuccBandCode(int megahertz);

enum class PinStatus { WorkedOnly, Confirmed };  // "01", "02"

struct AwardCounters {
    long total = 0;
    long workedOnly = 0;
    long confirmed = 0;
};

struct RunRequest {
    Award award = Award::Was;
    std::string lstPath;
    bool squares = false;  // VUCC and FFMA: also write the squares files
    std::string wkdPath;
    std::string cfmPath;
    std::string vuccBand = "1";  // a DXBase band code
};

// One pinned entity as the run closes its group.
struct PinEvent {
    PinStatus status;
    std::string_view label;       // the key as the log holds it
    std::string_view coordinate;  // pin coordinate string; empty when it has no map position
    std::string_view line;        // the listed line: status, coordinate, "|", label, "|"
};

// Watches a run: the desktop form, the command line and the tests each their own way.
class RunObserver {
  public:
    virtual ~RunObserver() = default;
    // Now and then while the run reads the log itself (a record set that was not open yet).
    virtual void OnRowsRead(std::size_t /*rows*/) {}
    // In the order in which the walk closes the groups.
    virtual void OnPin(const PinEvent& /*pin*/) {}
    // After every record of the walk: the counters so far, the record's 0-based position in
    // the walk and the number of records.
    virtual void OnRecord(const AwardCounters& /*counters*/, std::size_t /*position*/,
                          std::size_t /*count*/) {}
    // The two diagnostic lines of each locator conversion (VUCC and FFMA).
    virtual void OnDiagnostics(std::string_view /*lines*/) {}
    // Asked after every record, and while the log is read; true ends the run at once and
    // leaves every file as it was.
    virtual bool StopRequested() { return false; }
};

// Where an entity stands after a run: pinned "02", pinned "01", or in the award's universe and
// not pinned (never worked, or its group failed the worked test).
enum class EntityStatus { Confirmed, Worked, Needed };

struct AwardEntity {
    std::string key;        // as the log holds it, or as the universe names it
    std::string_view name;  // a built-in table's name; empty when none is known
    EntityStatus status;
    std::optional<PinPosition> position;  // none when the entity has no map position
    std::size_t contacts = 0;             // the contacts that the walk accepted for it
};

// What one run found: the one result that the summaries, the needed lists and the exports read.
struct RunResult {
    AwardCounters counters;
    std::vector<std::string> unplaced;     // labels pinned without a map position, in walk order
    std::vector<std::string> logWarnings;  // of the read of the log (CSRC2006QSO::LogWarnings)
    // Every entity of the award's universe and every entity pinned outside it, in ascending
    // byte order of the keys.
    std::vector<AwardEntity> entities;
    bool stopped = false;  // the observer stopped the run; no file changed
};

// A file that could not be written; what() names the path and the reason.
class RunError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class OutputTransaction;

// Runs one award over the QSO record set. When `qsoSet` is not open it is opened with the
// award's sort (reading the log named by its GetDefaultDBName()); when it is open it is walked
// in the order it has. The record set is closed at the end. The output files are written beside
// their final paths and replace them only when the walk completes, so a failed or stopped run
// changes no file. Throws DbError or RunError.
RunResult RunAward(const RunRequest& request, CSRC2006QSO& qsoSet, RunObserver& observer);

// The same, but the files join `files` and replace the old ones only when the caller commits
// it: several runs then change their files together or not at all.
RunResult RunAward(const RunRequest& request, CSRC2006QSO& qsoSet, RunObserver& observer,
                   OutputTransaction& files);

}  // namespace corvale
