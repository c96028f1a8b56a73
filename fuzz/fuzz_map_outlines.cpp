// The map's outline reader over any text. Besides the sanitizers, it checks what the renderer
// relies on in what it accepts: every ring has three points or more, all on the earth, and every
// state has a two-character postal code.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "map/OutlineData.h"

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

void CheckRegions(const std::vector<corvale::OutlineRegion>& regions) {
    for (const corvale::OutlineRegion& region : regions) {
        for (const corvale::OutlineRing& ring : region.rings) {
            Check(ring.size() >= 3);
            for (const corvale::GeoPoint& point : ring)
                Check(point.lon >= -180 && point.lon <= 180 && point.lat >= -90 && point.lat <= 90);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const corvale::OutlineData outlines = corvale::ParseOutlineData(text);
        CheckRegions(outlines.countries);
        CheckRegions(outlines.states);
        for (const corvale::OutlineRegion& state : outlines.states)
            Check(state.postalCode.size() == 2);
    } catch (const corvale::OutlineDataError&) {
    }
    return 0;
}
