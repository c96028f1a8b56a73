#include "logdb/AdifLog.h"

#include <algorithm>
#include <charconv>
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

std::string BandCode(std::string_view band, std::string_view freq) {
    if (!band.empty()) {
        std::string lower(band);
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

std::string Upper(std::string_view text) {
    std::string upper(text);
    AsciiUpper(upper);
    return upper;
}

// The squares of VUCC_GRIDS (each trimmed, upper-cased, cut to four characters, empty ones
// skipped), then the first four characters of the grid, each once. Nothing when VUCC_GRIDS
// names no square.
std::vector<std::string> VuccSquares(std::string_view vuccGrids, std::string_view grid) {
    std::vector<std::string> squares;
    const auto add = [&squares](std::string_view entry) {
        std::string square = Upper(TrimBlanks(entry).substr(0, 4));
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
    if (squares.empty())
        return squares;
    add(grid);
    return squares;
}

}  // namespace

AdifField ClassifyField(std::string_view name) {
    // Every field of every record is classified: the length and the first letter rule out all
    // names but one or two before any text is compared.
    if (name.empty())
        return AdifField::Other;
    const char first = name[0] >= 'a' && name[0] <= 'z' ? static_cast<char>(name[0] - 32) : name[0];
    for (std::size_t i = 0; i < kFieldNames.size(); ++i) {
        const std::string_view candidate = kFieldNames[i];
        if (candidate.size() == name.size() && candidate[0] == first &&
            EqualsIgnoringAsciiCase(name, candidate))
            return static_cast<AdifField>(i);
    }
    if (first == 'A' && StartsWithIgnoringAsciiCase(name, "APP_LoTW_"))
        return AdifField::LotwApp;
    return AdifField::Other;
}

AdifLog::AdifLog(std::string path, QsoColumnSet columns, const LogReadOptions& options,
                 const QsoTable::ReadProgress& progress)
    : path_(std::move(path)), options_(options), progress_(progress), rows_(columns) {}

AdifLog::~AdifLog() = default;

void FailLog(std::string_view path, std::string_view reason) {
    ThrowLogError(path, reason);
}

void AdifLog::Fail(std::string_view reason) const {
    FailLog(path_, reason);
}

void AdifLog::Field(AdifField field, std::string_view value) {
    ++fieldsSinceEnd_;
    if (field == AdifField::LotwApp) {
        lotwApp_ = true;
    } else if (field != AdifField::Other) {
        std::string& kept = values_[static_cast<std::size_t>(field)];
        kept.assign(TrimBlanks(value));
        MakeUtf8(kept);
    }
}

void AdifLog::Clear() {
    for (std::string& value : values_)
        value.clear();
    fieldsSinceEnd_ = 0;
    lotwApp_ = false;
}

void AdifLog::EndOfHeader() {
    if (recordEnded_)
        return;  // the file has no header; a late <EOH> means nothing
    const std::string& program = Value(AdifField::ProgramId);
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
    if (!countryFile_)
        countryFile_.emplace(options_.countryFile, report_.countryFileProblem);
    const std::string_view key =
        DxccKeyOfAdifCode(countryFile_->EntityCode(Value(AdifField::Call)));
    if (!key.empty())
        ++report_.entitiesFromCalls;
    return key;
}

std::string_view AdifLog::ConfirmCode() const {
    const ConfirmationSources& sources = options_.confirmations;
    const std::string& qslRcvd = Value(AdifField::QslRcvd);
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
    const std::size_t number = ++report_.records;
    const std::string_view prefix = EntityKey();
    if (Value(AdifField::QsoDate).empty())
        report_.withoutDate.push_back(number);
    if (prefix.empty())
        report_.withoutEntity.push_back(number);

    std::string iota = Upper(Value(AdifField::Iota));
    iota.erase(std::remove(iota.begin(), iota.end(), '-'), iota.end());
    const std::string state = Upper(Value(AdifField::State));
    const std::string band = BandCode(Value(AdifField::Band), Value(AdifField::Freq));
    const std::string& satName = Value(AdifField::SatName);
    const bool satellite = EqualsIgnoringAsciiCase(Value(AdifField::PropMode), "SAT");
    const std::string_view sat = !satellite && satName.empty() ? "None"sv
                                 : satName.empty()             ? "SAT"sv
                                                               : satName;
    const std::string_view confirm = ConfirmCode();

    std::vector<std::string> grids =
        VuccSquares(Value(AdifField::VuccGrids), Value(AdifField::GridSquare));
    if (grids.empty())
        grids.push_back(Upper(Value(AdifField::GridSquare)));
    for (const std::string& grid : grids) {
        rows_.AddRow()
            .Set(QsoColumn::Date, Value(AdifField::QsoDate))
            .Set(QsoColumn::Time, Value(AdifField::TimeOn))
            .Set(QsoColumn::Call, Value(AdifField::Call))
            .Set(QsoColumn::Name, Value(AdifField::Name))
            .Set(QsoColumn::Prefix, prefix)
            .Set(QsoColumn::Mode, Value(AdifField::Mode))
            .Set(QsoColumn::Freq, Value(AdifField::Freq))
            .Set(QsoColumn::Band, band)
            .Set(QsoColumn::State, state)
            .Set(QsoColumn::Iota, iota)
            .Set(QsoColumn::Grid, grid)
            .Set(QsoColumn::Confirm, confirm)
            .Set(QsoColumn::Valid, std::int32_t{1})
            .Set(QsoColumn::Sat, sat);
    }
    report_.rows += grids.size();
    if (progress_ && number % kRecordsPerReport == 0 && !progress_(number))
        throw DbError("Reading the log \"" + path_ + "\" was cancelled.");
}

std::shared_ptr<const QsoTable> AdifLog::Finish(AdifReadReport* report) {
    if (progress_ && !progress_(report_.records))
        throw DbError("Reading the log \"" + path_ + "\" was cancelled.");
    if (report != nullptr)
        *report = report_;
    return rows_.Build();
}

}  // namespace corvale::logdb_detail
