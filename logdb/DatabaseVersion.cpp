#include "logdb/DatabaseVersion.h"

#include <climits>
#include <cstdint>
#include <optional>

#include "logdb/DbError.h"
#include "logdb/MdbLog.h"

namespace corvale {

namespace {

struct VersionText {
    std::optional<std::string> text;  // the version; empty when the table does not answer
    std::string problem;              // why not, in words
};

// Opens the log (DbError when the file itself cannot be read) and reads field 0 of the first
// row of [VERSION], as text in whatever type the column has.
VersionText ReadVersionText(const std::string& path) {
    logdb_detail::MdbLog log(path);
    VersionText result;
    MdbTableDef* table = nullptr;
    try {
        table = log.OpenTable("VERSION");
    } catch (const DbError&) {
        result.problem = "the file is damaged: its table [VERSION] cannot be read";
        return result;
    }
    if (table == nullptr) {
        result.problem = "the file has no table [VERSION]";
        return result;
    }
    if (table->num_cols == 0) {
        result.problem = "the table [VERSION] has no column";
        return result;
    }
    const auto* first = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, 0));
    logdb_detail::LibmdbQuiet quiet;
    try {
        logdb_detail::TableRows rows(log, table, "[VERSION]");
        if (!rows.Next()) {
            result.problem = "the table [VERSION] has no row";
            return result;
        }
    } catch (const DbError&) {
        result.problem =
            "the file is truncated or damaged: the rows of table [VERSION] cannot "
            "be read";
        return result;
    }
    // Read as text: a column of another type (a number, say) reads as the text that it prints
    // as, which is what DAO's text value of the field would be.
    logdb_detail::TextCell cell(log.Handle(), first);
    result.text = std::string(cell.View());
    return result;
}

}  // namespace

std::string ReadDatabaseVersion(const std::string& path) {
    VersionText version = ReadVersionText(path);
    if (!version.text)
        logdb_detail::ThrowLogError(path, version.problem);
    return *version.text;
}

bool IsSupportedDatabaseVersion(std::string_view versionText) {
    // C atoi: leading white space and one sign skipped, then the digits up to the first other
    // character (or the end); no digits count as 0. A number too large for int is not 6 (atoi
    // itself is undefined there).
    std::size_t pos = 0;
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (pos < versionText.size() && isSpace(versionText[pos]))
        ++pos;
    bool negative = false;
    if (pos < versionText.size() && (versionText[pos] == '+' || versionText[pos] == '-')) {
        negative = versionText[pos] == '-';
        ++pos;
    }
    std::int64_t value = 0;
    while (pos < versionText.size() && versionText[pos] >= '0' && versionText[pos] <= '9') {
        value = value * 10 + (versionText[pos] - '0');
        if (value > INT_MAX)
            return false;
        ++pos;
    }
    if (negative)
        value = -value;
    return value == 6;
}

bool CheckDatabaseVersion(const std::string& path) {
    const VersionText version = ReadVersionText(path);
    return version.text && IsSupportedDatabaseVersion(*version.text);
}

}  // namespace corvale
