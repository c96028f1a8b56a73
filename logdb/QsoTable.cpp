#include "logdb/QsoTable.h"

#include <algorithm>
#include <array>
#include <memory>
#include <stdexcept>
#include <string>

#include "logdb/DbError.h"
#include "logdb/MdbLog.h"
#include "logdb/OrderedTasks.h"
#include "logdb/TextDictionary.h"

namespace corvale {

using logdb_detail::TextDictionary;

namespace {

constexpr std::size_t Index(QsoColumn column) {
    return static_cast<std::size_t>(column);
}

constexpr QsoColumn ColumnAt(std::size_t index) {
    return static_cast<QsoColumn>(index);
}

std::string Bracketed(std::string_view name) {
    std::string text = "[";
    text.append(name).append("]");
    return text;
}

// Rows decoded between two progress callbacks (and two changes of libmdb's quiet stream).
constexpr std::size_t kRowsPerBatch = 4096;

}  // namespace

// ---------------------------------------------------------------------------------------------
// QsoTable
// ---------------------------------------------------------------------------------------------

std::string_view QsoTable::Text(std::size_t row, QsoColumn column) const {
    if (row >= rowCount_)
        throw std::out_of_range("QsoTable::Text: no such row");
    const std::size_t c = Index(column);
    if (c >= text_.size() || text_[c].cells.empty())
        return {};
    const TextColumn& text = text_[c];
    return text.values[text.cells[row]];
}

std::int32_t QsoTable::Long(std::size_t row, QsoColumn column) const {
    if (row >= rowCount_)
        throw std::out_of_range("QsoTable::Long: no such row");
    const std::size_t c = Index(column);
    if (c >= long_.size() || long_[c].empty())
        return 0;
    return long_[c][row];
}

std::span<const std::string> QsoTable::TextValues(QsoColumn column) const {
    const std::size_t c = Index(column);
    return c < text_.size() ? std::span<const std::string>(text_[c].values)
                            : std::span<const std::string>();
}

std::span<const std::uint32_t> QsoTable::TextCells(QsoColumn column) const {
    const std::size_t c = Index(column);
    return c < text_.size() ? std::span<const std::uint32_t>(text_[c].cells)
                            : std::span<const std::uint32_t>();
}

std::span<const std::int32_t> QsoTable::Longs(QsoColumn column) const {
    const std::size_t c = Index(column);
    return c < long_.size() ? std::span<const std::int32_t>(long_[c])
                            : std::span<const std::int32_t>();
}

// ---------------------------------------------------------------------------------------------
// QsoTable::Read
// ---------------------------------------------------------------------------------------------

std::shared_ptr<const QsoTable> QsoTable::Read(const std::string& path, QsoColumnSet columns,
                                               const ReadProgress& progress) {
    struct Source {
        std::size_t column;  // index of the QsoColumn
        const MdbColumn* mdb;
    };
    std::vector<Source> texts, longs;
    std::vector<TextDictionary> dictionaries;
    std::vector<std::vector<std::int32_t>> numbers;
    std::size_t rows = 0;
    std::vector<std::string> warnings;
    {
        logdb_detail::MdbLog log(path);
        MdbTableDef* table = log.OpenTable("QSO-TAB");
        if (table == nullptr)
            log.Fail("the file has no table [QSO-TAB]");

        // Check every column asked for (and only those) before reading a row.
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            if (!columns.Has(ColumnAt(c)))
                continue;
            const QsoColumnInfo& info = QsoColumns()[c];
            const MdbColumn* column = logdb_detail::FindColumn(table, info.name);
            if (column == nullptr)
                log.Fail("table [QSO-TAB] has no column " + Bracketed(info.name));
            const int type = column->col_type;
            const bool fits =
                info.isLong ? type == MDB_LONGINT : (type == MDB_TEXT || type == MDB_MEMO);
            if (!fits)
                log.Fail("column " + Bracketed(info.name) + " of table [QSO-TAB] is of type " +
                         std::string(logdb_detail::ColumnTypeName(type)) + ", not " +
                         (info.isLong ? "Long Integer" : "Text"));
            (info.isLong ? longs : texts).push_back({c, column});
        }

        // Reserve what the table says it holds, within what the file can hold (a damaged row
        // count must not reserve gigabytes): every row takes at least a few bytes of a page.
        const std::uint64_t possible = log.Facts().pageCount * (log.Facts().pageSize / 4);
        const auto expected =
            static_cast<std::size_t>(std::min<std::uint64_t>(table->num_rows, possible));
        dictionaries.resize(texts.size());
        for (TextDictionary& dictionary : dictionaries)
            dictionary.ReserveRows(expected);
        numbers.resize(longs.size());
        for (auto& column : numbers)
            column.reserve(expected);

        MdbHandle* mdb = log.Handle();
        std::unique_ptr<logdb_detail::TableRows> tableRows;
        {
            logdb_detail::LibmdbQuiet quiet;
            std::vector<const MdbColumn*> read;
            for (const Source& source : texts)
                read.push_back(source.mdb);
            for (const Source& source : longs)
                read.push_back(source.mdb);
            tableRows = std::make_unique<logdb_detail::TableRows>(log, table, "[QSO-TAB]", read);
        }
        bool more = true;
        while (more) {
            {
                logdb_detail::LibmdbQuiet quiet;
                for (std::size_t k = 0; k < kRowsPerBatch; ++k) {
                    if (!tableRows->Next()) {
                        more = false;
                        break;
                    }
                    for (std::size_t i = 0; i < texts.size(); ++i)
                        dictionaries[i].AddRow(logdb_detail::TextCell(mdb, texts[i].mdb).View());
                    for (std::size_t i = 0; i < longs.size(); ++i)
                        numbers[i].push_back(logdb_detail::LongCell(mdb, longs[i].mdb));
                    ++rows;
                }
            }
            if (progress && !progress(rows))
                throw DbError("Reading the log \"" + path + "\" was cancelled.");
        }

        log.CheckReadErrors();
        warnings = log.Warnings();
    }  // the file is closed here

