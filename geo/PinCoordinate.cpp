#include "geo/PinCoordinate.h"

namespace corvale {

std::string FormatPinCoordinate(std::int32_t longitude, std::int32_t latitude) {
    return "|" + std::to_string(longitude) + "|" + std::to_string(latitude);
}

}  // namespace corvale
