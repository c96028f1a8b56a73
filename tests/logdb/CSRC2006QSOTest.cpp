#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

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

// The [QSO-NUMBER] tags in the set's order, walking forward from the first record.
std::vector<std::int32_t> Walk(CSRC2006QSO& set) {
    std::vector<std::int32_t> tags;
    if (set.IsBOF() && set.IsEOF())
        return tags;
    set.MoveFirst();
    while (!set.IsEOF()) {
        tags.push_back(set.m_QSO_NUMBER);
        set.MoveNext();
    }
    return tags;
}

std::vector<std::int32_t> Sorted(const std::shared_ptr<const QsoTable>& table,
                                 const std::string& sort) {
    CSRC2006QSO set;
    set.m_strSort = sort;
    set.Open(table);
    return Walk(set);
}

const std::vector<Row> kRows{
    {"WA", "1", "CN87", 0}, {"", "1", "FN42", 1},   {"HI", "0", "BL11", 2}, {"wa", "1", "CN87", 3},
    {"HI", "1", "", 4},     {"WA", "0", "CN88", 5}, {"", "12", "FN42", 6},  {"AK", "1", "BP51", 7},
};

const std::vector<Row> kNumbers{
    {"", "", "", 10}, {"", "", "", -3}, {"", "", "", 2}, {"", "", "", 10}};

// A sort and the order of the rows it gives: byte-wise text, "" first, numbers as numbers,
// column names without case, ties in table order.
struct SortCase {
    const char* sort;
    const std::vector<Row>* rows;
    std::vector<std::int32_t> order;
};

TEST(CSRC2006QSOSort, SortsGiveTheirOrder) {
    for (const SortCase& c : std::vector<SortCase>{
             {"", &kRows, {0, 1, 2, 3, 4, 5, 6, 7}},  // empty: table order
             {"  ", &kRows, {0, 1, 2, 3, 4, 5, 6, 7}},
             // "" < "AK" < "HI" < "WA" < "wa"; ties in table order.
             {"[QSO-STATE]", &kRows, {1, 6, 7, 2, 4, 0, 5, 3}},
             {"[qso-state]", &kRows, {1, 6, 7, 2, 4, 0, 5, 3}},
             // Band first ("0" < "1" < "12"), then grid.
             {"[QSO-BAND], [QSO-GRID]", &kRows, {2, 5, 4, 7, 0, 3, 1, 6}},
             {"[QSO-BAND],[QSO-STATE] ,  [QSO-GRID]", &kRows, {2, 5, 1, 7, 4, 0, 3, 6}},
             {"[QSO-NUMBER]", &kNumbers, {-3, 2, 10, 10}},
         }) {
        SCOPED_TRACE(c.sort);
        EXPECT_EQ(Sorted(MakeTable(*c.rows), c.sort), c.order);
    }
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
    struct FailingSort {
        const char* sort;
        std::vector<std::string> words;
        const char* file = "";
    };
    std::vector<FailingSort> cases{{"[QSO-STATE], [QSO-COLOUR]",
                                    {"unknown column [QSO-COLOUR]", "\"/logs/log.mdb\""},
                                    "/logs/log.mdb"},
                                   {"[QSO-COLOUR]", {"unknown column"}},
                                   {"[QSO-CALL]", {"[QSO-CALL], which was not read"}}};
    for (const char* sort :
         {"QSO-STATE", "[QSO-STATE", "[QSO-STATE],", ",[QSO-STATE]", "[QSO-STATE] [QSO-BAND]",
          "[QSO-STATE],,[QSO-BAND]", "[QSO-STATE] DESC"})
        cases.push_back({sort, {"not a list of bracketed column names"}});
    for (const FailingSort& c : cases) {
        SCOPED_TRACE(c.sort);
        CSRC2006QSO set(c.file);
        set.m_strSort = c.sort;
        test::ExpectHolds(test::DbErrorOf([&] { set.Open(MakeTable(kRows)); }), c.words);
        EXPECT_FALSE(set.IsOpen());
    }
}