    auto result = std::make_shared<QsoTable>();
    result->warnings_ = std::move(warnings);
    result->columns_ = columns;
    result->rowCount_ = rows;
    result->text_.resize(kQsoColumnCount);
    result->long_.resize(kQsoColumnCount);
    // Each column is ordered on its own: side by side on the processors there are.
    ForEachSideBySide(texts.size(), [&](std::size_t i) {
        TextColumn& column = result->text_[texts[i].column];
        dictionaries[i].Finish(column.values, column.cells);
    });
    for (std::size_t i = 0; i < longs.size(); ++i) {
        numbers[i].shrink_to_fit();
        result->long_[longs[i].column] = std::move(numbers[i]);
    }
    return result;
}

// ---------------------------------------------------------------------------------------------
// QsoTableBuilder
// ---------------------------------------------------------------------------------------------

struct QsoTableBuilder::Impl {
    explicit Impl(QsoColumnSet set) : columns(set) {
        for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
            if (!columns.Has(ColumnAt(c)))
                continue;
            if (QsoColumns()[c].isLong) {
                longColumns.push_back(c);
            } else {
                text[c] = std::make_unique<TextDictionary>();
                textColumns.push_back(c);
            }
        }
    }
    QsoColumnSet columns;
    std::size_t rows = 0;
    std::vector<std::size_t> textColumns, longColumns;  // the columns of the set, by kind
    std::array<std::unique_ptr<TextDictionary>, kQsoColumnCount> text;
    std::array<std::vector<std::int32_t>, kQsoColumnCount> numbers;
};

QsoTableBuilder::QsoTableBuilder(QsoColumnSet columns) : impl_(std::make_unique<Impl>(columns)) {}

QsoTableBuilder::~QsoTableBuilder() = default;

QsoTableBuilder& QsoTableBuilder::AddRow() {
    return AddRow({});
}

QsoTableBuilder& QsoTableBuilder::AddRow(
    const std::array<std::string_view, kQsoColumnCount>& texts) {
    for (std::size_t c : impl_->textColumns)
        impl_->text[c]->AddRow(texts[c]);
    for (std::size_t c : impl_->longColumns)
        impl_->numbers[c].push_back(0);
    ++impl_->rows;
    return *this;
}

QsoTableBuilder& QsoTableBuilder::Set(QsoColumn column, std::string_view text) {
    // A column outside the builder's set is not kept: it reads "" like any column not read.
    TextDictionary* dictionary = impl_->text[Index(column)].get();
    if (dictionary == nullptr && ColumnInfo(column).isLong)
        throw std::invalid_argument(
            "QsoTableBuilder::Set: " + std::string(ColumnInfo(column).name) + " is a long column");
    if (impl_->rows == 0)
        throw std::logic_error("QsoTableBuilder::Set before AddRow");
    if (dictionary != nullptr)
        dictionary->SetLastRow(text);
    return *this;
}

QsoTableBuilder& QsoTableBuilder::Set(QsoColumn column, std::int32_t number) {
    if (!ColumnInfo(column).isLong)
        throw std::invalid_argument(
            "QsoTableBuilder::Set: " + std::string(ColumnInfo(column).name) + " is a text column");
    if (impl_->rows == 0)
        throw std::logic_error("QsoTableBuilder::Set before AddRow");
    if (impl_->columns.Has(column))
        impl_->numbers[Index(column)].back() = number;
    return *this;
}

std::size_t QsoTableBuilder::RowCount() const {
    return impl_->rows;
}

QsoTableBuilder& QsoTableBuilder::Append(QsoTableBuilder& other) {
    if (other.impl_->columns != impl_->columns)
        throw std::invalid_argument("QsoTableBuilder::Append: the builders hold other columns");
    for (std::size_t c : impl_->textColumns)
        impl_->text[c]->Append(*other.impl_->text[c]);
    for (std::size_t c : impl_->longColumns) {
        std::vector<std::int32_t>& numbers = impl_->numbers[c];
        const std::vector<std::int32_t>& more = other.impl_->numbers[c];
        numbers.insert(numbers.end(), more.begin(), more.end());
    }
    impl_->rows += other.impl_->rows;
    other.impl_ = std::make_unique<Impl>(impl_->columns);
    return *this;
}

std::shared_ptr<const QsoTable> QsoTableBuilder::Build() {
    auto result = std::make_shared<QsoTable>();
    result->columns_ = impl_->columns;
    result->rowCount_ = impl_->rows;
    result->text_.resize(kQsoColumnCount);
    result->long_.resize(kQsoColumnCount);
    ForEachSideBySide(impl_->textColumns.size(), [&](std::size_t i) {
        const std::size_t c = impl_->textColumns[i];
        QsoTable::TextColumn& column = result->text_[c];
        impl_->text[c]->Finish(column.values, column.cells);
    });
    for (std::size_t c = 0; c < kQsoColumnCount; ++c) {
        impl_->numbers[c].shrink_to_fit();
        result->long_[c] = std::move(impl_->numbers[c]);
    }
    // The builder starts over, empty, with the same columns.
    impl_ = std::make_unique<Impl>(impl_->columns);
    return result;
}

}  // namespace corvale
