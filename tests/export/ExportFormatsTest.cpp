#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "export/AwardExport.h"

namespace corvale {
namespace {

AwardEntity Entity(std::string key, std::string_view name, EntityStatus status,
                   std::optional<PinPosition> position) {
    return {std::move(key), name, status, position, 0};
}

TEST(ExportFileName, IsTheAwardWithItsBand) {
    const std::vector<AwardEntity> none;
    EXPECT_EQ(ExportFileName({Award::Was, 0, none}, ExportFormat::GeoJson), "WAS.geojson");
    EXPECT_EQ(ExportFileName({Award::Vucc, 144, none}, ExportFormat::Kml), "VUCC-144.kml");
    EXPECT_EQ(ExportFileName({Award::Ffma, 0, none}, ExportFormat::Csv), "FFMA.csv");
}

// Fields are quoted as RFC 4180 says; an entity without a position is listed without one; a
// VUCC run names its band.
TEST(CsvText, QuotesFieldsListsEveryEntityAndNamesTheBand) {
    const std::string header = "award,key,name,status,longitude,latitude,band\r\n";
    const std::string alaska = ",needed,-153.388889,64.077778,\r\n";
    const struct {
        std::string key;
        std::string name;
        std::string line;
    } cases[] = {
        {"AK", "Alaska", "WAS,AK,Alaska" + alaska},
        {"AK", "ST. KITTS, NEVIS", "WAS,AK,\"ST. KITTS, NEVIS\"" + alaska},
        {"A\"K", "the \"big\" one", "WAS,\"A\"\"K\",\"the \"\"big\"\" one\"" + alaska},
        {"AK", "two\r\nlines", "WAS,AK,\"two\r\nlines\"" + alaska},
        {" AK", "", "WAS, AK," + alaska},  // blanks kept
    };
    for (const auto& c : cases) {
        const std::vector<AwardEntity> entities = {
            Entity(c.key, c.name, EntityStatus::Needed, PinPosition{-27610, 11534})};
        EXPECT_EQ(CsvText({Award::Was, 0, entities}), header + c.line) << c.name;
    }
    const std::vector<AwardEntity> vucc = {
        Entity("FN42", "", EntityStatus::Confirmed, PinPosition{-12772, 7654}),
        Entity("ZZ99", "", EntityStatus::Worked, std::nullopt)};
    EXPECT_EQ(CsvText({Award::Vucc, 144, vucc}),
              header +
                  "VUCC-144,FN42,,confirmed,-70.955556,42.522222,144\r\n"
                  "VUCC-144,ZZ99,,worked,,,144\r\n");
}

TEST(GeoJsonText, WritesLongitudeFirstWithSimplestyleAndLeavesOutUnplaced) {
    const std::vector<AwardEntity> was = {
        Entity("AK", "Alaska", EntityStatus::Confirmed, PinPosition{-27610, 11534}),
        Entity("DC", "", EntityStatus::Worked, std::nullopt),
        Entity("ak", "", EntityStatus::Worked, PinPosition{-27610, 11534})};
    const auto json = nlohmann::json::parse(GeoJsonText({Award::Was, 0, was}));
    EXPECT_EQ(json["type"], "FeatureCollection");
    EXPECT_FALSE(json.contains("crs"));
    ASSERT_EQ(json["features"].size(), 2u);
    const auto& alaska = json["features"][0];
    EXPECT_EQ(alaska["geometry"],
              nlohmann::json::parse(R"({"type":"Point","coordinates":[-153.388889,64.077778]})"));
    EXPECT_EQ(alaska["properties"],
              nlohmann::json::parse(R"({"award":"WAS","key":"AK","name":"Alaska",
                                        "status":"confirmed","marker-color":"#009E73"})"));
    EXPECT_FALSE(json["features"][1]["properties"].contains("name"));

    const std::vector<AwardEntity> vucc = {
        Entity("FN42", "", EntityStatus::Needed, PinPosition{-12772, 7654})};
    const auto square = nlohmann::json::parse(GeoJsonText({Award::Vucc, 432, vucc}))["features"][0];
    EXPECT_EQ(square["geometry"]["type"], "Polygon");
    EXPECT_EQ(square["geometry"]["coordinates"][0][1], nlohmann::json::parse("[-70.0, 42.0]"));
    EXPECT_EQ(square["properties"],
              nlohmann::json::parse(R"({"award":"VUCC-432","key":"FN42","status":"needed",
                                        "band":432,"fill":"#D55E00","fill-opacity":0.5,
                                        "stroke":"#D55E00"})"));
}

TEST(KmlText, WritesColoursAsAlphaBlueGreenRedInSharedStyles) {
    const std::string kml = KmlText({Award::Was, 0, {}});
    struct Case {
        std::string status;
        std::string icon;
        std::string fill;
    };
    const Case cases[] = {
        {"confirmed", "ff739e00", "80739e00"},  // #009E73
        {"worked", "ff009fe6", "80009fe6"},     // #E69F00
        {"needed", "ff005ed5", "80005ed5"},     // #D55E00
    };
    for (const Case& c : cases) {
        const std::string style = "<Style id=\"" + c.status +
                                  "\">\n      <IconStyle>\n        <color>" + c.icon + "</color>";
        EXPECT_NE(kml.find(style), std::string::npos) << c.status << "\n" << kml;
        EXPECT_NE(kml.find("<PolyStyle>\n        <color>" + c.fill), std::string::npos) << c.status;
        EXPECT_NE(kml.find("<Folder>\n      <name>" + c.status + "</name>"), std::string::npos)
            << c.status;
    }
}

TEST(KmlText, EscapesWhatTheLogHolds) {
    const struct {
        std::string key;
        std::string written;
    } cases[] = {
        {"<a&b>", "<name>&lt;a&amp;b&gt;</name>"},
        {"K\x01", "<name>K\xEF\xBF\xBD</name>"},  // a control character
        {"K\xFF", "<name>K\xEF\xBF\xBD</name>"},  // not UTF-8
        {"K\xC3\xA9", "<name>K\xC3\xA9</name>"},  // UTF-8 kept
    };
    for (const auto& c : cases) {
        const std::vector<AwardEntity> entities = {
            Entity(c.key, "", EntityStatus::Worked, PinPosition{-17555, 7020})};
        const std::string kml = KmlText({Award::Dxcc, 0, entities});
        EXPECT_NE(kml.find(c.written), std::string::npos) << c.written << "\n" << kml;
        EXPECT_NE(kml.find("<coordinates>-97.527778,39</coordinates>"), std::string::npos);
    }
}

}  // namespace
}  // namespace corvale
