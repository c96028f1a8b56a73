#include "geo/PinCoordinate.h"

#include <charconv>

namespace corvale {

std::string FormatPinCoordinate(std::int32_t longitude, std::int32_t latitude) {
    return "|" + std::to_string(longitude) + "|" + std::to_string(latitude);
}

std::optional<PinPosition> ParsePinCoordinate(std::string_view text) {
    const auto parseAfterBar = [&text](std::int32_t& value) {
        if (text.empty() || text.front() != '|')
            return false;
        text.remove_prefix(1);
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        return error == std::errc{};
    };
    PinPosition position{};
    if (!parseAfterBar(position.longitude) || !parseAfterBar(position.latitude) || !text.empty())
        return std::nullopt;
    return position;
}

}  // namespace corvale
