#include "awards/AwardRules.h"

#include <array>

#include "awards/FfmaSquares.h"
#include "awards/UsStateTable.h"
#include "geo/DxccTable.h"
#include "geo/IotaTable.h"
#include "geo/Locator.h"

namespace corvale {

namespace {

using namespace std::string_view_literals;

constexpr std::array<std::string_view, 3> kCodes123 = {"1", "2", "3"};
constexpr std::array<std::string_view, 2> kCodes13 = {"1", "3"};

// Grid awards count contacts from 1 January 1983 on; dates are YYYYMMDD text.
constexpr std::string_view kFirstGridDate = "19830101";
constexpr std::string_view kSixMetreBand = "1";

bool IsUsPrefix(const CSRC2006QSO& r, const RunRequest&) {
    const std::string_view prefix = r.m_QSO_PREFIX;
    return prefix == "K"sv || prefix == "KH6"sv || prefix == "KL7"sv;
}

bool IsCountedDxccPrefix(const CSRC2006QSO& r, const RunRequest&) {
    return !IsExcludedDxccPrefix(r.m_QSO_PREFIX);
}

bool IsCountedIotaReference(const CSRC2006QSO& r, const RunRequest&) {
    return !IsExcludedIotaReference(r.m_QSO_IOTA);
}

bool IsVuccContact(const CSRC2006QSO& r, const RunRequest& request) {
    return r.m_QSO_BAND == request.vuccBand && r.m_QSO_DATE >= kFirstGridDate &&
           r.m_QSO_SAT == "None"sv;
}

bool IsFfmaContact(const CSRC2006QSO& r, const RunRequest&) {
    const char first = r.m_QSO_GRID.front();
    return (first == 'C' || first == 'D' || first == 'E' || first == 'F') &&
           r.m_QSO_BAND == kSixMetreBand && r.m_QSO_DATE >= kFirstGridDate &&
           IsFfmaGrid(r.m_QSO_GRID);
}

template <std::optional<std::string_view> (*Find)(std::string_view)>
std::optional<std::string> LocateInTable(std::string_view key, std::string*) {
    auto coordinate = Find(key);
    if (!coordinate)
        return std::nullopt;
    return std::string(*coordinate);
}

std::optional<std::string> LocateGrid(std::string_view key, std::string* diagnostics) {
    return GridToPin(key, diagnostics);
}

using C = QsoColumn;
// Every run reads the confirmation and validity columns besides its own.
QsoColumnSet Reads(std::initializer_list<QsoColumn> own) {
    QsoColumnSet columns(own);
    return columns.Add(C::Confirm).Add(C::Valid);
}

const std::array<AwardRules, 5> kRules = {{
    {Award::Ffma, "FFMA", "FFMApins.lst", "[QSO-BAND], [QSO-GRID]",
     Reads({C::Grid, C::Band, C::Date}), &CSRC2006QSO::m_QSO_GRID, 4, IsFfmaContact, kCodes13, 1,
     true, LocateGrid, SquaresKind::Squares, FfmaUniverse},
    {Award::Was, "WAS", "WASpins.lst", "[QSO-STATE]", Reads({C::State, C::Prefix}),
     &CSRC2006QSO::m_QSO_STATE, 0, IsUsPrefix, kCodes123, 1, true,
     LocateInTable<FindStateCoordinate>, SquaresKind::None, WasUniverse},
    {Award::Dxcc, "DXCC", "DXCCpins.lst", "[QSO-PREFIX]", Reads({C::Prefix}),
     &CSRC2006QSO::m_QSO_PREFIX, 0, IsCountedDxccPrefix, kCodes123, 1, true,
     LocateInTable<FindDxccCoordinate>, SquaresKind::None, DxccUniverse},
    {Award::Iota, "IOTA", "IOTApins.lst", "[QSO-IOTA]", Reads({C::Iota}), &CSRC2006QSO::m_QSO_IOTA,
     0, IsCountedIotaReference, kCodes13, 1, true, LocateInTable<FindIotaCoordinate>,
     SquaresKind::None, IotaUniverse},
    {Award::Vucc, "VUCC", "VUCCpins.lst", "[QSO-SAT], [QSO-BAND], [QSO-GRID]",
     Reads({C::Grid, C::Band, C::Date, C::Sat}), &CSRC2006QSO::m_QSO_GRID, 4, IsVuccContact,
     kCodes123, 0, false, LocateGrid, SquaresKind::SquaresAndFields, NoUniverse},
}};

}  // namespace

const AwardRules& RulesFor(Award award) {
    return kRules[static_cast<std::size_t>(award)];
}

bool RecordConfirms(const AwardRules& rules, const CSRC2006QSO& record) {
    if (record.m_QSO_VALID < rules.minValid || record.m_QSO_VALID > 3)
        return false;
    for (std::string_view code : rules.confirmCodes) {
        if (record.m_QSO_CONFIRM == code)
            return true;
    }
    return false;
}

}  // namespace corvale
