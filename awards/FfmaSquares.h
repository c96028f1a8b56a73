#pragma once

#include <span>
#include <string>
#include <string_view>

namespace corvale {

// True when the grid text is admitted by the FFMA square set: its first four characters are a
// listed square, or its first two characters name a whole field (DM, DN, EM, EN) and its first
// four characters are none of that field's exceptions. Exact, case-sensitive comparisons, so a
// two-character text such as "EM" is admitted through its field.
bool IsFfmaGrid(std::string_view grid);

// The four-character squares admitted (488), in ascending byte order.
std::span<const std::string> FfmaSquareList();

}  // namespace corvale
