#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace corvale {

// The record set over [PREFIX-Pri] of the DXBase Refdata database. The form holds one; nothing
// opens it, because the runs place their pins from the built-in tables. It only declares the
// table's columns and where the table lives, so that the declaration can be checked against a
// real Refdata database.
class CSRC2006PriPFX {
  public:
    enum class FieldType { Text, Bool };
    struct Field {
        std::string_view name;  // as stored in the table, bracketed: "[PREFIX]"
        FieldType type;
    };
    static constexpr int m_nFields = 12;
    static constexpr int m_nDefaultType = 2;  // a dynaset

    explicit CSRC2006PriPFX(std::string refdataMdb = {});

    // The columns in the order in which they are exchanged.
    static const std::array<Field, m_nFields>& Fields();

    void SetDefaultDBName(std::string refdataMdb) { m_strRefdataMdb = std::move(refdataMdb); }
    std::string GetDefaultDBName() const { return m_strRefdataMdb; }
    std::string GetDefaultSQL() const { return "[PREFIX-Pri]"; }

    std::string m_PREFIX, m_COUNTRY, m_LATITUDE, m_LONGITUDE;
    bool m_DEL_STATUS = false, m_QSL_FIELD_CHECK = false, m_QSL_BUREAU = false;
    std::string m_CQ_ZONE, m_ITU_ZONE, m_ARRL_ID, m_CONTINENT, m_TIMEDIFF;

  private:
    std::string m_strRefdataMdb;
};

}  // namespace corvale
