#include <libxml/chvalid.h>
#include <libxml/xmlstring.h>
#include <libxml/xmlwriter.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>

#include "export/AwardExport.h"
#include "export/EntityShape.h"
#include "export/StatusPalette.h"

namespace corvale {

namespace {

// KML writes a colour as alpha, blue, green, red: "ff739e00" for #009E73.
std::string KmlColour(EntityStatus status, std::uint8_t alpha) {
    const StatusColour colour = ColourOf(status);
    char text[9];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", alpha, colour.blue, colour.green,
                  colour.red);
    return text;
}

// Text that XML 1.0 can hold: a byte that is not UTF-8, or a character that XML forbids (most
// control characters), becomes U+FFFD.
std::string XmlText(std::string_view text) {
    std::string safe;
    safe.reserve(text.size());
    const auto* bytes = reinterpret_cast<const xmlChar*>(text.data());
    std::size_t at = 0;
    while (at < text.size()) {
        int length = static_cast<int>(std::min<std::size_t>(4, text.size() - at));
        const int character = xmlGetUTF8Char(bytes + at, &length);
        if (character < 0 || !xmlIsCharQ(character)) {
            safe += "\xEF\xBF\xBD";
            ++at;
            continue;
        }
        safe.append(text.substr(at, static_cast<std::size_t>(length)));
        at += static_cast<std::size_t>(length);
    }
    return safe;
}

struct BufferFree {
    void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};
struct WriterFree {
    void operator()(xmlTextWriter* writer) const { xmlFreeTextWriter(writer); }
};

// libxml2's text writer, each call checked.
class KmlWriter {
  public:
    KmlWriter() : buffer_(xmlBufferCreate()) {
        if (!buffer_)
            Fail();
        writer_.reset(xmlNewTextWriterMemory(buffer_.get(), 0));
        if (!writer_)
            Fail();
        Check(xmlTextWriterSetIndent(writer_.get(), 1));
        Check(xmlTextWriterSetIndentString(writer_.get(), Xml("  ")));
        Check(xmlTextWriterStartDocument(writer_.get(), nullptr, "UTF-8", nullptr));
    }

    void Start(const char* element) {
        Check(xmlTextWriterStartElement(writer_.get(), Xml(element)));
    }
    void End() { Check(xmlTextWriterEndElement(writer_.get())); }
    void Attribute(const char* name, std::string_view value) {
        Check(xmlTextWriterWriteAttribute(writer_.get(), Xml(name), Xml(XmlText(value).c_str())));
    }
    void Element(const char* element, std::string_view text) {
        Check(xmlTextWriterWriteElement(writer_.get(), Xml(element), Xml(XmlText(text).c_str())));
    }

    std::string Finish() {
        Check(xmlTextWriterEndDocument(writer_.get()));
        Check(xmlTextWriterFlush(writer_.get()));
        return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_.get())),
                           static_cast<std::size_t>(xmlBufferLength(buffer_.get())));
    }

  private:
    static const xmlChar* Xml(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
    static void Check(int result) {
        if (result < 0)
            Fail();
    }
    [[noreturn]] static void Fail() { throw std::runtime_error("Cannot build the KML text."); }

    std::unique_ptr<xmlBuffer, BufferFree> buffer_;
    std::unique_ptr<xmlTextWriter, WriterFree> writer_;
};

constexpr std::uint8_t kOpaque = 0xFF;
constexpr std::uint8_t kHalf = 0x80;

void WriteStyle(KmlWriter& kml, EntityStatus status) {
    kml.Start("Style");
    kml.Attribute("id", StatusWord(status));
    kml.Start("IconStyle");
    kml.Element("color", KmlColour(status, kOpaque));
    kml.End();
    kml.Start("LineStyle");
    kml.Element("color", KmlColour(status, kOpaque));
    kml.End();
    kml.Start("PolyStyle");
    kml.Element("color", KmlColour(status, kHalf));
    kml.End();
    kml.End();
}

std::string Coordinates(const EntityShape& shape) {
    std::string text;
    for (const LonLat& point : shape.points) {
        if (!text.empty())
            text += ' ';
        text += FormatDegrees(point.longitude) + "," + FormatDegrees(point.latitude);
    }
    return text;
}

void WritePlacemark(KmlWriter& kml, const AwardEntity& entity, const EntityShape& shape) {
    kml.Start("Placemark");
    kml.Element("name", entity.key);
    std::string description(StatusWord(entity.status));
    if (!entity.name.empty())
        description = std::string(entity.name) + ", " + description;
    kml.Element("description", description);
    kml.Element("styleUrl", "#" + std::string(StatusWord(entity.status)));
    if (shape.polygon) {
        kml.Start("Polygon");
        kml.Start("outerBoundaryIs");
        kml.Start("LinearRing");
        kml.Element("coordinates", Coordinates(shape));
        kml.End();
        kml.End();
        kml.End();
    } else {
        kml.Start("Point");
        kml.Element("coordinates", Coordinates(shape));
        kml.End();
    }
    kml.End();
}

}  // namespace

std::string KmlText(const ExportedAward& award) {
    const bool gridSquares = AwardHasSquares(award.award);
    KmlWriter kml;
    kml.Start("kml");
    kml.Attribute("xmlns", "http://www.opengis.net/kml/2.2");
    kml.Start("Document");
    kml.Element("name", ExportLabel(award));
    for (EntityStatus status : kAllStatuses)
        WriteStyle(kml, status);
    for (EntityStatus status : kAllStatuses) {
        kml.Start("Folder");
        kml.Element("name", StatusWord(status));
        for (const AwardEntity& entity : award.entities) {
            if (entity.status != status)
                continue;
            if (const auto shape = ShapeOf(entity, gridSquares))
                WritePlacemark(kml, entity, *shape);
        }
        kml.End();
    }
    kml.End();
    kml.End();
    return kml.Finish();
}

}  // namespace corvale
