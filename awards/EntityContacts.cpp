#include "awards/EntityContacts.h"

#include "awards/AwardRules.h"

namespace corvale {

std::vector<EntityContact> ReadEntityContacts(const RunRequest& request, CSRC2006QSO& qsoSet,
                                              std::string_view key) {
    const AwardRules& rules = RulesFor(request.award);
    qsoSet.m_strSort = std::string(rules.sortText);
    qsoSet.m_columnsRead = rules.columns;
    for (QsoColumn listed :
         {QsoColumn::Date, QsoColumn::Time, QsoColumn::Call, QsoColumn::Band, QsoColumn::Mode})
        qsoSet.m_columnsRead.Add(listed);
    qsoSet.Open();
    std::vector<EntityContact> contacts;
    try {
        for (; !qsoSet.IsEOF() && !qsoSet.IsBOF(); qsoSet.MoveNext()) {
            if (RecordKey(rules, qsoSet) != key || !rules.accepts(qsoSet, request))
                continue;
            contacts.push_back({std::string(qsoSet.m_QSO_DATE), std::string(qsoSet.m_QSO_TIME),
                                std::string(qsoSet.m_QSO_CALL), std::string(qsoSet.m_QSO_BAND),
                                std::string(qsoSet.m_QSO_MODE), std::string(qsoSet.m_QSO_CONFIRM),
                                RecordConfirms(rules, qsoSet)});
        }
    } catch (...) {
        qsoSet.Close();
        throw;
    }
    qsoSet.Close();
    return contacts;
}

}  // namespace corvale
