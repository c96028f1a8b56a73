#include <gtest/gtest.h>

#include <stdexcept>

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
    EXPECT_THROW(table->TextRank(1, QsoColumn::State), std::out_of_range);
}

TEST(QsoTableBuilder, RanksAreByteOrderWithEmptyFirst) {
    // Byte order, no case folding: "" < "K" < "KH6" < "VE" < "k" < "\xC3\x89" (É in UTF-8).
    const std::vector<std::string> values{"k", "VE", "", "\xC3\x89", "KH6", "K", "VE", ""};
    QsoTableBuilder builder({QsoColumn::Prefix});
    for (const auto& value : values)
        builder.AddRow().Set(QsoColumn::Prefix, value);
    const auto table = builder.Build();
    auto rank = [&](std::size_t row) { return table->TextRank(row, QsoColumn::Prefix); };
    EXPECT_EQ(rank(2), 0u);
    EXPECT_EQ(rank(7), 0u);
    EXPECT_LT(rank(2), rank(5));  // "" < "K"
    EXPECT_LT(rank(5), rank(4));  // "K" < "KH6"
    EXPECT_LT(rank(4), rank(1));  // "KH6" < "VE"
    EXPECT_EQ(rank(1), rank(6));  // "VE" == "VE"
    EXPECT_LT(rank(1), rank(0));  // "VE" < "k"
    EXPECT_LT(rank(0), rank(3));  // "k" < "É"
}

TEST(QsoTableBuilder, RanksKeepByteOrderWhereTheFirstEightBytesTie) {
    // In byte order: values alike in their first eight bytes, a zero byte against the end of a
    // shorter value, and bytes above 0x7F.
    const std::vector<std::string> ordered{"",
                                           "AB",
                                           std::string("AB\0", 3),
                                           std::string("AB\0\0\0\0\0\0\x01", 9),
                                           "ABCDEFGH",
                                           "ABCDEFGH1",
                                           "ABCDEFGH2",
                                           "ABCDEFGHI",
                                           "ABCDEFGI",
                                           "\x7F",
                                           "\x80",
                                           "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF"};
    QsoTableBuilder builder({QsoColumn::Note});
    for (auto value = ordered.rbegin(); value != ordered.rend(); ++value)
        builder.AddRow().Set(QsoColumn::Note, *value);
    const auto table = builder.Build();
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        SCOPED_TRACE(::testing::PrintToString(ordered[i]));
        EXPECT_EQ(table->TextRank(ordered.size() - 1 - i, QsoColumn::Note), i);
    }
}

TEST(QsoTableBuilder, ManyDistinctValuesInternCorrectly) {
    QsoTableBuilder builder({QsoColumn::Call});
    for (int i = 0; i < 20000; ++i)
        builder.AddRow().Set(QsoColumn::Call, "C" + std::to_string(i % 5000));
    const auto table = builder.Build();
    for (int i = 0; i < 20000; i += 97) {
        ASSERT_EQ(table->Text(static_cast<std::size_t>(i), QsoColumn::Call),
                  "C" + std::to_string(i % 5000));
        ASSERT_EQ(table->TextRank(static_cast<std::size_t>(i), QsoColumn::Call),
                  table->TextRank(static_cast<std::size_t>(i % 5000), QsoColumn::Call));
    }
}

TEST(QsoTableBuilder, BuildStartsTheBuilderOver) {
    QsoTableBuilder builder({QsoColumn::State});
    builder.AddRow().Set(QsoColumn::State, "HI");
    const auto first = builder.Build();
    EXPECT_EQ(builder.RowCount(), 0u);
    builder.AddRow().Set(QsoColumn::State, "AK");
    const auto second = builder.Build();
    EXPECT_EQ(first->Text(0, QsoColumn::State), "HI");
    EXPECT_EQ(second->RowCount(), 1u);
    EXPECT_EQ(second->Text(0, QsoColumn::State), "AK");
}

}  // namespace
}  // namespace corvale
