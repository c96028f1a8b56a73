#include "logdb/AdifLog.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstring>
#include <vector>

#include "geo/DxccAdifCodes.h"
#include "logdb/AdifText.h"
#include "logdb/DbError.h"
#include "logdb/MdbLog.h"
#include "shell/AsciiCase.h"

namespace corvale::logdb_detail {

namespace {

using namespace std::string_view_literals;

constexpr std::array<std::string_view, kKeptAdifFields> kFieldNames = {
    "CALL",          "QSO_DATE",      "TIME_ON",   "MODE",      "FREQ",
    "NAME",          "DXCC",          "STATE",     "IOTA",      "GRIDSQUARE",
    "VUCC_GRIDS",    "BAND",          "PROP_MODE", "SAT_NAME",  "QSL_RCVD",
    "LOTW_QSL_RCVD", "EQSL_QSL_RCVD", "QSL_SENT",  "PROGRAMID",
};

// The slot of a field name among 64: from its length, first and last letter, told apart
// without case (the & 0xDF folds a letter's case; other bytes lead to a slot whose name cannot
// compare equal).
constexpr std::size_t FieldSlot(std::string_view name) {
    const auto folded = [](char c) { return static_cast<std::size_t>(c) & 0xDF; };
    return (name.size() * 2 + folded(name.front()) * 10 + folded(name.back())) & 63;
}

constexpr std::array<std::uint8_t, 64> kFieldOfSlot = [] {
    std::array<std::uint8_t, 64> slots{};
    slots.fill(0xFF);
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        std::uint8_t& slot = slots[FieldSlot(kFieldNames[i])];
        if (slot != 0xFF)
            throw "two field names share a slot";  // fails the build
        slot = static_cast<std::uint8_t>(i);
    }
    return slots;
}();

// A field name compared without case a word at a time: the name's first and last 4 bytes (for
// a name shorter than 8) or 8 bytes, OR-ed with 0x20 where the field name has a letter (which
// folds a letter's case and nothing else), against the field name's bytes in lower case.
struct NamePattern {
    std::uint64_t first, last;          // the field name's words, its letters in lower case
    std::uint64_t foldFirst, foldLast;  // 0x20 in each byte that holds a letter
};

constexpr std::size_t WordWidth(std::size_t nameSize) {
    return nameSize < 8 ? 4 : 8;
}

constexpr std::uint64_t PatternWord(std::string_view name, std::size_t at, bool foldBits) {
    std::array<char, 8> bytes{};
    for (std::size_t i = 0; i < WordWidth(name.size()); ++i) {
        const char c = name[at + i];
        const bool letter = c >= 'A' && c <= 'Z';
        bytes[i] = static_cast<char>(foldBits ? (letter ? 0x20 : 0) : (letter ? c | 0x20 : c));
    }
    return std::bit_cast<std::uint64_t>(bytes);
}

constexpr std::array<NamePattern, kKeptAdifFields> kNamePatterns = [] {
    std::array<NamePattern, kKeptAdifFields> patterns{};
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        const std::string_view name = kFieldNames[i];
        const std::size_t last = name.size() - WordWidth(name.size());
        patterns[i] = {PatternWord(name, 0, false), PatternWord(name, last, false),
                       PatternWord(name, 0, true), PatternWord(name, last, true)};
    }
    return patterns;
}();

std::uint64_t LoadWord(const char* at, std::size_t width) {
    std::array<char, 8> bytes{};
    if (width == 8)
        std::memcpy(bytes.data(), at, 8);
    else
        std::memcpy(bytes.data(), at, 4);
    return std::bit_cast<std::uint64_t>(bytes);
}

// `name` has the size of the field's name.
bool MatchesFieldName(std::string_view name, AdifField field) {
    const NamePattern& pattern = kNamePatterns[static_cast<std::size_t>(field)];
    const std::size_t width = WordWidth(name.size());
    return (LoadWord(name.data(), width) | pattern.foldFirst) == pattern.first &&
           (LoadWord(name.data() + name.size() - width, width) | pattern.foldLast) == pattern.last;
}

// Records read between two progress callbacks.
constexpr std::size_t kRecordsPerReport = 4096;

bool IsYes(std::string_view value) {
    return value == "Y"sv || value == "y"sv;
}

