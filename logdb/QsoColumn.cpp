#include "logdb/QsoColumn.h"

namespace corvale {

const std::array<QsoColumnInfo, kQsoColumnCount>& QsoColumns() {
    static constexpr std::array<QsoColumnInfo, kQsoColumnCount> kColumns{{
        {"QSO-DATE", false},       {"QSO-TIME", false},     {"QSO-CALL", false},
        {"QSO-RSTS", false},       {"QSO-RSTR", false},     {"QSO-NAME", false},
        {"QSO-QTH", false},        {"QSO-NOTE", false},     {"QSO-PREFIX", false},
        {"QSO-CQ-ZONE", false},    {"QSO-ITU-ZONE", false}, {"QSO-MODE", false},
        {"QSO-SUBMODE", false},    {"QSO-FREQ", false},     {"QSO-BAND", false},
        {"QSO-WPX", false},        {"QSO-STATE", false},    {"QSO-COUNTY", false},
        {"QSO-IOTA", false},       {"QSO-GRID", false},     {"QSO-TEN-TEN", false},
        {"QSO-SPEC1", false},      {"QSO-SPEC2", false},    {"QSO-CONFIRM", false},
        {"QSO-QSLS", false},       {"QSO-QSL-SENT", false}, {"QSO-QSL-VIA", false},
        {"QSO-MGR-NUMB", false},   {"QSO-VALID", true},     {"QSO-AWARD", true},
        {"QSO-SELECT", true},      {"QSO-CATEGORY", true},  {"QSO-SAT", false},
        {"QSO-QSL-NUMBER", false}, {"QSO-NUMBER", true},    {"QSO-OPRCALL", false},
        {"QSO-QSLRDATE", false},   {"QSO-POWER", false},    {"QSO-LOTWREC", false},
        {"QSO-ENDTIME", false},    {"QSO-SATMODE", false},
    }};
    return kColumns;
}

}  // namespace corvale
