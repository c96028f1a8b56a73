#include "LogdbTestSupport.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "logdb/DbError.h"
#include "logdb/QsoColumn.h"

namespace corvale::test {

std::string Fixture(const std::string& name) {
    return std::string(CORVALE_SHARED_DIR) + "/fixtures/" + name;
}

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    for (std::string& cell : cells) {
        if (cell == "\\N")
            cell.clear();  // NULL reads as ""
    }
    return cells;
}

Tsv ParseTsv(std::istream& in) {
    Tsv tsv;
    std::string line;
    if (!std::getline(in, line))
        throw std::runtime_error("empty .tsv");
    tsv.header = SplitTabs(line);
    while (std::getline(in, line))
        tsv.rows.push_back(SplitTabs(line));
    return tsv;
}

}  // namespace

Tsv ReadTsv(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    return ParseTsv(in);
}

Tsv ReadTsvGz(const std::string& path) {
    const std::string command = "gzip -dc '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string text;
    char buffer[1 << 16];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0)
        text.append(buffer, n);
    std::istringstream in(std::move(text));
    return ParseTsv(in);
}

std::vector<std::string> CompareWithTsv(const QsoTable& table, const Tsv& tsv, std::size_t limit) {
    std::vector<std::string> differences;
    auto note = [&](const std::string& text) {
        if (differences.size() < limit)
            differences.push_back(text);
    };
    const auto& columns = QsoColumns();
    if (tsv.header.size() != columns.size())
        note("the .tsv does not have 41 columns");
    for (std::size_t c = 0; c < columns.size() && c < tsv.header.size(); ++c) {
        if (tsv.header[c] != columns[c].name)
            note("column " + std::to_string(c) + " is " + tsv.header[c] + " in the .tsv");
    }
    if (table.RowCount() != tsv.rows.size())
        note("rows: read " + std::to_string(table.RowCount()) + ", .tsv has " +
             std::to_string(tsv.rows.size()));
    const std::size_t rows = std::min(table.RowCount(), tsv.rows.size());
    for (std::size_t r = 0; r < rows; ++r) {
        const auto& cells = tsv.rows[r];
        if (cells.size() != columns.size()) {
            note("row " + std::to_string(r) + " of the .tsv has " + std::to_string(cells.size()) +
                 " cells");
            continue;
        }
        for (std::size_t c = 0; c < columns.size(); ++c) {
            const auto column = static_cast<QsoColumn>(c);
            std::string read;
            if (columns[c].isLong) {
                read = std::to_string(table.Long(r, column));
                const std::string expected = cells[c].empty() ? "0" : cells[c];
                if (read != expected)
                    note("row " + std::to_string(r) + " " + std::string(columns[c].name) +
                         ": read " + read + ", expected " + expected);
            } else {
                read = std::string(table.Text(r, column));
                if (read != cells[c])
                    note("row " + std::to_string(r) + " " + std::string(columns[c].name) +
                         ": read \"" + read + "\", expected \"" + cells[c] + "\"");
            }
        }
    }
    return differences;
}

QsoColumn ColumnNamed(const std::string& name) {
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        if (QsoColumns()[c].name == name)
            return static_cast<QsoColumn>(c);
    }
    throw std::invalid_argument("no column " + name);
}

std::string DbErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const DbError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no DbError";
    return {};
}

void ExpectHolds(const std::string& text, const std::vector<std::string>& words) {
    for (const std::string& word : words)
        EXPECT_NE(text.find(word), std::string::npos) << "\"" << word << "\" not in: " << text;
}

}  // namespace corvale::test
