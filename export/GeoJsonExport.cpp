#include <nlohmann/json.hpp>
#include <utility>

#include "export/AwardExport.h"
#include "export/EntityShape.h"
#include "export/StatusPalette.h"

namespace corvale {

namespace {

using Json = nlohmann::ordered_json;

constexpr double kFillOpacity = 0.5;

Json Position(const LonLat& point) {
    return Json::array({point.longitude, point.latitude});  // RFC 7946: longitude first
}

Json Geometry(const EntityShape& shape) {
    if (!shape.polygon)
        return {{"type", "Point"}, {"coordinates", Position(shape.points.front())}};
    Json ring = Json::array();
    for (const LonLat& point : shape.points)
        ring.push_back(Position(point));
    return {{"type", "Polygon"}, {"coordinates", Json::array({std::move(ring)})}};
}

}  // namespace

std::string GeoJsonText(const ExportedAward& award) {
    const std::string label = ExportLabel(award);
    const bool gridSquares = AwardHasSquares(award.award);
    Json features = Json::array();
    for (const AwardEntity& entity : award.entities) {
        const auto shape = ShapeOf(entity, gridSquares);
        if (!shape)
            continue;
        Json properties = {{"award", label}, {"key", entity.key}};
        if (!entity.name.empty())
            properties["name"] = entity.name;
        properties["status"] = StatusWord(entity.status);
        if (award.bandMegahertz != 0)
            properties["band"] = award.bandMegahertz;
        // The simplestyle properties that web maps and geojson.io draw with.
        const std::string_view colour = ColourOf(entity.status).hex;
        if (shape->polygon) {
            properties["fill"] = colour;
            properties["fill-opacity"] = kFillOpacity;
            properties["stroke"] = colour;
        } else {
            properties["marker-color"] = colour;
        }
        features.push_back({{"type", "Feature"},
                            {"geometry", Geometry(*shape)},
                            {"properties", std::move(properties)}});
    }
    // Keys come from the log; a byte that is not UTF-8 is replaced rather than failing.
    return Json{{"type", "FeatureCollection"}, {"features", std::move(features)}}.dump(
               -1, ' ', false, Json::error_handler_t::replace) +
           "\n";
}

}  // namespace corvale
