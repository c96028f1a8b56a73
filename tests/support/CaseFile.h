#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvale::test {

// The cases of a table-driven test, kept in a text file beside it: one case a line, its fields
// separated by tabs, the first field its name. Lines that are empty or start with '#' are
// skipped. `{HH}` (two upper-case hex digits) stands for that byte, so that tabs, line ends and
// bytes that are not UTF-8 can be written; everything else is taken as it stands.
struct Case {
    std::string name;
    std::vector<std::string> fields;  // after the name
    const std::string& operator[](std::size_t i) const { return fields.at(i); }
};
// A case is shown by its name (the parameter of a parameterised test).
inline void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

// The cases of `file` below tests/; when `kind` is given, only the lines whose first field is
// `kind`, the name following it.
std::vector<Case> ReadCases(const std::string& file, const std::string& kind = {});

// `text` cut at every `separator` ("" is one empty part).
std::vector<std::string> Split(const std::string& text, char separator = '|');
// The numbers of a field written apart by blanks ("-72 42.5").
std::vector<double> Numbers(const std::string& field);

}  // namespace corvale::test