// Moves of the cursor ('F'irst, 'N'ext, 'P'rev) over the rows of kRows (or none) and where it
// stands after the open and after each move: a position in `order`, -1 before the first record,
// order.size() past the last. On no record the members read empty.
struct Script {
    const char* name;
    const char* sort;
    std::vector<std::int32_t> order;  // the tags of the set in its order
    std::string moves;
    std::vector<int> positions;
};

TEST(CSRC2006QSOCursor, MovesStandWhereTheyShould) {
    for (const Script& script : std::vector<Script>{
             {"EmptySetIsAtBothEnds", "", {}, "FNP", {0, 0, 0, 0}},
             {"MovesBothWays",
              "[QSO-STATE]",
              {1, 6, 7, 2, 4, 0, 5, 3},
              "PNNNNNNNNNNPPF",
              {0, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 0}},
             // The award walk's look-ahead: next, read, previous.
             {"LookAheadAndBack", "", {0, 1, 2, 3, 4, 5, 6, 7}, "NNNP", {0, 1, 2, 3, 2}},
         }) {
        SCOPED_TRACE(script.name);
        CSRC2006QSO set;
        set.m_strSort = script.sort;
        set.Open(MakeTable(script.order.empty() ? std::vector<Row>{} : kRows));
        EXPECT_TRUE(set.IsOpen());
        ASSERT_EQ(set.GetRecordCount(), script.order.size());
        const int count = static_cast<int>(script.order.size());
        for (std::size_t i = 0; i < script.positions.size(); ++i) {
            SCOPED_TRACE(::testing::Message() << "after " << script.moves.substr(0, i));
            if (i > 0) {
                const char move = script.moves[i - 1];
                if (move == 'F')
                    set.MoveFirst();
                else if (move == 'N')
                    set.MoveNext();
                else
                    set.MovePrev();
            }
            const int at = script.positions[i];
            EXPECT_EQ(set.IsBOF(), at < 0 || count == 0);
            EXPECT_EQ(set.IsEOF(), at >= count);
            const Row none{"", "", "", 0};
            const Row& row = at < 0 || at >= count ? none : kRows[script.order[at]];
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
    auto table = MakeTable(kRows);
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

TEST(CSRC2006QSOMembers, FileRowsReachTheMembers) {
    const test::Tsv tsv = test::ReadTsv(Fixture("sample-log.tsv"));
    CSRC2006QSO set(Fixture("sample-log.mdb"));
    EXPECT_EQ(set.GetDefaultSQL(), "[QSO-TAB]");
    set.Open();  // all columns, table order
    ASSERT_EQ(set.GetRecordCount(), tsv.rows.size());
    for (std::size_t r = 0; r < tsv.rows.size(); r += 101) {
        while (set.GetAbsolutePosition() < r)
            set.MoveNext();
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            const auto column = static_cast<QsoColumn>(c);
            if (ColumnInfo(column).isLong)
                ASSERT_EQ(std::to_string(*set.LongMember(column)),
                          tsv.rows[r][c].empty() ? "0" : tsv.rows[r][c]);
            else
                ASSERT_EQ(*set.TextMember(column), tsv.rows[r][c]);
        }
    }
}

TEST(CSRC2006QSOMembers, ColumnsNotReadStayEmpty) {
    CSRC2006QSO set(Fixture("sample-log.mdb"));
    set.m_columnsRead = {QsoColumn::State, QsoColumn::Valid};
    set.m_strSort = "[QSO-PREFIX]";  // read as well, for the sort
    set.m_QSO_CALL = "left over";
    set.Open();
    int withState = 0;
    while (!set.IsEOF()) {
        ASSERT_EQ(set.m_QSO_CALL, "");
        ASSERT_EQ(set.m_QSO_NUMBER, 0);
        ASSERT_EQ(set.m_QSO_NOTE, "");
        withState += !set.m_QSO_STATE.empty();
        set.MoveNext();
    }
    EXPECT_GT(withState, 100);
}

}  // namespace
}  // namespace corvale