bool IsYesOrVerified(std::string_view value) {
    return IsYes(value) || value == "V"sv || value == "v"sv;
}

bool IsDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// A decimal number in MHz: an optional sign, digits with an optional ".", at least one digit.
std::optional<double> Megahertz(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    const auto digitsOrEmpty = [](std::string_view part) { return part.empty() || IsDigits(part); };
    if (whole.size() + fraction.size() == 0 || !digitsOrEmpty(whole) || !digitsOrEmpty(fraction))
        return std::nullopt;
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return negative ? -value : value;
}

// The band's code in the log's terms; `lower` is scratch space for a band named in the file.
std::string_view BandCode(std::string_view band, std::string_view freq, std::string& lower) {
    if (!band.empty()) {
        lower.assign(band);
        for (char& c : lower)
            c = ToLowerAscii(c);
        if (lower == "6m")
            return "1";
        if (lower == "2m")
            return "0";
        if (lower == "1.25m")
            return "11";
        if (lower == "70cm")
            return "12";
        return lower;
    }
    const std::optional<double> mhz = Megahertz(freq);
    if (!mhz)
        return {};
    struct Range {
        double low, high;
        const char* code;
    };
    static constexpr Range kRanges[] = {
        {50, 54, "1"}, {144, 148, "0"}, {222, 225, "11"}, {420, 450, "12"}};
    for (const Range& range : kRanges) {
        if (*mhz >= range.low && *mhz <= range.high)
            return range.code;
    }
    return {};
}

void AssignUpper(std::string& upper, std::string_view text) {
    upper.assign(text);
    AsciiUpper(upper);
}

// The squares of VUCC_GRIDS (each trimmed, upper-cased, cut to four characters, empty ones
// skipped), then the first four characters of the grid, each once. Nothing when VUCC_GRIDS
// names no square.
void VuccSquares(std::string_view vuccGrids, std::string_view grid,
                 std::vector<std::string>& squares) {
    squares.clear();
    const auto add = [&squares](std::string_view entry) {
        std::string square(TrimBlanks(entry).substr(0, 4));
        AsciiUpper(square);
        if (!square.empty() && std::find(squares.begin(), squares.end(), square) == squares.end())
            squares.push_back(std::move(square));
    };
    while (true) {
        const std::size_t comma = vuccGrids.find(',');
        add(TrimBlanks(vuccGrids.substr(0, comma)));
        if (comma == std::string_view::npos)
            break;
        vuccGrids.remove_prefix(comma + 1);
    }
    if (!squares.empty())
        add(grid);
}

}  // namespace

AdifField ClassifyField(std::string_view name) {
    // Every field of every record is classified: its length, first and last letter lead to the
    // one name it can be, and only that one is compared.
    if (name.empty())
        return AdifField::Other;
    const std::size_t candidate = kFieldOfSlot[FieldSlot(name)];
    if (candidate < kFieldNames.size() && kFieldNames[candidate].size() == name.size() &&
        MatchesFieldName(name, static_cast<AdifField>(candidate)))
        return static_cast<AdifField>(candidate);
    if ((name.front() == 'A' || name.front() == 'a') &&
        StartsWithIgnoringAsciiCase(name, "APP_LoTW_"))
        return AdifField::LotwApp;
    return AdifField::Other;
}

AdifLog::AdifLog(std::string path, QsoColumnSet columns, const LogReadOptions& options,
                 const QsoTable::ReadProgress& progress)
    : path_(std::move(path)),
      columns_(columns),
      options_(options),
      progress_(progress),
      rows_(columns),
      countryFile_(std::make_shared<SharedCountryFile>()) {
    const auto keep = [this](AdifField field, bool kept) {
        keeps_[static_cast<std::size_t>(field)] = kept;
    };
    // Every record: its date, its entity (counted in the report), its squares (its rows).
    for (AdifField field : {AdifField::Call, AdifField::QsoDate, AdifField::Dxcc,
                            AdifField::GridSquare, AdifField::VuccGrids, AdifField::ProgramId})
        keep(field, true);
    keep(AdifField::TimeOn, columns.Has(QsoColumn::Time));
    keep(AdifField::Mode, columns.Has(QsoColumn::Mode));
    keep(AdifField::Freq, columns.Has(QsoColumn::Freq) || columns.Has(QsoColumn::Band));
    keep(AdifField::Name, columns.Has(QsoColumn::Name));
    keep(AdifField::State, columns.Has(QsoColumn::State));
    keep(AdifField::Iota, columns.Has(QsoColumn::Iota));
    keep(AdifField::Band, columns.Has(QsoColumn::Band));
    for (AdifField field : {AdifField::PropMode, AdifField::SatName})
        keep(field, columns.Has(QsoColumn::Sat));
    for (AdifField field :
         {AdifField::QslRcvd, AdifField::LotwQslRcvd, AdifField::EqslQslRcvd, AdifField::QslSent})
        keep(field, columns.Has(QsoColumn::Confirm));
}

