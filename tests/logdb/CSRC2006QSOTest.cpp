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

TEST(CSRC2006QSOSort, EmptySortKeepsTableOrder) {
    EXPECT_EQ(Sorted(MakeTable(kRows), ""), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Sorted(MakeTable(kRows), "  "), (std::vector<std::int32_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(CSRC2006QSOSort, OneColumnByteWiseEmptyFirstStable) {
    // "" < "AK" < "HI" < "WA" < "wa"; ties in table order.
    EXPECT_EQ(Sorted(MakeTable(kRows), "[QSO-STATE]"),
              (std::vector<std::int32_t>{1, 6, 7, 2, 4, 0, 5, 3}));
}

TEST(CSRC2006QSOSort, SeveralColumns) {
    // Band first ("0" < "1" < "12"), then grid.
    EXPECT_EQ(Sorted(MakeTable(kRows), "[QSO-BAND], [QSO-GRID]"),
              (std::vector<std::int32_t>{2, 5, 4, 7, 0, 3, 1, 6}));
    EXPECT_EQ(Sorted(MakeTable(kRows), "[QSO-BAND],[QSO-STATE] ,  [QSO-GRID]"),
              (std::vector<std::int32_t>{2, 5, 1, 7, 4, 0, 3, 6}));
}

TEST(CSRC2006QSOSort, LongColumnsSortAsNumbers) {
    std::vector<Row> rows{{"", "", "", 10}, {"", "", "", -3}, {"", "", "", 2}, {"", "", "", 10}};
    EXPECT_EQ(Sorted(MakeTable(rows), "[QSO-NUMBER]"), (std::vector<std::int32_t>{-3, 2, 10, 10}));
}

TEST(CSRC2006QSOSort, ColumnNamesCompareWithoutCase) {
    EXPECT_EQ(Sorted(MakeTable(kRows), "[qso-state]"), Sorted(MakeTable(kRows), "[QSO-STATE]"));
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

std::string OpenError(const std::string& sort, const std::string& file = {}) {
    CSRC2006QSO set(file);
    set.m_strSort = sort;
    try {
        set.Open(MakeTable(kRows));
    } catch (const DbError& error) {
        EXPECT_FALSE(set.IsOpen());
        return error.what();
    }
    ADD_FAILURE() << "no DbError for sort " << sort;
    return {};
}

TEST(CSRC2006QSOSort, UnknownColumnFailsTheOpen) {
    const std::string message = OpenError("[QSO-STATE], [QSO-COLOUR]", "/logs/log.mdb");
    EXPECT_NE(message.find("unknown column [QSO-COLOUR]"), std::string::npos) << message;
    EXPECT_NE(message.find("\"/logs/log.mdb\""), std::string::npos) << message;
    EXPECT_NE(OpenError("[QSO-COLOUR]").find("unknown column"), std::string::npos);
}

TEST(CSRC2006QSOSort, MalformedSortFailsTheOpen) {
    for (const char* sort :
         {"QSO-STATE", "[QSO-STATE", "[QSO-STATE],", ",[QSO-STATE]", "[QSO-STATE] [QSO-BAND]",
          "[QSO-STATE],,[QSO-BAND]", "[QSO-STATE] DESC"})
        EXPECT_NE(OpenError(sort).find("not a list of bracketed column names"), std::string::npos)
            << sort;
}

TEST(CSRC2006QSOSort, SortByAColumnThatWasNotReadFailsTheOpen) {
    EXPECT_NE(OpenError("[QSO-CALL]").find("[QSO-CALL], which was not read"), std::string::npos);
}

TEST(CSRC2006QSOCursor, EmptySetIsAtBothEnds) {
    CSRC2006QSO set;
    set.Open(MakeTable({}));
    EXPECT_TRUE(set.IsOpen());
    EXPECT_TRUE(set.IsBOF());
    EXPECT_TRUE(set.IsEOF());
    EXPECT_EQ(set.GetRecordCount(), 0u);
    set.MoveFirst();
    set.MoveNext();
    set.MovePrev();
    EXPECT_TRUE(set.IsBOF());
    EXPECT_TRUE(set.IsEOF());
}

TEST(CSRC2006QSOCursor, EmptyLogFromFile) {
    CSRC2006QSO set(Fixture("empty-log.mdb"));
    set.m_strSort = "[QSO-STATE]";
    set.Open();
    EXPECT_TRUE(set.IsBOF());
    EXPECT_TRUE(set.IsEOF());
}

TEST(CSRC2006QSOCursor, MovesBothWays) {
    CSRC2006QSO set;
    set.m_strSort = "[QSO-STATE]";
    set.Open(MakeTable(kRows));  // order 1 6 7 2 4 0 5 3
    ASSERT_EQ(set.GetRecordCount(), 8u);
    EXPECT_FALSE(set.IsBOF());
    EXPECT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_QSO_NUMBER, 1);  // stands on the first record after the open
    EXPECT_EQ(set.GetAbsolutePosition(), 0u);

    set.MovePrev();  // before the first
    EXPECT_TRUE(set.IsBOF());
    EXPECT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_QSO_NUMBER, 0);
    EXPECT_EQ(set.m_QSO_STATE, "");
    set.MoveNext();  // back on the first
    EXPECT_FALSE(set.IsBOF());
    EXPECT_EQ(set.m_QSO_NUMBER, 1);

    for (int i = 0; i < 7; ++i)
        set.MoveNext();
    EXPECT_EQ(set.m_QSO_NUMBER, 3);  // the last
    EXPECT_EQ(set.m_QSO_STATE, "wa");
    EXPECT_EQ(set.GetAbsolutePosition(), 7u);
    set.MoveNext();  // past the last
    EXPECT_TRUE(set.IsEOF());
    EXPECT_FALSE(set.IsBOF());
    EXPECT_EQ(set.m_QSO_STATE, "");  // no current record: the members read empty
    set.MoveNext();                  // stays past the last
    EXPECT_TRUE(set.IsEOF());
    set.MovePrev();  // from EOF back to the last record
    EXPECT_FALSE(set.IsEOF());
    EXPECT_EQ(set.m_QSO_NUMBER, 3);
    set.MovePrev();
    EXPECT_EQ(set.m_QSO_NUMBER, 5);
    EXPECT_EQ(set.m_QSO_STATE, "WA");
    EXPECT_EQ(set.m_QSO_GRID, "CN88");
    set.MoveFirst();
    EXPECT_EQ(set.m_QSO_NUMBER, 1);
    EXPECT_EQ(set.m_QSO_GRID, "FN42");
}

TEST(CSRC2006QSOCursor, LookAheadAndBack) {
    // The award walk's look-ahead: next, read, previous.
    CSRC2006QSO set;
    set.Open(MakeTable(kRows));
    set.MoveNext();
    set.MoveNext();
    EXPECT_EQ(set.m_QSO_NUMBER, 2);
    set.MoveNext();
    const std::string next = set.m_QSO_STATE;
    set.MovePrev();
    EXPECT_EQ(next, "wa");
    EXPECT_EQ(set.m_QSO_NUMBER, 2);
    EXPECT_EQ(set.m_QSO_STATE, "HI");
}

TEST(CSRC2006QSOCursor, CloseReleasesTheTable) {
    auto table = MakeTable(kRows);
    std::weak_ptr<const QsoTable> watch = table;
    CSRC2006QSO set;
    set.Open(std::move(table));
    EXPECT_TRUE(set.IsOpen());
    set.Close();
    EXPECT_FALSE(set.IsOpen());
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(set.GetRecordCount(), 0u);
}

TEST(CSRC2006QSOCursor, ReopenWithAnotherSort) {
    auto table = MakeTable(kRows);
    CSRC2006QSO set;
    set.m_strSort = "[QSO-STATE]";
    set.Open(table);
    EXPECT_EQ(set.m_QSO_NUMBER, 1);
    set.Close();
    set.m_strSort = "[QSO-GRID]";
    set.Open(table);
    EXPECT_EQ(set.m_QSO_NUMBER, 4);  // "" first
}

TEST(CSRC2006QSOMembers, EveryColumnHasItsMember) {
    CSRC2006QSO set;
    int texts = 0, longs = 0;
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        const auto column = static_cast<QsoColumn>(c);
        std::string* text = set.TextMember(column);
        std::int32_t* number = set.LongMember(column);
        EXPECT_NE(text == nullptr, number == nullptr) << ColumnInfo(column).name;
        EXPECT_EQ(number != nullptr, ColumnInfo(column).isLong) << ColumnInfo(column).name;
        texts += text != nullptr;
        longs += number != nullptr;
    }
    EXPECT_EQ(texts, 36);
    EXPECT_EQ(longs, 5);
    EXPECT_EQ(set.TextMember(QsoColumn::Date), &set.m_QSO_DATE);
    EXPECT_EQ(set.TextMember(QsoColumn::Note), &set.m_QSO_NOTE);
    EXPECT_EQ(set.TextMember(QsoColumn::Sat), &set.m_QSO_SAT);
    EXPECT_EQ(set.TextMember(QsoColumn::SatMode), &set.m_QSO_SATMODE);
    EXPECT_EQ(set.LongMember(QsoColumn::Valid), &set.m_QSO_VALID);
    EXPECT_EQ(set.LongMember(QsoColumn::Category), &set.m_QSO_CATEGORY);
    EXPECT_EQ(set.LongMember(QsoColumn::Number), &set.m_QSO_NUMBER);
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

TEST(CSRC2006QSOMembers, SortedFileWalk) {
    CSRC2006QSO set(Fixture("sample-log.mdb"));
    set.m_columnsRead = {QsoColumn::Prefix, QsoColumn::Number};
    set.m_strSort = "[QSO-PREFIX]";
    set.Open();
    std::string previous;
    while (!set.IsEOF()) {
        ASSERT_LE(previous, set.m_QSO_PREFIX);
        previous = set.m_QSO_PREFIX;
        set.MoveNext();
    }
}

TEST(CSRC2006QSOMembers, OpenFailuresAreDbErrors) {
    CSRC2006QSO set(Fixture("no-qso-tab.mdb"));
    EXPECT_THROW(set.Open(), DbError);
    EXPECT_FALSE(set.IsOpen());
    CSRC2006QSO sorted(Fixture("sample-log.mdb"));
    sorted.m_strSort = "[QSO-NOPE]";
    EXPECT_THROW(sorted.Open(), DbError);
}

TEST(CCorvaleSet, IsTheSameRecordSet) {
    CCorvaleSet set(Fixture("demo-log.mdb"));
    set.Open();
    EXPECT_EQ(set.GetRecordCount(), 3000u);
    EXPECT_FALSE(set.m_QSO_DATE.empty());
}

}  // namespace
}  // namespace corvale
