#include "awards/AwardRun.h"

#include <optional>
#include <string>
#include <utility>

#include "awards/AwardEntities.h"
#include "awards/AwardRules.h"
#include "awards/OutputFile.h"
#include "logdb/DbError.h"

namespace corvale {

std::string_view AwardName(Award award) {
    return RulesFor(award).name;
}
std::string_view DefaultLstName(Award award) {
    return RulesFor(award).lstName;
}
std::string_view AwardSortText(Award award) {
    return RulesFor(award).sortText;
}
bool AwardHasSquares(Award award) {
    return RulesFor(award).squares != SquaresKind::None;
}
bool AwardHasUniverse(Award award) {
    return !RulesFor(award).universe().empty();
}

QsoColumnSet AwardColumnsRead(Award award) {
    return RulesFor(award).columns;
}

QsoColumnSet AwardColumnsRead() {
    return {QsoColumn::Date,    QsoColumn::Prefix, QsoColumn::Band,
            QsoColumn::State,   QsoColumn::Iota,   QsoColumn::Grid,
            QsoColumn::Confirm, QsoColumn::Valid,  QsoColumn::Sat};
}

std::string_view VuccBandCode(int megahertz) {
    switch (megahertz) {
        case 50:
            return "1";
        case 144:
            return "0";
        case 222:
            return "11";
        case 432:
            return "12";
        default:
            return {};
    }
}

namespace {

std::string_view StatusCode(PinStatus status) {
    return status == PinStatus::Confirmed ? "02" : "01";
}

// Closes the record set however the run ends, so that the next run opens it with its own sort.
class CloseOnExit {
  public:
    explicit CloseOnExit(CSRC2006QSO& set) : set_(set) {}
    ~CloseOnExit() { set_.Close(); }
    CloseOnExit(const CloseOnExit&) = delete;
    CloseOnExit& operator=(const CloseOnExit&) = delete;

  private:
    CSRC2006QSO& set_;
};

// One walk over the sorted record set. It sees only the records that the award accepts: a
// record that the award rejects neither opens, closes nor separates a group, so the look-ahead
// reads the next accepted record.
class Walk {
  public:
    Walk(const AwardRules& rules, const RunRequest& request, CSRC2006QSO& set,
         RunObserver& observer, OutputTransaction& files)
        : rules_(rules), request_(request), set_(set), observer_(observer), entities_(rules) {
        pins_ = &files.Create(request.lstPath);
        if (request.squares && rules.squares != SquaresKind::None) {
            worked_ = &files.Create(request.wkdPath);
            confirmed_ = &files.Create(request.cfmPath);
        }
    }

    RunResult Run() {
        if (!set_.IsOpen() && !OpenLog()) {
            result_.stopped = true;
            return std::move(result_);
        }
        CloseOnExit closer(set_);
        result_.logWarnings = set_.LogWarnings();
        if (!set_.IsEOF() && !set_.IsBOF())
            set_.MoveFirst();
        count_ = set_.GetRecordCount();
        // Every record is read once: the look-ahead of an accepted record stops at the next
        // accepted record, which is then the record at hand. The observer still hears of every
        // record, in order, after the record's own work.
        bool lookedAhead = false;  // the record at hand is one that the look-ahead accepted
        while (!set_.IsEOF() && !set_.IsBOF()) {
            const std::size_t position = set_.GetAbsolutePosition();
            if (!lookedAhead && !IsAccepted()) {
                if (Reported(position))
                    break;
                set_.MoveNext();
                continue;
            }
            const std::size_t next = TakeRecord();
            lookedAhead = true;
            bool stopped = false;
            for (std::size_t p = position; p < next && !stopped; ++p)
                stopped = Reported(p);
            if (stopped)
                break;
        }
        if (!result_.stopped)
            result_.entities = entities_.Finish();
        return std::move(result_);
    }

  private:
    // Reads the log with the award's sort and columns; false when the observer stopped it.
    bool OpenLog() {
        set_.m_strSort = std::string(rules_.sortText);
        set_.m_columnsRead = rules_.columns;
        try {
            set_.Open([this](std::size_t rows) {
                observer_.OnRowsRead(rows);
                return !observer_.StopRequested();
            });
        } catch (const DbError&) {
            if (observer_.StopRequested())
                return false;
            throw;
        }
        return true;
    }

    std::string_view Key() { return RecordKey(rules_, set_); }

    bool IsAccepted() { return !Key().empty() && rules_.accepts(set_, request_); }

