#include "logdb/CSRC2006PriPFX.h"

#include <utility>

namespace corvale {

CSRC2006PriPFX::CSRC2006PriPFX(std::string refdataMdb) : m_strRefdataMdb(std::move(refdataMdb)) {}

const std::array<CSRC2006PriPFX::Field, CSRC2006PriPFX::m_nFields>& CSRC2006PriPFX::Fields() {
    static constexpr std::array<Field, m_nFields> kFields{{
        {"[PREFIX]", FieldType::Text},
        {"[COUNTRY]", FieldType::Text},
        {"[LATITUDE]", FieldType::Text},
        {"[LONGITUDE]", FieldType::Text},
        {"[DEL-STATUS]", FieldType::Bool},
        {"[QSL-FIELD-CHECK]", FieldType::Bool},
        {"[QSL-BUREAU]", FieldType::Bool},
        {"[CQ-ZONE]", FieldType::Text},
        {"[ITU-ZONE]", FieldType::Text},
        {"[ARRL-ID]", FieldType::Text},
        {"[CONTINENT]", FieldType::Text},
        {"[TIMEDIFF]", FieldType::Text},
    }};
    return kFields;
}

}  // namespace corvale
