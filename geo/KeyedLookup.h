#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <ranges>
#include <span>
#include <string_view>

#include "geo/PinCoordinate.h"

namespace corvale {

// A key and the name of what it stands for, as the built-in name tables hold them.
struct KeyedName {
    const char* key;
    const char* name;
};

constexpr std::string_view KeyOf(const KeyedCoordinate& entry) {
    return entry.key;
}
constexpr std::string_view KeyOf(const KeyedName& entry) {
    return entry.key;
}
constexpr std::string_view KeyOf(std::string_view key) {
    return key;
}

// True when the keys are unique and in ascending byte order, as the lookups below need them.
template <std::ranges::random_access_range Table>
constexpr bool HasAscendingUniqueKeys(const Table& table) {
    const auto notBefore = [](const auto& left, const auto& right) {
        return KeyOf(left) >= KeyOf(right);
    };
    return std::ranges::adjacent_find(table, notBefore) == std::ranges::end(table);
}

// The entry whose whole key equals `key`, byte for byte; the table must be in ascending byte
// order of its keys.
template <typename Entry>
const Entry* FindByKey(std::span<const Entry> table, std::string_view key) {
    const auto keyOf = [](const Entry& entry) { return KeyOf(entry); };
    const auto found = std::ranges::lower_bound(table, key, std::less<>{}, keyOf);
    return found == table.end() || keyOf(*found) != key ? nullptr : &*found;
}

// The coordinate of the entry whose whole key equals `key`, byte for byte.
std::optional<std::string_view> FindKeyedCoordinate(std::span<const KeyedCoordinate> table,
                                                    std::string_view key);

// The name of the entry whose whole key equals `key`, byte for byte.
std::optional<std::string_view> FindKeyedName(std::span<const KeyedName> table,
                                              std::string_view key);

// A fixed set of keys of at most seven bytes, each held as one number (its length, then its
// bytes), so that a test of membership, made for every contact of a run, is a binary search
// over numbers instead of over texts.
template <std::size_t N>
class ShortKeySet {
  public:
    constexpr explicit ShortKeySet(std::span<const std::string_view, N> keys) {
        for (std::size_t i = 0; i < N; ++i) {
            if (keys[i].size() > kLongest)
                throw "a key is too long for a ShortKeySet";  // fails the build
            numbers_[i] = Number(keys[i]);
        }
        std::ranges::sort(numbers_);
    }

    // True when one of the keys equals the whole of `key`, byte for byte.
    constexpr bool Contains(std::string_view key) const {
        return key.size() <= kLongest && std::ranges::binary_search(numbers_, Number(key));
    }

  private:
    static constexpr std::size_t kLongest = 7;
    static constexpr std::uint64_t Number(std::string_view key) {
        std::uint64_t number = key.size();
        for (char c : key)
            number = number << 8 | static_cast<unsigned char>(c);
        return number;
    }
    std::array<std::uint64_t, N> numbers_{};
};

}  // namespace corvale
