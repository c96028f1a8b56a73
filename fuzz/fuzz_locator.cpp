// GridToPin over any text. Besides the sanitizers, it checks the promises of the conversion:
// lower-case letters decode like upper-case ones, a text with a position gets its two
// diagnostic lines and one without gets none, and the result does not depend on whether the
// diagnostics are asked for. The same text as the map's home locator (typed in the Map window
// or given as --home): a centre, when there is one, lies on the earth and ignores case.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "geo/Locator.h"
#include "map/Maidenhead.h"

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return upper;
}

void Check(bool condition) {
    if (!condition)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view grid(reinterpret_cast<const char*>(data), size);
    std::string diagnostics;
    const std::optional<std::string> pin = corvale::GridToPin(grid, &diagnostics);
    Check(pin == corvale::GridToPin(grid));
    Check(pin == corvale::GridToPin(Upper(grid)));
    if (pin) {
        Check(!pin->empty());
        Check(diagnostics.rfind("x: ", 0) == 0);
        Check(diagnostics.find("\ny: ") != std::string::npos);
        Check(!diagnostics.empty() && diagnostics.back() == '\n');
    } else {
        Check(diagnostics.empty());
    }
    const std::optional<corvale::GeoPoint> home = corvale::LocatorCentre(grid);
    const std::optional<corvale::GeoPoint> upperHome = corvale::LocatorCentre(Upper(grid));
    Check(home.has_value() == upperHome.has_value());
    if (home) {
        Check(home->lon == upperHome->lon && home->lat == upperHome->lat);
        Check(home->lon > -180 && home->lon < 180 && home->lat > -90 && home->lat < 90);
    }
    return 0;
}
