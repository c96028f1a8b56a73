#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "logdb/QsoTable.h"

namespace corvale {
namespace {

// A cell reads empty and zero unless it was set: in a new row, in a column outside the set, and
// as the other type of its column.
TEST(QsoTableBuilder, CellsNotSetReadEmptyAndZero) {
    QsoTableBuilder builder;
    builder.AddRow().AddRow().Set(QsoColumn::Call, "DL1ABC").Set(QsoColumn::Number, 42);
    builder.AddRow().Set(QsoColumn::Valid, -7);
    EXPECT_EQ(builder.RowCount(), 3u);
    const auto table = builder.Build();
    ASSERT_EQ(table->RowCount(), 3u);
    EXPECT_EQ(table->Text(0, QsoColumn::Call), "");
    EXPECT_EQ(table->Long(0, QsoColumn::Number), 0);
    EXPECT_EQ(table->Text(1, QsoColumn::Call), "DL1ABC");
    EXPECT_EQ(table->Long(1, QsoColumn::Number), 42);
    EXPECT_EQ(table->Columns(), QsoColumnSet::All());
    EXPECT_EQ(table->Long(2, QsoColumn::Valid), -7);
    EXPECT_EQ(table->Text(2, QsoColumn::Valid), "");  // a long column has no text
    EXPECT_EQ(table->Long(2, QsoColumn::State), 0);   // a text column has no number
    // Build starts the builder over; the table built stays as it was.
    EXPECT_EQ(builder.RowCount(), 0u);
    const auto next = builder.AddRow().Set(QsoColumn::Call, "K1ABC").Build();
    EXPECT_EQ(next->RowCount(), 1u);
    EXPECT_EQ(next->Text(0, QsoColumn::Call), "K1ABC");
    EXPECT_EQ(table->Text(1, QsoColumn::Call), "DL1ABC");

    QsoTableBuilder stateOnly({QsoColumn::State});
    stateOnly.AddRow()
        .Set(QsoColumn::State, "HI")
        .Set(QsoColumn::Prefix, "KH6")
        .Set(QsoColumn::Valid, 1);
    const auto kept = stateOnly.Build();
    EXPECT_EQ(kept->Text(0, QsoColumn::State), "HI");
    EXPECT_EQ(kept->Text(0, QsoColumn::Prefix), "");
    EXPECT_EQ(kept->Long(0, QsoColumn::Valid), 0);
    EXPECT_FALSE(kept->Columns().Has(QsoColumn::Prefix));
}

// Setting a cell before any row or with the wrong type, and reading a row that is not there.
TEST(QsoTableBuilder, MisuseIsRefused) {
    QsoTableBuilder builder;
    EXPECT_THROW(builder.Set(QsoColumn::State, "HI"), std::logic_error);
    builder.AddRow();
    EXPECT_THROW(builder.Set(QsoColumn::Valid, "1"), std::invalid_argument);
    EXPECT_THROW(builder.Set(QsoColumn::State, 1), std::invalid_argument);
    const auto table = builder.Build();
    EXPECT_THROW(table->Text(1, QsoColumn::State), std::out_of_range);
    EXPECT_THROW(table->Long(1, QsoColumn::Valid), std::out_of_range);
}

// A column's values come in the byte order of cases/text-ranks.tsv, "" first, whatever the order
// of the rows: comparing two rows' value indexes compares their texts.
TEST(QsoTableBuilder, ValuesAreInByteOrderWithEmptyFirst) {
    std::vector<std::string> ordered;
    for (const test::Case& c : test::ReadCases("logdb/cases/text-ranks.tsv", "value"))
        ordered.push_back(c.name);
    QsoTableBuilder builder({QsoColumn::Note});
    for (auto value = ordered.rbegin(); value != ordered.rend(); ++value)
        builder.AddRow().Set(QsoColumn::Note, *value);
    for (const std::string& value : ordered)
        builder.AddRow().Set(QsoColumn::Note, value);
    const auto table = builder.Build();
    const std::span<const std::string> values = table->TextValues(QsoColumn::Note);
    const std::span<const std::uint32_t> cells = table->TextCells(QsoColumn::Note);
    const std::size_t n = ordered.size();
    for (std::size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(::testing::PrintToString(ordered[i]));
        EXPECT_EQ(values[cells[n + i]], ordered[i]);
        EXPECT_EQ(cells[n - 1 - i], cells[n + i]);
        if (i > 0) {
            EXPECT_LT(cells[n + i - 1], cells[n + i]);
        }
    }
}

// Rows appended from builders of their own (which may hold appended rows themselves) follow in
// order, before and after rows added here, and setting a cell reaches the last row whichever
// builder it came from.
TEST(QsoTableBuilder, AppendedRowsKeepTheirOrderAndValues) {
    const auto rows = [](QsoTableBuilder& builder, std::initializer_list<const char*> calls) {
        for (const char* call : calls)
            builder.AddRow().Set(QsoColumn::Call, call);
    };
    QsoTableBuilder first({QsoColumn::Call}), second({QsoColumn::Call}), third({QsoColumn::Call}),
        last({QsoColumn::Call}), empty({QsoColumn::Call});
    rows(first, {"K1ABC", "DL1ABC"});
    rows(second, {"VK2XY", "K1ABC"});
    rows(third, {"ZL1AA", "", "DL1ABC"});
    second.Append(third);  // the second builder now holds appended rows of its own
    first.Append(second);
    rows(first, {"JA1AA"});
    first.Set(QsoColumn::Call, "JA1ZZ");
    rows(last, {"VE3AB", "K1ABC"});
    first.Append(last).Append(empty);
    first.Set(QsoColumn::Call, "W1AW");  // the last row, which came from `last`
    EXPECT_EQ(second.RowCount(), 0u);

    const auto table = first.Build();
    const std::vector<std::string> expected = {"K1ABC", "DL1ABC", "VK2XY", "K1ABC", "ZL1AA",
                                               "",      "DL1ABC", "JA1ZZ", "VE3AB", "W1AW"};
    ASSERT_EQ(table->RowCount(), expected.size());
    const std::span<const std::string> values = table->TextValues(QsoColumn::Call);
    EXPECT_TRUE(std::is_sorted(values.begin(), values.end()));
    EXPECT_EQ(std::adjacent_find(values.begin(), values.end()), values.end());
    for (std::size_t row = 0; row < expected.size(); ++row)
        EXPECT_EQ(table->Text(row, QsoColumn::Call), expected[row]) << "row " << row;
}

TEST(QsoTableBuilder, ManyDistinctValuesInternCorrectly) {
    QsoTableBuilder builder({QsoColumn::Call});
    for (int i = 0; i < 20000; ++i)
        builder.AddRow().Set(QsoColumn::Call, "C" + std::to_string(i % 5000));
    const auto table = builder.Build();
    for (int i = 0; i < 20000; i += 97) {
        ASSERT_EQ(table->Text(static_cast<std::size_t>(i), QsoColumn::Call),
                  "C" + std::to_string(i % 5000));
        ASSERT_EQ(table->TextCells(QsoColumn::Call)[static_cast<std::size_t>(i)],
                  table->TextCells(QsoColumn::Call)[static_cast<std::size_t>(i % 5000)]);
    }
}

}  // namespace
}  // namespace corvale
