#include "logdb/TextDictionary.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace corvale::logdb_detail {

namespace {

// The bytes of a value of up to eight bytes as one number (zero above its size), read without
// passing its end: a word for eight bytes, two overlapping halves for four to seven, single
// bytes below.
std::uint64_t ShortWord(std::string_view value) {
    const char* p = value.data();
    const std::size_t n = value.size();
    const auto load = [](const char* at, auto word) {
        std::memcpy(&word, at, sizeof word);
        return static_cast<std::uint64_t>(word);
    };
    if (n == 8)
        return load(p, std::uint64_t{});
    if (n >= 4)
        return load(p, std::uint32_t{}) | load(p + n - 4, std::uint32_t{}) << (8 * (n - 4));
    std::uint64_t word = 0;
    for (std::size_t i = 0; i < n; ++i)
        word |= std::uint64_t{static_cast<unsigned char>(p[i])} << (8 * i);
    return word;
}

// Most values are short (dates, codes, squares): those are hashed from their word in a few
// steps (a 64-bit finalizer that lets every byte reach the low bits, which pick the slot), the
// others as the standard library hashes a text.
std::uint32_t HashOf(std::string_view value) {
    if (value.size() > 8) {
        const std::size_t h = std::hash<std::string_view>{}(value);
        return static_cast<std::uint32_t>(h ^ (h >> 32));
    }
    std::uint64_t h = ShortWord(value) ^ (std::uint64_t{value.size()} << 59);
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDu;
    h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53u;
    return static_cast<std::uint32_t>(h ^ (h >> 33));
}

// `value` equals `stored`: short values compare as words.
bool Equal(const std::string& stored, std::string_view value) {
    if (stored.size() != value.size())
        return false;
    if (value.size() <= 8)
        return ShortWord(stored) == ShortWord(value);
    return std::string_view(stored) == value;
}

constexpr std::size_t kFirstSlots = 64;

// The first eight bytes as a big-endian number, short values padded with zero bytes: a smaller
// key means a value earlier in byte order, so whole values are compared only where keys tie.
std::uint64_t OrderKey(const std::string& value) {
    std::uint64_t key = 0;
    for (std::size_t i = 0; i < 8; ++i)
        key = key << 8 | (i < value.size() ? static_cast<unsigned char>(value[i]) : 0u);
    return key;
}

}  // namespace

TextDictionary::TextDictionary()
    : values_(1), slots_(kFirstSlots, kFree), slotHash_(kFirstSlots, 0) {}

std::uint32_t TextDictionary::Intern(std::string_view value) {
    if (value.empty())
        return 0;
    if (Equal(values_[last_], value))
        return last_;

    const std::uint32_t hash = HashOf(value);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != kFree) {
        if (slotHash_[slot] == hash && Equal(values_[slots_[slot]], value)) {
            last_ = slots_[slot];
            return last_;
        }
        slot = (slot + 1) & mask;
    }
    if (values_.size() >= kFree)
        throw std::length_error("too many distinct values in a column");
    const auto index = static_cast<std::uint32_t>(values_.size());
    values_.emplace_back(value);
    slots_[slot] = index;
    slotHash_[slot] = hash;
    if (values_.size() * 2 > slots_.size())
        Grow();
    last_ = index;
    return index;
}

void TextDictionary::Grow() {
    std::vector<std::uint32_t> slots(slots_.size() * 2, kFree);
    std::vector<std::uint32_t> hashes(slots.size(), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i] == kFree)
            continue;
        std::size_t slot = slotHash_[i] & mask;
        while (slots[slot] != kFree)
            slot = (slot + 1) & mask;
        slots[slot] = slots_[i];
        hashes[slot] = slotHash_[i];
    }
    slots_.swap(slots);
    slotHash_.swap(hashes);
}

void TextDictionary::SetLastRow(std::string_view value) {
    if (cells_.empty() && !runs_.empty()) {
        // The last row was appended: its run becomes the rows added here.
        Run last = std::move(runs_.back());
        runs_.pop_back();
        cells_ = std::move(last.cells);
        if (!last.translation.empty()) {
            for (std::uint32_t& cell : cells_)
                cell = last.translation[cell];
        }
    }
    cells_.back() = Intern(value);
}

void TextDictionary::Append(TextDictionary& other) {
    std::vector<std::uint32_t> translation(other.values_.size());
    for (std::size_t i = 0; i < translation.size(); ++i)
        translation[i] = Intern(other.values_[i]);
    if (!cells_.empty())
        runs_.push_back({std::move(cells_), {}});
    cells_.clear();
    runs_.insert(runs_.end(), std::make_move_iterator(other.runs_.begin()),
                 std::make_move_iterator(other.runs_.end()));
    for (auto run = runs_.end() - static_cast<std::ptrdiff_t>(other.runs_.size());
         run != runs_.end(); ++run) {
        for (std::uint32_t& index : run->translation)
            index = translation[index];
        if (run->translation.empty())
            run->translation = translation;
    }
    if (!other.cells_.empty())
        runs_.push_back({std::move(other.cells_), std::move(translation)});
    other = TextDictionary();
}

void TextDictionary::Finish(std::vector<std::string>& values, std::vector<std::uint32_t>& cells) {
    // The hash index is not needed any more; free it before the new order takes memory.
    std::vector<std::uint32_t>().swap(slots_);
    std::vector<std::uint32_t>().swap(slotHash_);

    // Byte order: std::string compares with char_traits<char>, i.e. memcmp, which compares
    // unsigned bytes. The values are distinct, so no two tie; "" (values[0]) stays first.
    struct Entry {
        std::uint64_t key;
        std::uint32_t value;
    };
    std::vector<Entry> order(values_.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = {OrderKey(values_[i]), static_cast<std::uint32_t>(i)};
    std::sort(order.begin(), order.end(), [this](const Entry& a, const Entry& b) {
        if (a.key != b.key)
            return a.key < b.key;
        return values_[a.value] < values_[b.value];
    });
    std::vector<std::uint32_t> rank(values_.size());
    values.clear();
    values.reserve(values_.size());
    for (std::size_t r = 0; r < order.size(); ++r) {
        rank[order[r].value] = static_cast<std::uint32_t>(r);
        values.push_back(std::move(values_[order[r].value]));
    }

    // Each row as its value's rank: the rows of every run, then those added since.
    if (runs_.empty()) {
        for (std::uint32_t& cell : cells_)
            cell = rank[cell];
        cells_.shrink_to_fit();
        cells = std::move(cells_);
    } else {
        std::size_t rows = cells_.size();
        for (const Run& run : runs_)
            rows += run.cells.size();
        cells.clear();
        cells.reserve(rows);
        for (const Run& run : runs_) {
            if (run.translation.empty()) {
                for (std::uint32_t cell : run.cells)
                    cells.push_back(rank[cell]);
            } else {
                for (std::uint32_t cell : run.cells)
                    cells.push_back(rank[run.translation[cell]]);
            }
        }
        for (std::uint32_t cell : cells_)
            cells.push_back(rank[cell]);
    }

    values_.assign(1, std::string());
    runs_.clear();
    cells_.clear();
    slots_.assign(kFirstSlots, kFree);
    slotHash_.assign(kFirstSlots, 0);
    last_ = 0;
}

}  // namespace corvale::logdb_detail
