#pragma once

#include "TestFiles.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "logdb/QsoTable.h"

namespace corvale::test {

// A fixture of ../shared/fixtures by file name.
std::string Fixture(const std::string& name);

// A table written as a fixture's .tsv: the header's column names and the rows' cells, with
// `\N` (NULL) already turned into "" as the reader reads it.
struct Tsv {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};
Tsv ReadTsv(const std::string& path);    // a plain .tsv
Tsv ReadTsvGz(const std::string& path);  // a gzipped one, through gzip -dc

// Compares every column of every row of `table` with `tsv`; returns the differences found,
// at most `limit` of them, in words.
std::vector<std::string> CompareWithTsv(const QsoTable& table, const Tsv& tsv,
                                        std::size_t limit = 20);

// The column of that name ("QSO-GRID").
QsoColumn ColumnNamed(const std::string& name);

// The message of the DbError that `action` throws; "" and a failed test when it throws none.
std::string DbErrorOf(const std::function<void()>& action);
// Fails the test for each of `words` that `text` does not hold.
void ExpectHolds(const std::string& text, const std::vector<std::string>& words);

}  // namespace corvale::test
