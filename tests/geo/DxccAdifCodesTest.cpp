// ADIF DXCC entity codes to the keys of the DXCC entity table.

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>

#include "geo/DxccAdifCodes.h"
#include "geo/DxccTable.h"

namespace corvale {
namespace {

TEST(DxccAdifCodes, CodesGiveTheirKeys) {
    struct Case {
        long code;
        const char* key;
    };
    const Case cases[] = {
        {1, "VE"}, {6, "KL7"}, {15, "UA0"}, {110, "KH6"}, {291, "K"}, {230, "DL"},
        {522, ""}, {517, ""},  {0, ""},     {-1, ""},     {523, ""},  {999999, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DxccKeyOfAdifCode(c.code), c.key) << c.code;
}

// Every key of the DXCC table is named by exactly one code, as data/dxcc-adif.tsv promises.
TEST(DxccAdifCodes, EveryTableKeyHasOneCode) {
    std::multiset<std::string> keys;
    for (long code = 1; code <= 1000; ++code) {
        const std::string_view key = DxccKeyOfAdifCode(code);
        if (!key.empty()) {
            EXPECT_TRUE(FindDxccCoordinate(key).has_value()) << code << " -> " << key;
            keys.emplace(key);
        }
    }
    EXPECT_EQ(keys.size(), DxccEntityTable().size());
    for (const auto& entry : DxccEntityTable())
        EXPECT_EQ(keys.count(entry.key), 1u) << entry.key;
}

}  // namespace
}  // namespace corvale