    // Tells the observer that the record at `position` is done; true when it asks to stop.
    bool Reported(std::size_t position) {
        observer_.OnRecord(result_.counters, position, count_);
        if (!observer_.StopRequested())
            return false;
        result_.stopped = true;
        return true;
    }

    // Takes the accepted record at hand and leaves the cursor on the next accepted record (or
    // at the end); returns that record's position. The group closes when the next key differs.
    std::size_t TakeRecord() {
        // Both keys view the rows the set walks, which stay while it is open.
        const std::string_view key = Key();
        if (RecordConfirms(rules_, set_))
            status_ = PinStatus::Confirmed;
        ++groupContacts_;
        const std::int32_t lastValid = set_.m_QSO_VALID;
        do {
            set_.MoveNext();
        } while (!set_.IsEOF() && !IsAccepted());
        const std::string_view next = set_.IsEOF() ? std::string_view() : Key();
        if (rules_.squares == SquaresKind::SquaresAndFields)
            FieldStep(key, next);
        if (next != key)
            CloseGroup(key, lastValid);
        return set_.IsEOF() ? count_ : set_.GetAbsolutePosition();
    }

    // A field (the first two characters of the square) is confirmed when any of its squares
    // is; it is written when its last square has been walked, before that square's own line.
    void FieldStep(std::string_view key, std::string_view next) {
        const std::string_view field = key.substr(0, 2);
        const std::string_view nextField = next.substr(0, 2);
        if (nextField == field) {
            if (status_ == PinStatus::Confirmed)
                fieldConfirmed_ = true;
            return;
        }
        if (worked_ != nullptr) {
            bool workedOnly = status_ == PinStatus::WorkedOnly && !fieldConfirmed_;
            (workedOnly ? worked_ : confirmed_)->WriteLine(field);
        }
        fieldConfirmed_ = false;
    }

    void CloseGroup(std::string_view key, std::int32_t lastValid) {
        const PinStatus status = status_;
        status_ = PinStatus::WorkedOnly;
        const std::size_t contacts = std::exchange(groupContacts_, 0);
        std::string diagnostics;
        const std::optional<std::string> coordinate = rules_.locate(key, &diagnostics);
        if (!diagnostics.empty())
            observer_.OnDiagnostics(diagnostics);
        if (status == PinStatus::WorkedOnly && rules_.workedTest && lastValid == 0) {
            entities_.LeftOut(key, contacts);
            return;
        }
        entities_.Pinned(key, status, coordinate, contacts);

        AwardCounters& counters = result_.counters;
        ++counters.total;
        ++(status == PinStatus::Confirmed ? counters.confirmed : counters.workedOnly);
        WriteSquare(key, status);

        const std::string_view coordinateText = coordinate ? *coordinate : std::string_view{};
        std::string line;
        line.reserve(2 + coordinateText.size() + key.size() + 2);
        line.append(StatusCode(status)).append(coordinateText).append("|").append(key).append("|");
        // A pin without a position would sit at a stale or meaningless place on the map, so
        // it is listed and reported but not written.
        if (coordinate) {
            pins_->WriteLine(line);
        } else {
            result_.unplaced.emplace_back(key);
        }
        observer_.OnPin({status, key, coordinateText, line});
    }

    void WriteSquare(std::string_view key, PinStatus status) {
        if (worked_ == nullptr)
            return;
        // DX Atlas shades a whole field for a two-character line; FFMA counts squares only.
        if (rules_.squares == SquaresKind::Squares && key.size() != 4)
            return;
        (status == PinStatus::Confirmed ? confirmed_ : worked_)->WriteLine(key);
    }

    const AwardRules& rules_;
    const RunRequest& request_;
    CSRC2006QSO& set_;
    RunObserver& observer_;
    OutputFile* pins_ = nullptr;
    OutputFile* worked_ = nullptr;
    OutputFile* confirmed_ = nullptr;
    PinStatus status_ = PinStatus::WorkedOnly;
    bool fieldConfirmed_ = false;
    std::size_t groupContacts_ = 0;  // accepted records of the open group
    std::size_t count_ = 0;
    AwardEntities entities_;
    RunResult result_;
};

}  // namespace

RunResult RunAward(const RunRequest& request, CSRC2006QSO& qsoSet, RunObserver& observer,
                   OutputTransaction& files) {
    return Walk(RulesFor(request.award), request, qsoSet, observer, files).Run();
}

RunResult RunAward(const RunRequest& request, CSRC2006QSO& qsoSet, RunObserver& observer) {
    OutputTransaction files;
    RunResult result = RunAward(request, qsoSet, observer, files);
    if (!result.stopped)
        files.Commit();
    return result;
}

}  // namespace corvale
