#include "geo/PinCoordinate.h"

#include <gtest/gtest.h>

namespace corvale {
namespace {

TEST(FormatPinCoordinate, WritesSignedWholeNumbersBehindBars) {
    struct Case {
        std::int32_t longitude;
        std::int32_t latitude;
        const char* expected;
    };
    const Case cases[] = {
        {-17555, 7020, "|-17555|7020"},     {23902, -4520, "|23902|-4520"}, {0, 0, "|0|0"},
        {-32400, -16200, "|-32400|-16200"}, {32400, 16200, "|32400|16200"}, {7, -3, "|7|-3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPinCoordinate(c.longitude, c.latitude), c.expected);
    }
}

}  // namespace
}  // namespace corvale