AdifLog::AdifLog(const AdifLog& first, const QsoTable::ReadProgress& progress)
    : path_(first.path_),
      columns_(first.columns_),
      options_(first.options_),
      progress_(progress),
      rows_(first.columns_),
      countryFile_(first.countryFile_),
      kind_(first.kind_),
      recordEnded_(true),
      keeps_(first.keeps_) {}

AdifLog::~AdifLog() = default;

void AdifLog::Append(AdifLog& part) {
    const std::size_t before = report_.records;
    rows_.Append(part.rows_);
    const AdifReadReport& added = part.report_;
    report_.records += added.records;
    report_.rows += added.rows;
    report_.entitiesFromCalls += added.entitiesFromCalls;
    for (std::size_t number : added.withoutDate)
        report_.withoutDate.push_back(before + number);
    for (std::size_t number : added.withoutEntity)
        report_.withoutEntity.push_back(before + number);
    if (report_.countryFileProblem.empty())
        report_.countryFileProblem = added.countryFileProblem;
    ReportProgress();
}

void FailLog(std::string_view path, std::string_view reason) {
    ThrowLogError(path, reason);
}

void AdifLog::Fail(std::string_view reason) const {
    FailLog(path_, reason);
}

void AdifLog::Copy(std::size_t index, std::string_view value) {
    owned_[index].assign(value);
    values_[index] = owned_[index];
    present_ |= 1u << index;
    viewed_ &= ~(1u << index);
}

void AdifLog::KeepViews() {
    while (viewed_ != 0) {
        const auto index = static_cast<std::size_t>(std::countr_zero(viewed_));
        Copy(index, values_[index]);
    }
}

void AdifLog::MakeValuesUtf8() {
    for (std::uint32_t left = present_; left != 0; left &= left - 1) {
        const auto index = static_cast<std::size_t>(std::countr_zero(left));
        if (IsAscii(values_[index]))
            continue;
        Copy(index, values_[index]);
        MakeUtf8(owned_[index]);
        values_[index] = owned_[index];
    }
}

void AdifLog::Clear() {
    for (; present_ != 0; present_ &= present_ - 1)
        values_[static_cast<std::size_t>(std::countr_zero(present_))] = {};
    viewed_ = 0;
    fieldsSinceEnd_ = 0;
    lotwApp_ = false;
}

void AdifLog::EndOfHeader() {
    if (recordEnded_)
        return;  // the file has no header; a late <EOH> means nothing
    // Compared with ASCII only, which the conversion of a value to UTF-8 does not change.
    const std::string_view program = Value(AdifField::ProgramId);
    if (EqualsIgnoringAsciiCase(program, "LoTW") || lotwApp_)
        kind_ = FileKind::LotwReport;
    else if (StartsWithIgnoringAsciiCase(program, "eQSL.cc"))
        kind_ = FileKind::EqslInbox;
    Clear();
    recordEnded_ = true;  // only the first <EOH> ends a header
}

void AdifLog::EndOfRecord() {
    recordEnded_ = true;
    if (fieldsSinceEnd_ == 0)
        return;
    MakeRows();
    Clear();
}

void AdifLog::EndOfFile() {
    if (fieldsSinceEnd_ > 0 && !Value(AdifField::QsoDate).empty())
        MakeRows();
    Clear();
}

