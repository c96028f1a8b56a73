#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvale {

// The columns of [QSO-TAB], in table order.
enum class QsoColumn : std::uint8_t {
    Date,
    Time,
    Call,
    Rsts,
    Rstr,
    Name,
    Qth,
    Note,
    Prefix,
    CqZone,
    ItuZone,
    Mode,
    Submode,
    Freq,
    Band,
    Wpx,
    State,
    County,
    Iota,
    Grid,
    TenTen,
    Spec1,
    Spec2,
    Confirm,
    Qsls,
    QslSent,
    QslVia,
    MgrNumb,
    Valid,
    Award,
    Select,
    Category,
    Sat,
    QslNumber,
    Number,
    OprCall,
    QslrDate,
    Power,
    LotwRec,
    EndTime,
    SatMode,
};

inline constexpr std::size_t kQsoColumnCount = 41;

struct QsoColumnInfo {
    std::string_view name;  // as stored in the table, without brackets: "QSO-DATE"
    bool isLong;            // 32-bit signed; every other column is text
};

const std::array<QsoColumnInfo, kQsoColumnCount>& QsoColumns();

inline const QsoColumnInfo& ColumnInfo(QsoColumn column) {
    return QsoColumns()[static_cast<std::size_t>(column)];
}

// Which columns a read decodes. Columns outside the set read as "" or 0.
class QsoColumnSet {
  public:
    static QsoColumnSet All() { return QsoColumnSet{}.Set(std::bitset<kQsoColumnCount>{}.set()); }
    QsoColumnSet() = default;
    QsoColumnSet(std::initializer_list<QsoColumn> columns) {
        for (QsoColumn c : columns)
            bits_.set(static_cast<std::size_t>(c));
    }
    bool Has(QsoColumn c) const { return bits_.test(static_cast<std::size_t>(c)); }
    QsoColumnSet& Add(QsoColumn c) {
        bits_.set(static_cast<std::size_t>(c));
        return *this;
    }
    bool operator==(const QsoColumnSet&) const = default;

  private:
    QsoColumnSet& Set(std::bitset<kQsoColumnCount> bits) {
        bits_ = bits;
        return *this;
    }
    std::bitset<kQsoColumnCount> bits_;
};

}  // namespace corvale
