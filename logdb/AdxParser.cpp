// The .adx parser: ADIF as XML, read as a stream by libxml2's xmlTextReader. The root ADX holds
// HEADER and RECORDS; RECORDS holds RECORD elements; HEADER and each RECORD hold the fields as
// child elements, APP and USERDEF ones named by their attributes. No entity of a DTD is loaded
// or substituted, and nothing is fetched from the network.

#include <libxml/xmlreader.h>

#include <memory>
#include <string>

#include "logdb/AdifLog.h"
#include "shell/AsciiCase.h"

namespace corvale::logdb_detail {

namespace {

struct FreeReader {
    void operator()(xmlTextReaderPtr reader) const { xmlFreeTextReader(reader); }
};

struct FreeXmlText {
    void operator()(xmlChar* text) const { xmlFree(text); }
};
using XmlText = std::unique_ptr<xmlChar, FreeXmlText>;

std::string_view View(const xmlChar* text) {
    return text == nullptr ? std::string_view{} : reinterpret_cast<const char*>(text);
}

// The first error that libxml2 reports, with its line.
struct ErrorCollector {
    std::string message;
    int line = 0;

    static void Collect(void* self, xmlErrorPtr error) {
        auto* collector = static_cast<ErrorCollector*>(self);
        if (error == nullptr || error->level < XML_ERR_ERROR || !collector->message.empty())
            return;
        // One sentence: libxml2's messages may span lines.
        std::string text;
        for (const char* c = error->message != nullptr ? error->message : ""; *c != '\0'; ++c) {
            const bool blank = *c == '\n' || *c == ' ';
            if (!blank)
                text.push_back(*c);
            else if (!text.empty() && text.back() != ' ')
                text.push_back(' ');
        }
        while (!text.empty() && text.back() == ' ')
            text.pop_back();
        collector->message = text.empty() ? "unknown error" : text;
        collector->line = error->line;
    }
};

// The value of the current element's attribute of that name (compared without case).
std::string Attribute(xmlTextReaderPtr reader, std::string_view name) {
    std::string value;
    if (xmlTextReaderMoveToFirstAttribute(reader) != 1)
        return value;
    do {
        if (EqualsIgnoringAsciiCase(View(xmlTextReaderConstLocalName(reader)), name)) {
            value = View(xmlTextReaderConstValue(reader));
            break;
        }
    } while (xmlTextReaderMoveToNextAttribute(reader) == 1);
    xmlTextReaderMoveToElement(reader);
    return value;
}

// The field name of the current element: APP PROGRAMID="P" FIELDNAME="F" is APP_P_F, USERDEF
// FIELDNAME="F" is F.
std::string FieldName(xmlTextReaderPtr reader, std::string_view element) {
    if (EqualsIgnoringAsciiCase(element, "APP"))
        return "APP_" + Attribute(reader, "PROGRAMID") + "_" + Attribute(reader, "FIELDNAME");
    if (EqualsIgnoringAsciiCase(element, "USERDEF"))
        return Attribute(reader, "FIELDNAME");
    return std::string(element);
}

// libxml2 reports some errors (of the input's encoding, of reading) through its thread's global
// handlers, which print to standard error. While one of these lives they are collected instead.
class GlobalErrorsCollected {
  public:
    explicit GlobalErrorsCollected(ErrorCollector& errors) {
        xmlSetStructuredErrorFunc(&errors, &ErrorCollector::Collect);
        xmlSetGenericErrorFunc(nullptr, &Ignore);
    }
    ~GlobalErrorsCollected() {
        xmlSetStructuredErrorFunc(nullptr, nullptr);
        xmlSetGenericErrorFunc(nullptr, nullptr);
    }
    GlobalErrorsCollected(const GlobalErrorsCollected&) = delete;
    GlobalErrorsCollected& operator=(const GlobalErrorsCollected&) = delete;

  private:
    static void Ignore(void*, const char*, ...) {}
};

}  // namespace

void ParseAdx(int fd, AdifLog& log) {
    ErrorCollector errors;
    const GlobalErrorsCollected collected(errors);
    const std::unique_ptr<xmlTextReader, FreeReader> owner(
        xmlReaderForFd(fd, log.Path().c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOWARNING));
    xmlTextReaderPtr reader = owner.get();
    if (reader == nullptr)
        log.Fail("the XML reader cannot be started");
    xmlTextReaderSetStructuredErrorHandler(reader, &ErrorCollector::Collect, &errors);

    // Depth of the element that holds fields (HEADER or RECORD), or -1 outside both.
    int fieldsDepth = -1;
    bool inRecord = false;
    int status = xmlTextReaderRead(reader);
    while (status == 1) {
        const int type = xmlTextReaderNodeType(reader);
        const int depth = xmlTextReaderDepth(reader);
        if (type == XML_READER_TYPE_END_ELEMENT && depth == fieldsDepth) {
            if (inRecord)
                log.EndOfRecord();
            else
                log.EndOfHeader();
            fieldsDepth = -1;
        } else if (type == XML_READER_TYPE_ELEMENT) {
            const std::string_view name = View(xmlTextReaderConstLocalName(reader));
            const bool empty = xmlTextReaderIsEmptyElement(reader) == 1;
            if (depth == 0 && !EqualsIgnoringAsciiCase(name, "ADX")) {
                log.Fail("its XML root element is <" + std::string(name) + ">, not <ADX>");
            } else if (fieldsDepth >= 0 && depth == fieldsDepth + 1) {
                const std::string field = FieldName(reader, name);
                const XmlText value(xmlTextReaderReadString(reader));
                log.Field(ClassifyField(field), View(value.get()));
                status = xmlTextReaderNext(reader);  // over the field's content
                continue;
            } else if (fieldsDepth < 0 &&
                       ((depth == 1 && EqualsIgnoringAsciiCase(name, "HEADER")) ||
                        (depth == 2 && EqualsIgnoringAsciiCase(name, "RECORD")))) {
                inRecord = depth == 2;
                if (empty) {
                    if (inRecord)
                        log.EndOfRecord();
                    else
                        log.EndOfHeader();
                } else {
                    fieldsDepth = depth;
                }
            }
        }
        status = xmlTextReaderRead(reader);
    }
    if (status < 0 || !errors.message.empty()) {
        std::string reason =
            "it is not well-formed XML: " +
            (errors.message.empty() ? std::string("unknown error") : errors.message);
        if (errors.line > 0)
            reason += " (line " + std::to_string(errors.line) + ")";
        log.Fail(reason);
    }
    log.EndOfFile();
}

}  // namespace corvale::logdb_detail
