#include <string>

#include "export/AwardExport.h"
#include "export/EntityShape.h"
#include "export/StatusPalette.h"

namespace corvale {

namespace {

// RFC 4180: a field holding a comma, a quote or a line break is quoted, its quotes doubled.
void AppendField(std::string& line, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        line += field;
        return;
    }
    line += '"';
    for (char c : field) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

}  // namespace

std::string CsvText(const ExportedAward& award) {
    const std::string label = ExportLabel(award);
    const std::string band = award.bandMegahertz != 0 ? std::to_string(award.bandMegahertz) : "";
    std::string text = "award,key,name,status,longitude,latitude,band\r\n";
    for (const AwardEntity& entity : award.entities) {
        std::string longitude, latitude;
        if (entity.position) {
            longitude = FormatDegrees(DegreesOfPinUnits(entity.position->longitude));
            latitude = FormatDegrees(DegreesOfPinUnits(entity.position->latitude));
        }
        const std::string_view fields[] = {
            label, entity.key, entity.name, StatusWord(entity.status), longitude, latitude, band};
        bool first = true;
        for (std::string_view field : fields) {
            if (!first)
                text += ',';
            first = false;
            AppendField(text, field);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace corvale
