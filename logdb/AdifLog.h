#pragma once

// Internal to logdb: what the two ADIF parsers (.adi and .adx) share. Each parser meets the
// fields, the end of the header and the ends of records in file order and hands them to an
// AdifLog, which turns each record into QSO rows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logdb/AdifText.h"
#include "logdb/CountryFile.h"
#include "logdb/LogReadOptions.h"
#include "logdb/QsoTable.h"

namespace corvale::logdb_detail {

// The fields that give a QSO row something, and the header's.
enum class AdifField : std::uint8_t {
    Call,
    QsoDate,
    TimeOn,
    Mode,
    Freq,
    Name,
    Dxcc,
    State,
    Iota,
    GridSquare,
    VuccGrids,
    Band,
    PropMode,
    SatName,
    QslRcvd,
    LotwQslRcvd,
    EqslQslRcvd,
    QslSent,
    ProgramId,
    LotwApp,  // any APP_LoTW_ field: in the header, the mark of a LoTW report
    Other,
};
inline constexpr std::size_t kKeptAdifFields = static_cast<std::size_t>(AdifField::LotwApp);

// The field of a name, compared without case.
AdifField ClassifyField(std::string_view name);

class AdifLog {
  public:
    AdifLog(std::string path, QsoColumnSet columns, const LogReadOptions& options,
            const QsoTable::ReadProgress& progress);
    // A log for the records of a later part of the same file, read on a thread of its own: the
    // header that `first` has read holds for them. `progress` only says whether to go on.
    AdifLog(const AdifLog& first, const QsoTable::ReadProgress& progress);
    ~AdifLog();
    AdifLog(const AdifLog&) = delete;
    AdifLog& operator=(const AdifLog&) = delete;

    // Whether the value of a field is wanted: the fields of the columns read, and those that
    // every record needs (date, entity, squares, the header's program). A parser passes over
    // the value of any other field unseen.
    bool Keeps(AdifField field) const {
        return field < AdifField::LotwApp && keeps_[static_cast<std::size_t>(field)];
    }
    // A field's value as the file holds it (trimmed here). The last of a repeated field holds.
    // The value of a field not kept is not looked at.
    void Field(AdifField field, std::string_view value) {
        if (Counts(field))
            Copy(static_cast<std::size_t>(field), TrimBlanks(value));
    }
    // The same for a value whose bytes stay where they are until KeepViews() or the end of the
    // record: the log holds a view of them instead of a copy.
    void FieldView(AdifField field, std::string_view value) {
        if (Counts(field)) {
            const auto index = static_cast<std::size_t>(field);
            values_[index] = TrimBlanks(value);
            present_ |= 1u << index;
            viewed_ |= 1u << index;
        }
    }
    // Copies the values held as views: the bytes they view are about to change.
    void KeepViews();
    // <EOH>: the fields so far were the header, unless a record has ended before.
    void EndOfHeader();
    // <EOR>: the fields since the last end make a record, when there is one.
    void EndOfRecord();
    // The end of the file (or <APP_LoTW_EOF>): a last record without <EOR> is kept when it has
    // a date.
    void EndOfFile();

    // Whether the fields met so far all belong to ended records (or the header): a part read
    // on its own from here starts as this log stands.
    bool BetweenRecords() const { return recordEnded_ && fieldsSinceEnd_ == 0; }
    // Takes over the rows and the counts of `part`, a log of the records that follow.
    void Append(AdifLog& part);

    // The number of the record being read, counting from 1, for messages.
    std::size_t RecordNumber() const { return report_.records + 1; }
    const std::string& Path() const { return path_; }
    // Throws DbError: Cannot read the log "PATH": REASON.
    [[noreturn]] void Fail(std::string_view reason) const;

    std::shared_ptr<const QsoTable> Finish(AdifReadReport* report);

  private:
    enum class FileKind { Log, LotwReport, EqslInbox };

