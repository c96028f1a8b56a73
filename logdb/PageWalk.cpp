#include "logdb/PageWalk.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "logdb/DbError.h"
#include "logdb/MdbLog.h"

namespace corvale::logdb_detail {

namespace {

constexpr unsigned char kDataPage = 0x01;
constexpr unsigned char kMapPage = 0x05;
constexpr std::uint16_t kDeleted = 0x8000;
constexpr std::uint16_t kPointer = 0x4000;
constexpr std::uint16_t kOffsetMask = 0x1FFF;
constexpr std::uint32_t kPointerSize = 4;  // row number byte, 3-byte page number

std::uint32_t Le16(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8;
}

std::uint32_t Le32(const unsigned char* p) {
    return Le16(p) | Le16(p + 2) << 16;
}

[[noreturn]] void Fail(const TableName& table, const std::string& reason) {
    ThrowLogError(table.logPath, reason);
}

// Adds the pages whose bits are set in `bitmap` (bit i: page first + i) to `out`.
void AddBitmapPages(const unsigned char* bitmap, std::size_t bytes, std::uint64_t first,
                    PageSource& pages, const TableName& table, std::vector<std::uint32_t>& out) {
    for (std::size_t i = 0; i < bytes; ++i) {
        // Most bytes of a map page are 0 (its range lies mostly beyond the file): only the set
        // bits are visited.
        for (unsigned bits = bitmap[i]; bits != 0; bits &= bits - 1) {
            const std::uint64_t page =
                first + i * 8 + static_cast<unsigned>(std::countr_zero(bits));
            if (page >= pages.PageCount())
                Fail(table, "the file is truncated or damaged: the page map of table " +
                                table.label + " names page " + std::to_string(page) +
                                ", which lies outside the file");
            out.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

}  // namespace

std::vector<std::uint32_t> MapPages(const unsigned char* map, std::size_t size, PageSource& pages,
                                    const TableName& table) {
    std::vector<std::uint32_t> result;
    if (size >= 5 && map[0] == 0) {
        AddBitmapPages(map + 5, size - 5, Le32(map + 1), pages, table, result);
        return result;
    }
    if (size < 1 || map[0] != 1)
        Fail(table, "the file is damaged: the page map of table " + table.label +
                        " is of an unknown kind");
    const std::uint64_t pagesPerMapPage = std::uint64_t{pages.PageSize() - 4} * 8;
    for (std::size_t at = 1, k = 0; at + 4 <= size; at += 4, ++k) {
        const std::uint32_t mapPage = Le32(map + at);
        if (mapPage == 0)
            continue;
        if (mapPage >= pages.PageCount())
            Fail(table, "the file is truncated or damaged: the page map of table " + table.label +
                            " lies outside the file");
        const unsigned char* bytes = pages.Page(mapPage);
        if (bytes == nullptr)
            Fail(table, "the file cannot be read (page " + std::to_string(mapPage) + ")");
        if (bytes[0] != kMapPage)
            Fail(table, "the file is damaged: the page map of table " + table.label +
                            " names page " + std::to_string(mapPage) + ", which is no map page");
        // Copied: reading a page that the map names would replace these bytes.
        const std::vector<unsigned char> bitmap(bytes + 4, bytes + pages.PageSize());
        AddBitmapPages(bitmap.data(), bitmap.size(), k * pagesPerMapPage, pages, table, result);
    }
    return result;
}

RowWalk::RowWalk(PageSource& pages, PageLayout layout, std::uint32_t definitionPage,
                 std::vector<std::uint32_t> dataPages, TableName table)
    : pages_(pages),
      layout_(layout),
      definitionPage_(definitionPage),
      dataPages_(std::move(dataPages)),
      table_(std::move(table)) {}

void RowWalk::Fail(const std::string& reason) const {
    logdb_detail::Fail(table_, reason);
}

const unsigned char* RowWalk::Read(std::uint32_t page) {
    lastRead_ = page;
    lastBytes_ = pages_.Page(page);
    if (lastBytes_ == nullptr)
        Fail("the file cannot be read (page " + std::to_string(page) + ")");
    return lastBytes_;
}

bool RowWalk::IsDataPageOfTable(const unsigned char* bytes) const {
    return bytes[0] == kDataPage && Le32(bytes + 4) == definitionPage_;
}

std::uint32_t RowWalk::SlotCount(const unsigned char* bytes, std::uint32_t page) const {
    const std::uint32_t count = Le16(bytes + layout_.rowCountOffset);
    if (layout_.rowCountOffset + 2 + std::uint64_t{count} * 2 > pages_.PageSize())
        Fail("the file is damaged: page " + std::to_string(page) + " of table " + table_.label +
             " lists more rows than it can hold");
    return count;
}

RowWalk::Slot RowWalk::SlotAt(const unsigned char* bytes, std::uint32_t page, std::uint32_t slot,
                              std::uint32_t slots) const {
    const unsigned char* offsets = bytes + layout_.rowCountOffset + 2;
    const std::uint32_t word = Le16(offsets + 2 * slot);
    Slot result;
    result.flags = static_cast<std::uint16_t>(word & ~kOffsetMask);
    result.start = word & kOffsetMask;
    result.end = slot == 0 ? pages_.PageSize() : Le16(offsets + 2 * (slot - 1)) & kOffsetMask;
    const std::uint32_t headerEnd = layout_.rowCountOffset + 2 + 2 * slots;
    if (result.start < headerEnd || result.start > result.end || result.end > pages_.PageSize())
        Fail("the file is damaged: row " + std::to_string(slot) + " of page " +
             std::to_string(page) + " of table " + table_.label + " lies outside its page");
    return result;
}

// A moved row: the pointer's bytes (in `bytes`, page `page`) name the row's new place, which may
// hold a pointer again.
RowPlace RowWalk::Follow(const unsigned char* bytes, std::uint32_t page, const Slot& pointer,
                         std::uint32_t slot) {
    // Made only for an error: a message for every moved row would cost more than its walk.
    const auto where = [&] {
        return "the file is damaged: the moved row " + std::to_string(slot) + " of page " +
               std::to_string(page) + " of table " + table_.label;
    };
    Slot from = pointer;
    for (int step = 0; step < kMaxPointerSteps; ++step) {
        if (from.end - from.start < kPointerSize)
            Fail(where() + " has a pointer that is cut short");
        const std::uint32_t row = bytes[from.start];
        const std::uint32_t target = Le32(bytes + from.start) >> 8;
        if (target >= pages_.PageCount())
            Fail(where() + " points to page " + std::to_string(target) + ", outside the file");
        bytes = Read(target);
        if (!IsDataPageOfTable(bytes))
            Fail(where() + " points to page " + std::to_string(target) +
                 ", which holds no rows of the table");
        const std::uint32_t slots = SlotCount(bytes, target);
        if (row >= slots)
            Fail(where() + " points to row " + std::to_string(row) + " of page " +
                 std::to_string(target) + ", which has no such row");
        const Slot found = SlotAt(bytes, target, row, slots);
        if ((found.flags & kPointer) == 0) {
            if (found.start == found.end)
                Fail(where() + " points to row " + std::to_string(row) + " of page " +
                     std::to_string(target) + ", which holds no bytes");
            return {target, found.start, found.end - found.start};
        }
        from = found;
    }
    Fail(where() + " leads through more than " + std::to_string(kMaxPointerSteps) +
         " pointers (they may go round in a loop)");
}

bool RowWalk::Next(RowPlace& row) {
    if (!started_) {
        started_ = true;
        FindAhead();
    }
    if (failure_)
        std::rethrow_exception(std::exchange(failure_, nullptr));
    if (!found_)
        return false;
    row = ahead_;
    FindAhead();
    if (lastRead_ != row.page)
        Read(row.page);  // the row's page is the one read last, as the caller expects
    return true;
}

void RowWalk::FindAhead() {
    try {
        found_ = Find(ahead_);
    } catch (const DbError&) {
        found_ = false;
        failure_ = std::current_exception();
        return;
    }
    // The row's page is the one read last: its bytes are at hand.
    if (found_ && lastRead_ == ahead_.page)
        PrefetchBytes(lastBytes_ + ahead_.start, ahead_.length);
}

// The slots that the pointers of a page lead to: read when their rows come (Follow).
void RowWalk::HintPointerTargets(const unsigned char* bytes) {
    const unsigned char* offsets = bytes + layout_.rowCountOffset + 2;
    for (std::uint32_t slot = 0; slot < slots_; ++slot) {
        const std::uint32_t word = Le16(offsets + 2 * slot);
        const std::uint32_t start = word & kOffsetMask;
        if ((word & (kDeleted | kPointer)) != kPointer || start + kPointerSize > pages_.PageSize())
            continue;
        const std::uint32_t target = Le32(bytes + start) >> 8;
        if (target < pages_.PageCount())
            pages_.WillTouch(target, layout_.rowCountOffset + 2 + 2 * std::uint32_t{bytes[start]},
                             2);
    }
}

bool RowWalk::Find(RowPlace& row) {
    const unsigned char* bytes = slot_ < slots_ ? Read(page_) : nullptr;
    while (true) {
        if (slot_ >= slots_) {
            if (nextPage_ >= dataPages_.size())
                return false;
            if (nextPage_ == announced_) {
                const std::size_t ahead =
                    dataPages_.size() <= kWholeMapPages ? dataPages_.size() : kReadAhead;
                announced_ = std::min(dataPages_.size(), nextPage_ + ahead);
                pages_.WillRead(std::span(dataPages_).subspan(nextPage_, announced_ - nextPage_));
            }
            page_ = dataPages_[nextPage_++];
            bytes = Read(page_);
            slot_ = 0;
            slots_ = IsDataPageOfTable(bytes) ? SlotCount(bytes, page_) : 0;
            HintPointerTargets(bytes);
            continue;
        }
        const std::uint32_t slot = slot_++;
        // A deleted slot is passed over before its offset is looked at: it may be stale.
        if ((Le16(bytes + layout_.rowCountOffset + 2 + 2 * slot) & kDeleted) != 0)
            continue;
        const Slot found = SlotAt(bytes, page_, slot, slots_);
        if ((found.flags & kPointer) != 0) {
            row = Follow(bytes, page_, found, slot);
            return true;
        }
        if (found.start == found.end)
            continue;  // no bytes, no row
        row = {page_, found.start, found.end - found.start};
        return true;
    }
}

}  // namespace corvale::logdb_detail
