#include "map/EmbeddedOutlines.h"

#include <QFile>

namespace corvale {

const OutlineData& EmbeddedOutlines() {
    static const OutlineData outlines = [] {
        QFile file(QStringLiteral(":/corvale/map-outlines.txt"));
        if (!file.open(QIODevice::ReadOnly))
            throw OutlineDataError("map outlines: the built-in data is missing");
        const QByteArray text = file.readAll();
        return ParseOutlineData(
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    }();
    return outlines;
}

}  // namespace corvale
