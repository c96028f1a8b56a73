// Files that Microsoft Access itself wrote (Access 97, 2000, 2003), with rows that Access moved
// when they grew and rows it deleted: every user table reads back as an independent reader
// reads it, row for row in its order. Text exactly; numbers by value; Yes/No and dates as text.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "LogdbTestSupport.h"
#include "logdb/MdbLog.h"

namespace corvale {
namespace {

using logdb_detail::MdbLog;

// A Date/Time value (days since 1899-12-30) as the .tsv writes it: 1974-09-21T00:00, seconds
// only when there are any.
std::string DateText(double days) {
    const double whole = std::floor(days);
    const auto seconds = static_cast<long>(std::lround((days - whole) * 24 * 60 * 60));
    const std::time_t time = (static_cast<std::time_t>(whole) - 25569) * 86400 + seconds;
    std::tm parts{};
    gmtime_r(&time, &parts);
    char text[32];
    std::strftime(text, sizeof text, seconds % 60 != 0 ? "%Y-%m-%dT%H:%M:%S" : "%Y-%m-%dT%H:%M",
                  &parts);
    return text;
}

// The .tsv holds no tab, CR or LF: its writer turned them into blanks.
std::string AsInTsv(std::string text) {
    for (char& c : text) {
        if (c == '\t' || c == '\r' || c == '\n')
            c = ' ';
    }
    return text;
}

struct Cell {
    int type;
    std::string text;  // "" for NULL
};

// Every row of table `name` of the file at `path`, read as the record set reads [QSO-TAB].
std::vector<std::vector<Cell>> ReadTable(const std::string& path, const std::string& name) {
    MdbLog log(path);
    MdbTableDef* table = log.OpenTable(name);
    if (table == nullptr)
        throw std::runtime_error("no table " + name);
    logdb_detail::LibmdbQuiet quiet;
    logdb_detail::TableRows rows(log, table, "[" + name + "]");
    std::vector<std::vector<Cell>> result;
    while (rows.Next()) {
        auto& row = result.emplace_back();
        for (guint c = 0; c < table->num_cols; ++c) {
            const auto* column =
                static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, c));
            Cell cell{column->col_type, {}};
            if (column->col_type == MDB_BOOL)
                cell.text = column->cur_value_len != 0 ? "false" : "true";
            else if (column->col_type == MDB_DATETIME && column->cur_value_len == 8)
                cell.text = DateText(mdb_get_double(log.Handle()->pg_buf, column->cur_value_start));
            else
                cell.text = std::string(logdb_detail::TextCell(log.Handle(), column).View());
            row.push_back(std::move(cell));
        }
    }
    EXPECT_TRUE(log.Warnings().empty()) << ::testing::PrintToString(log.Warnings());
    return result;
}

// Each table beside its file: genuine/FILE.TABLE.tsv.
TEST(AccessWrittenTable, ReadsAsAnIndependentReaderReadsIt) {
    std::size_t tables = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::Fixture("genuine"))) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with(".tsv"))
            continue;
        SCOPED_TRACE(name);
        ++tables;
        const std::string file = name.substr(0, name.find('.'));
        const std::string table = name.substr(file.size() + 1, name.size() - file.size() - 5);
        const auto rows = ReadTable(test::Fixture("genuine/" + file + ".mdb"), table);
        const test::Tsv tsv = test::ReadTsv(entry.path().string());
        ASSERT_EQ(rows.size(), tsv.rows.size());
        for (std::size_t r = 0; r < rows.size(); ++r) {
            ASSERT_EQ(rows[r].size(), tsv.rows[r].size()) << "row " << r;
            for (std::size_t c = 0; c < rows[r].size(); ++c) {
                const Cell& read = rows[r][c];
                const std::string& expected = tsv.rows[r][c];
                SCOPED_TRACE("row " + std::to_string(r) + " " + tsv.header[c]);
                if (read.type == MDB_TEXT || read.type == MDB_MEMO || read.type == MDB_BOOL ||
                    read.type == MDB_DATETIME) {
                    EXPECT_EQ(AsInTsv(read.text), expected);
                } else if (std::set<int>{MDB_BYTE, MDB_INT, MDB_LONGINT, MDB_FLOAT, MDB_DOUBLE,
                                         MDB_MONEY, MDB_NUMERIC}
                               .contains(read.type)) {
                    ASSERT_EQ(read.text.empty(), expected.empty()) << read.text;
                    if (!expected.empty()) {
                        EXPECT_DOUBLE_EQ(std::strtod(read.text.c_str(), nullptr),
                                         std::strtod(expected.c_str(), nullptr));
                    }
                }
            }
        }
    }
    EXPECT_EQ(tables, 10u);
}

}  // namespace
}  // namespace corvale
