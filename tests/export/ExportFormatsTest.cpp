#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "CaseFile.h"
#include "export/AwardExport.h"

namespace corvale {
namespace {

constexpr char kCases[] = "export/cases/formats.tsv";

AwardEntity Entity(std::string key, std::string_view name, EntityStatus status,
                   std::optional<PinPosition> position) {
    return {std::move(key), name, status, position, 0};
}

// Fields are quoted as RFC 4180 says; an entity without a position is listed without one; a
// VUCC run names its band.
TEST(CsvText, QuotesFieldsListsEveryEntityAndNamesTheBand) {
    const std::string header = "award,key,name,status,longitude,latitude,band\r\n";
    for (const test::Case& c : test::ReadCases(kCases, "csv")) {
        const std::vector<AwardEntity> entities = {
            Entity(c[0], c[1], EntityStatus::Needed, PinPosition{-27610, 11534})};
        EXPECT_EQ(CsvText({Award::Was, 0, entities}), header + c[2]) << c.name;
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
    for (const test::Case& c : test::ReadCases(kCases, "kml-style")) {
        const std::string style =
            "<Style id=\"" + c.name + "\">\n      <IconStyle>\n        <color>" + c[0] + "</color>";
        EXPECT_NE(kml.find(style), std::string::npos) << c.name << "\n" << kml;
        EXPECT_NE(kml.find("<PolyStyle>\n        <color>" + c[1]), std::string::npos) << c.name;
        EXPECT_NE(kml.find("<Folder>\n      <name>" + c.name + "</name>"), std::string::npos)
            << c.name;
    }
}

TEST(KmlText, EscapesWhatTheLogHolds) {
    for (const test::Case& c : test::ReadCases(kCases, "kml-name")) {
        const std::vector<AwardEntity> entities = {
            Entity(c[0], "", EntityStatus::Worked, PinPosition{-17555, 7020})};
        const std::string kml = KmlText({Award::Dxcc, 0, entities});
        EXPECT_NE(kml.find(c[1]), std::string::npos) << c.name << "\n" << kml;
        EXPECT_NE(kml.find("<coordinates>-97.527778,39</coordinates>"), std::string::npos);
    }
}

}  // namespace
}  // namespace corvale
