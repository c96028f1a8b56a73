#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "awards/AwardRun.h"
#include "logdb/CSRC2006QSO.h"

namespace corvale {

// One contact that counts for an entity, as the map's contact list shows it.
struct EntityContact {
    std::string date;  // YYYYMMDD, as the log holds it
    std::string time;
    std::string call;
    std::string band;  // the log's band code
    std::string mode;
    std::string confirm;    // [QSO-CONFIRM] as the log holds it
    bool confirms = false;  // the contact confirms the entity for the award
};

// The contacts that the run of `request` accepted for the entity `key`, in the award's order.
// The runs read only what they count; this reads the log once more, with the award's own
// columns and the five that the list shows, and keeps only that entity's rows. `qsoSet` must
// be closed; it names the log in GetDefaultDBName() and is closed again at the end. Throws
// DbError.
std::vector<EntityContact> ReadEntityContacts(const RunRequest& request, CSRC2006QSO& qsoSet,
                                              std::string_view key);

}  // namespace corvale
