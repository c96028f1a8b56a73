#include "CaseFile.h"

#include <fstream>
#include <stdexcept>

namespace corvale::test {

namespace {

std::string Decode(const std::string& field) {
    std::string bytes;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '{' && i + 3 < field.size() && field[i + 3] == '}' &&
            field.find_first_not_of("0123456789ABCDEF", i + 1) == i + 3) {
            bytes.push_back(static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16)));
            i += 3;
        } else {
            bytes.push_back(field[i]);
        }
    }
    return bytes;
}

}  // namespace

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find(separator, start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

std::vector<double> Numbers(const std::string& field) {
    std::vector<double> numbers;
    for (const std::string& number : Split(field, ' '))
        numbers.push_back(std::stod(number));
    return numbers;
}

std::vector<Case> ReadCases(const std::string& file, const std::string& kind) {
    const std::string path = std::string(CORVALE_SOURCE_DIR) + "/tests/" + file;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields = Split(line, '\t');
        const std::size_t first = kind.empty() ? 0 : 1;
        if (!kind.empty() && (fields.size() < 2 || fields[0] != kind))
            continue;
        Case c{Decode(fields[first]), {}};
        for (std::size_t i = first + 1; i < fields.size(); ++i)
            c.fields.push_back(Decode(fields[i]));
        cases.push_back(std::move(c));
    }
    if (cases.empty())
        throw std::runtime_error("no cases " + kind + " in " + path);
    return cases;
}

}  // namespace corvale::test
