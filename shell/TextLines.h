#pragma once

#include <string_view>

namespace corvale {

// Takes the next line, without its '\n', off the front of `rest`. A '\r' before the '\n' stays
// with the line; both file formats read here treat it as trailing white space.
constexpr std::string_view TakeLine(std::string_view& rest) {
    const auto end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return line;
}

}  // namespace corvale
