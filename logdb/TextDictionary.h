#pragma once

// Internal to logdb: interning the values of one text column while rows are added.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvale::logdb_detail {

// Collects one text column: the distinct values (values[0] is ""), and for every row the index
// of its value. The hash index lives only while the column is built.
class TextDictionary {
  public:
    TextDictionary();

    void ReserveRows(std::size_t rows) { cells_.reserve(rows); }
    void AddRow(std::string_view value) { cells_.push_back(Intern(value)); }
    void SetLastRow(std::string_view value);
    // Adds the rows of `other` (a column built apart) after these, and empties it. Its value
    // indexes are translated when the column is finished, in the one pass that orders them.
    void Append(TextDictionary& other);

    // Hands over the column and leaves this object empty: the distinct values in byte order
    // ("" first), so that comparing two rows' indexes compares their texts, and the value index
    // of each row.
    void Finish(std::vector<std::string>& values, std::vector<std::uint32_t>& cells);

  private:
    std::uint32_t Intern(std::string_view value);
    void Grow();

    // Rows that came before cells_: rows added here (no translation) or appended from another
    // dictionary (`translation`: that dictionary's value index -> this one's).
    struct Run {
        std::vector<std::uint32_t> cells;
        std::vector<std::uint32_t> translation;
    };

    static constexpr std::uint32_t kFree = 0xFFFFFFFFu;
    std::vector<std::string> values_;
    std::vector<Run> runs_;
    std::vector<std::uint32_t> cells_;     // the rows added since the last run
    std::vector<std::uint32_t> slots_;     // open addressing: value index or kFree
    std::vector<std::uint32_t> slotHash_;  // the hash of the value in each slot
    std::uint32_t last_ = 0;               // the value of the row before (runs are common)
};

}  // namespace corvale::logdb_detail
