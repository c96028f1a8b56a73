#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <numeric>
#include <sstream>

#include "CaseFile.h"
#include "LogdbTestSupport.h"
#include "logdb/CSRC2006QSO.h"
#include "logdb/DbError.h"

namespace corvale {
namespace {

using test::Fixture;

struct Row {
    std::string state, band, grid;
    std::int32_t number;  // the row's own tag, to see where it went
};

std::shared_ptr<const QsoTable> MakeTable(const std::vector<Row>& rows) {
    QsoTableBuilder builder(
        {QsoColumn::State, QsoColumn::Band, QsoColumn::Grid, QsoColumn::Number});
    for (const Row& row : rows) {
        builder.AddRow()
            .Set(QsoColumn::State, row.state)
            .Set(QsoColumn::Band, row.band)
            .Set(QsoColumn::Grid, row.grid)
            .Set(QsoColumn::Number, row.number);
    }
    return builder.Build();
}

// The [QSO-NUMBER] tags of `table` in the order that `sort` gives, from the open on.
std::vector<std::int32_t> Sorted(const std::shared_ptr<const QsoTable>& table,
                                 const std::string& sort) {
    CSRC2006QSO set;
    set.m_strSort = sort;
    set.Open(table);
    std::vector<std::int32_t> tags;
    for (; !set.IsEOF(); set.MoveNext())
        tags.push_back(set.m_QSO_NUMBER);
    return tags;
}

constexpr char kCases[] = "logdb/cases/record-set.tsv";

// The rows of a set of kCases (none when there is no such set), in table order.
std::vector<Row> Rows(const std::string& set) {
    std::vector<Row> rows;
    for (const test::Case& c : test::ReadCases(kCases, "row")) {
        if (c.name == set)
            rows.push_back({c[1], c[2], c[3], std::stoi(c[0])});
    }
    return rows;
}

template <typename Number>
std::vector<Number> Numbers(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<Number>(in), std::istream_iterator<Number>()};
}

TEST(CSRC2006QSOSort, SortsGiveTheirOrder) {
    for (const test::Case& c : test::ReadCases(kCases, "sort"))
        EXPECT_EQ(Sorted(MakeTable(Rows(c[0])), c.name), Numbers<std::int32_t>(c[1])) << c.name;
}

TEST(CSRC2006QSOSort, LargeTableIsStable) {
    std::vector<Row> rows;
    for (int i = 0; i < 5000; ++i)
        rows.push_back({std::string(1, static_cast<char>('A' + (i * 7919) % 26)), "", "", i});
    const auto tags = Sorted(MakeTable(rows), "[QSO-STATE]");
    std::vector<std::int32_t> expected(rows.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](std::int32_t a, std::int32_t b) { return rows[a].state < rows[b].state; });
    EXPECT_EQ(tags, expected);
}

// A sort that cannot be done fails the open with a message that says why.
TEST(CSRC2006QSOSort, FailingSortsFailTheOpen) {
    for (const test::Case& c : test::ReadCases(kCases, "refused")) {
        SCOPED_TRACE(c.name);
        CSRC2006QSO set(c[0]);
        set.m_strSort = c.name;
        test::ExpectHolds(test::DbErrorOf([&] { set.Open(MakeTable(Rows("letters"))); }),
                          test::Split(c[1]));
        EXPECT_FALSE(set.IsOpen());
    }
}

TEST(CSRC2006QSOCursor, MovesStandWhereTheyShould) {
    for (const test::Case& c : test::ReadCases(kCases, "moves")) {
        SCOPED_TRACE(c.name);
        const std::vector<Row> rows = Rows(c[1]);  // tags 0, 1, ...
        const std::vector<std::int32_t> order = Sorted(MakeTable(rows), c[0]);
        CSRC2006QSO set;
        set.m_strSort = c[0];
        set.Open(MakeTable(rows));
        EXPECT_TRUE(set.IsOpen());
        ASSERT_EQ(set.GetRecordCount(), rows.size());
        const int count = static_cast<int>(rows.size());
        const std::string& moves = c[2];
        const std::vector<int> positions = Numbers<int>(c[3]);
        for (std::size_t i = 0; i < positions.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "after " << moves.substr(0, i));
            if (i > 0 && moves[i - 1] == 'F')
                set.MoveFirst();
            else if (i > 0 && moves[i - 1] == 'N')
                set.MoveNext();
            else if (i > 0)
                set.MovePrev();
            const int at = positions[i];
            EXPECT_EQ(set.IsBOF(), at < 0 || count == 0);
            EXPECT_EQ(set.IsEOF(), at >= count);
            const Row none{"", "", "", 0};
            const Row& row = at < 0 || at >= count ? none : rows[order[at]];
            EXPECT_EQ(set.m_QSO_NUMBER, row.number);
            EXPECT_EQ(set.m_QSO_STATE, row.state);
            EXPECT_EQ(set.m_QSO_GRID, row.grid);
            if (at >= 0 && at < count) {
                EXPECT_EQ(set.GetAbsolutePosition(), static_cast<std::size_t>(at));
            }
        }
    }
}

TEST(CSRC2006QSOCursor, CloseReleasesTheTableAndAReopenSortsAnew) {
    auto table = MakeTable(Rows("letters"));
    std::weak_ptr<const QsoTable> watch = table;
    CSRC2006QSO set;
    set.m_strSort = "[QSO-STATE]";
    set.Open(table);
    EXPECT_EQ(set.m_QSO_NUMBER, 1);
    set.Close();
    EXPECT_FALSE(set.IsOpen());
    set.m_strSort = "[QSO-GRID]";
    set.Open(std::move(table));
    EXPECT_TRUE(set.IsOpen());
    EXPECT_EQ(set.m_QSO_NUMBER, 4);  // "" first
    set.Close();
    EXPECT_FALSE(set.IsOpen());
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(set.GetRecordCount(), 0u);
}

// The members of the columns read hold the row's values; those of the others stay empty, a column
// read only for the sort too.
TEST(CSRC2006QSOMembers, ColumnsReadReachTheMembersAndTheOthersStayEmpty) {
    const test::Tsv tsv = test::ReadTsv(Fixture("sample-log.tsv"));
    CSRC2006QSO set(Fixture("sample-log.mdb"));
    EXPECT_EQ(set.GetDefaultSQL(), "[QSO-TAB]");
    set.Open();  // all columns, table order
    ASSERT_EQ(set.GetRecordCount(), tsv.rows.size());
    const auto member = [&set](QsoColumn column) {
        return ColumnInfo(column).isLong ? std::to_string(*set.LongMember(column))
                                         : std::string(*set.TextMember(column));
    };
    for (std::size_t r = 0; r < tsv.rows.size(); r += 101) {
        while (set.GetAbsolutePosition() < r)
            set.MoveNext();
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            const bool zero = ColumnInfo(column).isLong && tsv.rows[r][c].empty();
            ASSERT_EQ(member(column), zero ? "0" : tsv.rows[r][c]);
        }
    }

    set.Close();
    set.m_columnsRead = {QsoColumn::State, QsoColumn::Valid};
    set.m_strSort = "[QSO-PREFIX]";  // read as well, for the sort
    set.m_QSO_CALL = "left over";
    set.Open();
    int withState = 0;
    for (; !set.IsEOF(); set.MoveNext()) {
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            if (!set.m_columnsRead.Has(column)) {
                ASSERT_EQ(member(column), ColumnInfo(column).isLong ? "0" : "");
            }
        }
        withState += !set.m_QSO_STATE.empty();
    }
    EXPECT_GT(withState, 100);
}

}  // namespace
}  // namespace corvale
