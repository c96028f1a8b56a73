#pragma once

#include <optional>
#include <string_view>

namespace corvale {

// The files a map is saved as: PNG a picture, SVG and PDF drawn in vectors.
enum class MapFormat { Png, Svg, Pdf };

// "png", "svg", "pdf": the word on the command line and the file's extension.
constexpr std::string_view MapFormatWord(MapFormat format) {
    switch (format) {
        case MapFormat::Png:
            return "png";
        case MapFormat::Svg:
            return "svg";
        case MapFormat::Pdf:
            break;
    }
    return "pdf";
}

constexpr std::optional<MapFormat> MapFormatOfWord(std::string_view word) {
    for (MapFormat format : {MapFormat::Png, MapFormat::Svg, MapFormat::Pdf}) {
        if (MapFormatWord(format) == word)
            return format;
    }
    return std::nullopt;
}

}  // namespace corvale
