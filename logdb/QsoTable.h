#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logdb/QsoColumn.h"

namespace corvale {

// The rows of [QSO-TAB] as read from a log, held compactly: each text column as indexes into a
// dictionary of its distinct values, each long column as plain numbers. Immutable once built, so
// several record sets (one per award) can walk one table read once.
class QsoTable {
  public:
    // Called now and then during a read with the rows read so far; returning false stops the
    // read with a DbError.
    using ReadProgress = std::function<bool(std::size_t rowsRead)>;

    // Reads [QSO-TAB] of the Access file at `path`, read-only, decoding only `columns`.
    // Throws DbError (naming the file and what is wrong) on any failure.
    static std::shared_ptr<const QsoTable> Read(const std::string& path, QsoColumnSet columns,
                                                const ReadProgress& progress = {});

    std::size_t RowCount() const { return rowCount_; }
    // What the user should hear of a log that was read all the same: at most one sentence,
    // naming the log (a stored row count that differs from the rows that its pages hold).
    const std::vector<std::string>& Warnings() const { return warnings_; }
    QsoColumnSet Columns() const { return columns_; }

    // A column outside Columns() reads as "" or 0.
    std::string_view Text(std::size_t row, QsoColumn column) const;
    std::int32_t Long(std::size_t row, QsoColumn column) const;

    // A column whole, for a reader that visits many rows in an order of its own and gathers
    // their cells once: a text column as its distinct values in byte order ("" first) and one
    // index into them per row, so that comparing indexes compares texts, which makes sorting
    // cheap; a long column as one number per row. Empty for a column not read.
    std::span<const std::string> TextValues(QsoColumn column) const;
    std::span<const std::uint32_t> TextCells(QsoColumn column) const;
    std::span<const std::int32_t> Longs(QsoColumn column) const;

  private:
    friend class QsoTableBuilder;
    struct TextColumn {
        std::vector<std::string> values;   // distinct values in byte order; values[0] is ""
        std::vector<std::uint32_t> cells;  // one index into values per row
    };
    QsoColumnSet columns_;
    std::size_t rowCount_ = 0;
    std::vector<TextColumn> text_;                 // indexed by column; empty when not read
    std::vector<std::vector<std::int32_t>> long_;  // indexed by column; empty when not read
    std::vector<std::string> warnings_;
};

// Builds a QsoTable row by row: the log reader uses it, and so do tests that need records held
// in memory. A new row starts with every text "" and every long 0.
class QsoTableBuilder {
  public:
    explicit QsoTableBuilder(QsoColumnSet columns = QsoColumnSet::All());
    ~QsoTableBuilder();
    QsoTableBuilder(const QsoTableBuilder&) = delete;
    QsoTableBuilder& operator=(const QsoTableBuilder&) = delete;

    QsoTableBuilder& AddRow();
    // A row whose text columns are `texts` (indexed by column) and whose long columns are 0: one
    // step where a reader that makes many rows would otherwise set each column.
    QsoTableBuilder& AddRow(const std::array<std::string_view, kQsoColumnCount>& texts);
    QsoTableBuilder& Set(QsoColumn column, std::string_view text);  // a text column
    QsoTableBuilder& Set(QsoColumn column, std::int32_t number);    // a long column
    std::size_t RowCount() const;
    // Adds the rows of `other`, a builder of the same columns, after these, and empties it.
    QsoTableBuilder& Append(QsoTableBuilder& other);

    std::shared_ptr<const QsoTable> Build();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace corvale
