#include "map/Maidenhead.h"

namespace corvale {

namespace {

// A field letter's index 0..17, either case.
std::optional<int> FieldIndex(char letter) {
    if (letter >= 'A' && letter <= 'R')
        return letter - 'A';
    if (letter >= 'a' && letter <= 'r')
        return letter - 'a';
    return std::nullopt;
}

std::optional<int> DigitIndex(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    return std::nullopt;
}

}  // namespace

std::optional<GeoRect> FieldRect(std::string_view field) {
    if (field.size() != 2)
        return std::nullopt;
    const auto column = FieldIndex(field[0]);
    const auto row = FieldIndex(field[1]);
    if (!column || !row)
        return std::nullopt;
    return GeoRect{*column * kFieldWidth - 180, *row * kFieldHeight - 90, kFieldWidth,
                   kFieldHeight};
}

std::optional<GeoRect> SquareRect(std::string_view locator) {
    if (locator.size() < 4)
        return std::nullopt;
    const auto field = FieldRect(locator.substr(0, 2));
    const auto column = DigitIndex(locator[2]);
    const auto row = DigitIndex(locator[3]);
    if (!field || !column || !row)
        return std::nullopt;
    return GeoRect{field->west + *column * kSquareWidth, field->south + *row * kSquareHeight,
                   kSquareWidth, kSquareHeight};
}

std::optional<GeoPoint> LocatorCentre(std::string_view locator) {
    if (locator.size() == 2) {
        const auto field = FieldRect(locator);
        return field ? std::optional(field->Centre()) : std::nullopt;
    }
    if (locator.size() != 4 && locator.size() != 6)
        return std::nullopt;
    const auto square = SquareRect(locator);
    if (!square)
        return std::nullopt;
    if (locator.size() == 4)
        return square->Centre();
    const auto subsquare = [](char letter) -> std::optional<int> {
        if (letter >= 'A' && letter <= 'X')
            return letter - 'A';
        if (letter >= 'a' && letter <= 'x')
            return letter - 'a';
        return std::nullopt;
    };
    const auto column = subsquare(locator[4]);
    const auto row = subsquare(locator[5]);
    if (!column || !row)
        return std::nullopt;
    // 24 subsquares across a square each way.
    return GeoPoint{square->west + (*column + 0.5) * kSquareWidth / 24,
                    square->south + (*row + 0.5) * kSquareHeight / 24};
}

std::string FieldName(int column, int row) {
    return {static_cast<char>('A' + column), static_cast<char>('A' + row)};
}

std::string SquareName(int column, int row) {
    return FieldName(column / 10, row / 10) + static_cast<char>('0' + column % 10) +
           static_cast<char>('0' + row % 10);
}

}  // namespace corvale