    std::string_view Value(AdifField field) const {
        return values_[static_cast<std::size_t>(field)];
    }
    // Counts a field of the record; true when its value is to be kept.
    bool Counts(AdifField field) {
        ++fieldsSinceEnd_;
        if (field == AdifField::LotwApp)
            lotwApp_ = true;
        return Keeps(field);
    }
    // Tells the progress callback the records read so far; throws DbError when it says stop.
    void ReportProgress() const;
    void Copy(std::size_t index, std::string_view value);
    void MakeValuesUtf8();
    void Clear();
    void MakeRows();
    std::string_view EntityKey();
    std::string_view ConfirmCode() const;

    std::string path_;
    QsoColumnSet columns_;
    LogReadOptions options_;
    QsoTable::ReadProgress progress_;
    QsoTableBuilder rows_;
    AdifReadReport report_;
    // The country file, read once when a call is first to be placed, for this log and the logs
    // of the later parts of the same file alike.
    struct SharedCountryFile {
        std::once_flag read;
        std::optional<CountryFile> file;
        std::string problem;  // why it could not be read
    };
    std::shared_ptr<SharedCountryFile> countryFile_;
    bool countryFileUsed_ = false;  // this log's report has heard of it

    FileKind kind_ = FileKind::Log;
    bool recordEnded_ = false;  // an <EOR> has been met
    std::size_t fieldsSinceEnd_ = 0;
    bool lotwApp_ = false;
    // The kept values of the record at hand (a bit set in present_ for each one met): views of
    // the file's bytes (a bit set in viewed_) or of owned_.
    std::array<std::string_view, kKeptAdifFields> values_;
    std::array<std::string, kKeptAdifFields> owned_;
    std::uint32_t present_ = 0;
    std::uint32_t viewed_ = 0;
    std::array<bool, kKeptAdifFields> keeps_{};
    // Scratch of MakeRows, kept to spare an allocation (or clearing a row) per record.
    std::string iota_, state_, band_;
    std::vector<std::string> grids_;
    std::array<std::string_view, kQsoColumnCount> row_{};
};

// Throws DbError: Cannot read the log "PATH": REASON.
[[noreturn]] void FailLog(std::string_view path, std::string_view reason);

// True when the first bytes of a file hold an ADIF tag (a field, <EOH>, <EOR> or
// <APP_LoTW_EOF>) with no NUL byte before it.
bool StartsLikeAdi(std::string_view head);

// The parsers. Each reads the open file `fd` from its start to its end; failures throw DbError
// through log.Fail.
void ParseAdi(int fd, std::uint64_t size, AdifLog& log);
void ParseAdx(int fd, AdifLog& log);

// Where the reading of part of an .adi file stopped: the offset after the last byte read, and
// whether that is the end of the file (or of its records, at <APP_LoTW_EOF>).
struct AdiStop {
    std::uint64_t offset = 0;
    bool fileEnded = false;
};
inline constexpr std::uint64_t kNoStop = ~std::uint64_t{0};

// Reads an .adi file from byte `from`, where the log stands between records, and stops after
// the first tag that starts at `stopFrom` or later and leaves the log between records; at the
// end of the file first, calls log.EndOfFile().
AdiStop ParseAdiPart(int fd, std::uint64_t size, std::uint64_t from, std::uint64_t stopFrom,
                     AdifLog& log);

// The offset just after the first "<EOR>" (in any case) at byte `from` or later, or the end of
// the file: where a record probably ends. Only a parse from the start can tell that it does.
std::uint64_t AfterEndOfRecordTag(int fd, std::uint64_t size, std::uint64_t from, AdifLog& log);

// Reads a whole .adi file as ParseAdi does, the parts that start at `splits` (ascending
// offsets) each on a thread of its own, and gives the same rows, counts and failures.
void ParseAdiInParts(int fd, std::uint64_t size, AdifLog& log,
                     std::span<const std::uint64_t> splits);

// Where to split a file of `size` bytes for ParseAdiInParts on this machine: none for a small
// file.
std::vector<std::uint64_t> AdiSplitPoints(std::uint64_t size);

}  // namespace corvale::logdb_detail
