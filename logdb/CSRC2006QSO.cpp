#include "logdb/CSRC2006QSO.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <stdexcept>
#include <utility>

#include "logdb/AdifReadSummary.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"
#include "logdb/MdbLog.h"

namespace corvale {

namespace {

using TextPointer = std::string_view CSRC2006QSO::*;
using LongPointer = std::int32_t CSRC2006QSO::*;

struct Member {
    TextPointer text = nullptr;
    LongPointer number = nullptr;
};

using C = CSRC2006QSO;
// The member bound to each column, in table order.
constexpr std::array<Member, kQsoColumnCount> kMembers{{
    {&C::m_QSO_DATE},
    {&C::m_QSO_TIME},
    {&C::m_QSO_CALL},
    {&C::m_QSO_RSTS},
    {&C::m_QSO_RSTR},
    {&C::m_QSO_NAME},
    {&C::m_QSO_QTH},
    {&C::m_QSO_NOTE},
    {&C::m_QSO_PREFIX},
    {&C::m_QSO_CQ_ZONE},
    {&C::m_QSO_ITU_ZONE},
    {&C::m_QSO_MODE},
    {&C::m_QSO_SUBMODE},
    {&C::m_QSO_FREQ},
    {&C::m_QSO_BAND},
    {&C::m_QSO_WPX},
    {&C::m_QSO_STATE},
    {&C::m_QSO_COUNTY},
    {&C::m_QSO_IOTA},
    {&C::m_QSO_GRID},
    {&C::m_QSO_TEN_TEN},
    {&C::m_QSO_SPEC1},
    {&C::m_QSO_SPEC2},
    {&C::m_QSO_CONFIRM},
    {&C::m_QSO_QSLS},
    {&C::m_QSO_QSL_SENT},
    {&C::m_QSO_QSL_VIA},
    {&C::m_QSO_MGR_NUMB},
    {nullptr, &C::m_QSO_VALID},
    {nullptr, &C::m_QSO_AWARD},
    {nullptr, &C::m_QSO_SELECT},
    {nullptr, &C::m_QSO_CATEGORY},
    {&C::m_QSO_SAT},
    {&C::m_QSO_QSL_NUMBER},
    {nullptr, &C::m_QSO_NUMBER},
    {&C::m_QSO_OPRCALL},
    {&C::m_QSO_QSLRDATE},
    {&C::m_QSO_POWER},
    {&C::m_QSO_LOTWREC},
    {&C::m_QSO_ENDTIME},
    {&C::m_QSO_SATMODE},
}};

const Member& MemberOf(QsoColumn column) {
    return kMembers[static_cast<std::size_t>(column)];
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Orders `order` stably by one column: a counting sort on the value indexes of a text column
// (which compare as the texts do), or a stable sort on the numbers of a long column (numeric
// order, as the database would sort it).
void StableOrderBy(const QsoTable& table, QsoColumn column, std::vector<std::uint32_t>& order) {
    if (ColumnInfo(column).isLong) {
        const std::span<const std::int32_t> numbers = table.Longs(column);
        std::stable_sort(order.begin(), order.end(), [numbers](std::uint32_t a, std::uint32_t b) {
            return numbers[a] < numbers[b];
        });
        return;
    }
    const std::span<const std::uint32_t> cells = table.TextCells(column);
    std::vector<std::size_t> start(table.TextValues(column).size() + 1, 0);
    for (std::uint32_t cell : cells)
        ++start[cell + 1];
    for (std::size_t r = 1; r < start.size(); ++r)
        start[r] += start[r - 1];
    std::vector<std::uint32_t> sorted(order.size());
    for (std::uint32_t row : order)
        sorted[start[cells[row]]++] = row;
    order.swap(sorted);
}

// The cells of a column, one per row of `order`, in that order.
template <typename Cell>
std::vector<Cell> InOrder(std::span<const Cell> cells, const std::vector<std::uint32_t>& order) {
    std::vector<Cell> gathered(order.size());
    std::transform(order.begin(), order.end(), gathered.begin(),
                   [cells](std::uint32_t row) { return cells[row]; });
    return gathered;
}

}  // namespace

CSRC2006QSO::CSRC2006QSO(std::string sourceMdb) : m_strSourceMdb(std::move(sourceMdb)) {}

void CSRC2006QSO::FailSort(const std::string& reason) const {
    if (!m_strSourceMdb.empty())
        logdb_detail::ThrowLogError(m_strSourceMdb, reason);
    throw DbError("Cannot sort the log: " + reason + ".");
}

// m_strSort: bracketed column names separated by commas, blanks allowed around each name;
// an empty (or blank) text keeps the table order. Column names compare without case, as Jet's.
std::vector<QsoColumn> CSRC2006QSO::SortColumns() const {
    const std::string_view sort = m_strSort;
    std::vector<QsoColumn> columns;
    if (std::all_of(sort.begin(), sort.end(), IsBlank))
        return columns;

    const std::string malformed =
        "the sort \"" + m_strSort + "\" is not a list of bracketed column names";
    std::size_t pos = 0;
    while (true) {
        while (pos < sort.size() && IsBlank(sort[pos]))
            ++pos;
        if (pos == sort.size() || sort[pos] != '[')
            FailSort(malformed);
        const std::size_t close = sort.find(']', pos + 1);
        if (close == std::string_view::npos)
            FailSort(malformed);
        const std::string_view name = sort.substr(pos + 1, close - pos - 1);
        const auto& all = QsoColumns();
        const auto found = std::find_if(all.begin(), all.end(), [&](const QsoColumnInfo& info) {
            return SameName(info.name, name);
        });
        if (found == all.end())
            FailSort("the sort \"" + m_strSort + "\" names the unknown column [" +
                     std::string(name) + "]");
        columns.push_back(static_cast<QsoColumn>(found - all.begin()));
        pos = close + 1;
        while (pos < sort.size() && IsBlank(sort[pos]))
            ++pos;
        if (pos == sort.size())
            break;
        if (sort[pos] != ',')
            FailSort(malformed);
        ++pos;
    }
    return columns;
}

void CSRC2006QSO::Open(const QsoTable::ReadProgress& progress) {
    // The sort is checked before the file is read, and its columns are read with the others.
    QsoColumnSet columns = m_columnsRead;
    for (QsoColumn column : SortColumns())
        columns.Add(column);
    const LogRead read = ReadLog(GetDefaultDBName(), columns, m_logOptions, progress);
    Open(read.table);
    if (read.format != LogFormat::Access)
        readSummary_ = AdifReadSummary(GetDefaultDBName(), read.adif);
}

void CSRC2006QSO::Open(std::shared_ptr<const QsoTable> rows) {
    if (!rows)
        throw std::invalid_argument("CSRC2006QSO::Open: no table");
    const std::vector<QsoColumn> sortColumns = SortColumns();
    for (QsoColumn column : sortColumns) {
        if (!rows->Columns().Has(column))
            FailSort("the sort \"" + m_strSort + "\" names the column [" +
                     std::string(ColumnInfo(column).name) + "], which was not read from the log");
    }

    std::vector<std::uint32_t> order(rows->RowCount());
    std::iota(order.begin(), order.end(), 0u);
    // Least significant column first: every pass is stable, so the result is ordered by the
    // first column, then the second, ..., and ties keep the table order.
    for (auto it = sortColumns.rbegin(); it != sortColumns.rend(); ++it)
        StableOrderBy(*rows, *it, order);

    Close();
    table_ = std::move(rows);
    recordCount_ = order.size();
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        const auto column = static_cast<QsoColumn>(c);
        if (!table_->Columns().Has(column) || !m_columnsRead.Has(column))
            continue;
        if (ColumnInfo(column).isLong) {
            boundLong_.push_back({MemberOf(column).number, InOrder(table_->Longs(column), order)});
        } else {
            boundText_.push_back({MemberOf(column).text, table_->TextValues(column),
                                  InOrder(table_->TextCells(column), order)});
        }
    }
    ClearAll();
    MoveFirst();
}

void CSRC2006QSO::Close() {
    table_.reset();
    readSummary_.clear();
    boundText_.clear();
    boundLong_.clear();
    recordCount_ = 0;
    position_ = 0;
    bof_ = true;
    ClearAll();
}

std::vector<std::string> CSRC2006QSO::LogWarnings() const {
    if (!table_)
        return {};
    std::vector<std::string> warnings = readSummary_;
    warnings.insert(warnings.end(), table_->Warnings().begin(), table_->Warnings().end());
    return warnings;
}

bool CSRC2006QSO::IsEOF() const {
    return position_ >= recordCount_;
}

bool CSRC2006QSO::IsBOF() const {
    return bof_;
}

void CSRC2006QSO::MoveFirst() {
    position_ = 0;
    bof_ = recordCount_ == 0;
    if (bof_)
        ClearRead();
    else
        Load();
}

void CSRC2006QSO::MoveNext() {
    if (bof_) {
        MoveFirst();
        return;
    }
    if (position_ >= recordCount_)
        return;  // already after the last record
    ++position_;
    if (position_ == recordCount_)
        ClearRead();
    else
        Load();
}

void CSRC2006QSO::MovePrev() {
    if (bof_)
        return;  // already before the first record
    if (position_ == 0) {
        bof_ = true;
        ClearRead();
        return;
    }
    --position_;
    Load();
}

std::string_view* CSRC2006QSO::TextMember(QsoColumn column) {
    const TextPointer member = MemberOf(column).text;
    return member != nullptr ? &(this->*member) : nullptr;
}

std::int32_t* CSRC2006QSO::LongMember(QsoColumn column) {
    const LongPointer member = MemberOf(column).number;
    return member != nullptr ? &(this->*member) : nullptr;
}

void CSRC2006QSO::Load() {
    for (const BoundText& bound : boundText_)
        this->*bound.member = bound.values[bound.cells[position_]];
    for (const BoundLong& bound : boundLong_)
        this->*bound.member = bound.numbers[position_];
}

void CSRC2006QSO::ClearRead() {
    for (const BoundText& bound : boundText_)
        this->*bound.member = {};
    for (const BoundLong& bound : boundLong_)
        this->*bound.member = 0;
}

void CSRC2006QSO::ClearAll() {
    for (const Member& member : kMembers) {
        if (member.text != nullptr)
            this->*member.text = {};
        if (member.number != nullptr)
            this->*member.number = 0;
    }
}

}  // namespace corvale
