#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logdb/LogReadOptions.h"
#include "logdb/QsoColumn.h"
#include "logdb/QsoTable.h"

namespace corvale {

// The record set over [QSO-TAB]: opened with a sort, walked both ways, every column bound to a
// member of its own name. After every move the members hold the current row (the columns that
// were read; the others stay "" and 0). A text member views the value in the rows the set walks:
// the view stays good until the set closes, also after further moves.
class CSRC2006QSO {
  public:
    explicit CSRC2006QSO(std::string sourceMdb = {});
    virtual ~CSRC2006QSO() = default;

    // Comma-separated bracketed column names, "[QSO-SAT], [QSO-BAND], [QSO-GRID]"; empty keeps
    // the table order. Set before Open.
    std::string m_strSort;
    // The columns that the members receive: Open(void) reads them from the file, Open(table)
    // binds those of them that the table holds. Each award run binds only what it reads.
    QsoColumnSet m_columnsRead = QsoColumnSet::All();
    // How Open(void) reads an ADIF log: the confirmations that count, the country file.
    LogReadOptions m_logOptions;

    void SetDefaultDBName(std::string sourceMdb) { m_strSourceMdb = std::move(sourceMdb); }
    std::string GetDefaultDBName() const { return m_strSourceMdb; }
    std::string GetDefaultSQL() const { return "[QSO-TAB]"; }

    // Reads the log named by GetDefaultDBName() (either kind, told by its content) and orders it
    // by m_strSort. Throws DbError.
    // The columns read are m_columnsRead and the columns that m_strSort names.
    void Open(const QsoTable::ReadProgress& progress = {});
    // Walks rows already read (one read of the log serving several runs). Throws DbError when
    // m_strSort names a column that is not in the table.
    void Open(std::shared_ptr<const QsoTable> rows);
    bool IsOpen() const { return static_cast<bool>(table_); }
    void Close();

    bool IsEOF() const;
    bool IsBOF() const;
    void MoveFirst();
    void MoveNext();
    void MovePrev();

    std::size_t GetRecordCount() const { return recordCount_; }
    // What the user should hear of the read of the rows walked: for an ADIF log that this set
    // read itself, what the read came to (AdifReadSummary); then the table's warnings
    // (QsoTable::Warnings). None when closed.
    std::vector<std::string> LogWarnings() const;
    // 0-based position of the current record in the sorted order.
    std::size_t GetAbsolutePosition() const { return position_; }

    // Text and long members, in table order.
    std::string_view m_QSO_DATE, m_QSO_TIME, m_QSO_CALL, m_QSO_RSTS, m_QSO_RSTR, m_QSO_NAME,
        m_QSO_QTH, m_QSO_NOTE, m_QSO_PREFIX, m_QSO_CQ_ZONE, m_QSO_ITU_ZONE, m_QSO_MODE,
        m_QSO_SUBMODE, m_QSO_FREQ, m_QSO_BAND, m_QSO_WPX, m_QSO_STATE, m_QSO_COUNTY, m_QSO_IOTA,
        m_QSO_GRID, m_QSO_TEN_TEN, m_QSO_SPEC1, m_QSO_SPEC2, m_QSO_CONFIRM, m_QSO_QSLS,
        m_QSO_QSL_SENT, m_QSO_QSL_VIA, m_QSO_MGR_NUMB;
    std::int32_t m_QSO_VALID = 0, m_QSO_AWARD = 0, m_QSO_SELECT = 0, m_QSO_CATEGORY = 0;
    std::string_view m_QSO_SAT, m_QSO_QSL_NUMBER;
    std::int32_t m_QSO_NUMBER = 0;
    std::string_view m_QSO_OPRCALL, m_QSO_QSLRDATE, m_QSO_POWER, m_QSO_LOTWREC, m_QSO_ENDTIME,
        m_QSO_SATMODE;

    // The member bound to a text column; nullptr for a long column (and the other way round).
    std::string_view* TextMember(QsoColumn column);
    std::int32_t* LongMember(QsoColumn column);

  private:
    void Load();       // copies the current row into the members
    void ClearRead();  // empties the members of the columns read ("" and 0), at BOF and EOF
    void ClearAll();   // empties every member
    std::vector<QsoColumn> SortColumns() const;  // m_strSort parsed; throws DbError
    [[noreturn]] void FailSort(const std::string& reason) const;

    // The columns copied into the members at every move, their cells gathered in sort order
    // when the set opens: the walk then reads memory in order instead of jumping between rows.
    struct BoundText {
        std::string_view CSRC2006QSO::*member;
        std::span<const std::string> values;
        std::vector<std::uint32_t> cells;  // index into values, one per record in sort order
    };
    struct BoundLong {
        std::int32_t CSRC2006QSO::*member;
        std::vector<std::int32_t> numbers;  // one per record in sort order
    };

    std::string m_strSourceMdb;
    std::vector<BoundText> boundText_;
    std::vector<BoundLong> boundLong_;
    std::shared_ptr<const QsoTable> table_;
    std::vector<std::string> readSummary_;  // of an ADIF log read by Open(progress)
    std::size_t recordCount_ = 0;
    std::size_t position_ = 0;  // == recordCount_ at EOF
    bool bof_ = true;
};

// The record set that the record view framework holds in the document: the same definition under
// a second name.
class CCorvaleSet : public CSRC2006QSO {
  public:
    using CSRC2006QSO::CSRC2006QSO;
};

}  // namespace corvale