std::string_view AdifLog::EntityKey() {
    std::string_view dxcc = Value(AdifField::Dxcc);
    if (IsDigits(dxcc)) {
        dxcc.remove_prefix(std::min(dxcc.find_first_not_of('0'), dxcc.size()));
        if (!dxcc.empty()) {
            long code = 0;
            if (dxcc.size() > 6)
                return {};  // no such code
            std::from_chars(dxcc.data(), dxcc.data() + dxcc.size(), code);
            return DxccKeyOfAdifCode(code);
        }
    }
    // No usable DXCC field: the entity of the call.
    if (Value(AdifField::Call).empty())
        return {};
    SharedCountryFile& shared = *countryFile_;
    std::call_once(shared.read, [&] { shared.file.emplace(options_.countryFile, shared.problem); });
    if (!countryFileUsed_) {
        countryFileUsed_ = true;
        report_.countryFileProblem = shared.problem;
    }
    const std::string_view key = DxccKeyOfAdifCode(shared.file->EntityCode(Value(AdifField::Call)));
    if (!key.empty())
        ++report_.entitiesFromCalls;
    return key;
}

std::string_view AdifLog::ConfirmCode() const {
    const ConfirmationSources& sources = options_.confirmations;
    const std::string_view qslRcvd = Value(AdifField::QslRcvd);
    if (sources.card && kind_ != FileKind::LotwReport && IsYesOrVerified(qslRcvd))
        return "1";
    if (sources.lotw && (IsYesOrVerified(Value(AdifField::LotwQslRcvd)) ||
                         (kind_ == FileKind::LotwReport && IsYes(qslRcvd))))
        return "3";
    if (sources.eqsl && (IsYesOrVerified(Value(AdifField::EqslQslRcvd)) ||
                         (kind_ == FileKind::EqslInbox && IsYes(Value(AdifField::QslSent)))))
        return "2";
    return {};
}

void AdifLog::MakeRows() {
    MakeValuesUtf8();
    const std::size_t number = ++report_.records;
    const std::string_view prefix = EntityKey();
    if (Value(AdifField::QsoDate).empty())
        report_.withoutDate.push_back(number);
    if (prefix.empty())
        report_.withoutEntity.push_back(number);

    AssignUpper(iota_, Value(AdifField::Iota));
    iota_.erase(std::remove(iota_.begin(), iota_.end(), '-'), iota_.end());
    AssignUpper(state_, Value(AdifField::State));
    const std::string_view band = BandCode(Value(AdifField::Band), Value(AdifField::Freq), band_);
    const std::string_view satName = Value(AdifField::SatName);
    const bool satellite = EqualsIgnoringAsciiCase(Value(AdifField::PropMode), "SAT");
    const std::string_view sat = !satellite && satName.empty() ? "None"sv
                                 : satName.empty()             ? "SAT"sv
                                                               : satName;
    const std::string_view confirm = ConfirmCode();

    VuccSquares(Value(AdifField::VuccGrids), Value(AdifField::GridSquare), grids_);
    if (grids_.empty()) {
        grids_.emplace_back();
        AssignUpper(grids_.back(), Value(AdifField::GridSquare));
    }
    // Every record sets the same columns, so the row's other columns stay empty.
    const auto set = [this](QsoColumn column, std::string_view text) {
        row_[static_cast<std::size_t>(column)] = text;
    };
    set(QsoColumn::Date, Value(AdifField::QsoDate));
    set(QsoColumn::Time, Value(AdifField::TimeOn));
    set(QsoColumn::Call, Value(AdifField::Call));
    set(QsoColumn::Name, Value(AdifField::Name));
    set(QsoColumn::Prefix, prefix);
    set(QsoColumn::Mode, Value(AdifField::Mode));
    set(QsoColumn::Freq, Value(AdifField::Freq));
    set(QsoColumn::Band, band);
    set(QsoColumn::State, state_);
    set(QsoColumn::Iota, iota_);
    set(QsoColumn::Confirm, confirm);
    set(QsoColumn::Sat, sat);
    for (const std::string& grid : grids_) {
        set(QsoColumn::Grid, grid);
        rows_.AddRow(row_).Set(QsoColumn::Valid, std::int32_t{1});
    }
    report_.rows += grids_.size();
    if (number % kRecordsPerReport == 0)
        ReportProgress();
}

void AdifLog::ReportProgress() const {
    if (progress_ && !progress_(report_.records))
        throw DbError("Reading the log \"" + path_ + "\" was cancelled.");
}

std::shared_ptr<const QsoTable> AdifLog::Finish(AdifReadReport* report) {
    ReportProgress();
    if (report != nullptr)
        *report = report_;
    return rows_.Build();
}

}  // namespace corvale::logdb_detail
