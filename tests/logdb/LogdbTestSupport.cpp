#include "LogdbTestSupport.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include <gtest/gtest.h>

#include "RunProgram.h"
#include "logdb/DbError.h"
#include "logdb/QsoColumn.h"

namespace corvale::test {

std::string Fixture(const std::string& name) {
    return std::string(CORVALE_SHARED_DIR) + "/fixtures/" + name;
}

namespace {

// The rows of a .tsv, `\N` (NULL) read as "".
Tsv ParseTsv(std::istream& in) {
    Tsv tsv;
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string>& cells = tsv.header.empty() ? tsv.header : tsv.rows.emplace_back();
        for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
            end = line.find('\t', start);
            cells.push_back(line.substr(start, end == std::string::npos ? end : end - start));
            if (cells.back() == "\\N")
                cells.back().clear();
        }
    }
    if (tsv.header.empty())
        throw std::runtime_error("empty .tsv");
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
    const RunOutcome gzip = RunProgram({"gzip", "-dc", path});
    if (gzip.status != 0)
        throw std::runtime_error("gzip -dc " + path + ": " + gzip.err);
    std::istringstream in(gzip.out);
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
            const std::string read = columns[c].isLong ? std::to_string(table.Long(r, column))
                                                       : std::string(table.Text(r, column));
            static const std::string zero = "0";
            const std::string& expected = columns[c].isLong && cells[c].empty() ? zero : cells[c];
            if (read != expected)
                note("row " + std::to_string(r) + " " + std::string(columns[c].name) + ": read \"" +
                     read + "\", expected \"" + expected + "\"");
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
