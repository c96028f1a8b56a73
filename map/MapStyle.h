#pragma once

#include <QColor>
#include <QPen>

namespace corvale {

// The base map's colours: quiet, so that the award's palette stands out on them.
namespace map_style {

inline const QColor kBackground(0xF4, 0xF4, 0xF2);  // off the earth
inline const QColor kSea(0xD6, 0xE6, 0xF2);
inline const QColor kLand(0xFA, 0xF8, 0xF0);
inline const QColor kCountryBorder(0x8A, 0x8A, 0x8A);
inline const QColor kStateBorder(0xB4, 0xB4, 0xB4);
inline const QColor kFieldGrid(0x8F, 0xA8, 0xC4);
inline const QColor kSquareGrid(0xB8, 0xC9, 0xDA);
inline const QColor kGridLabel(0x3A, 0x5A, 0x80);

// A line as wide in every picture and at every zoom, whatever the painter's transform.
inline QPen HairlinePen(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

}  // namespace map_style

}  // namespace corvale
