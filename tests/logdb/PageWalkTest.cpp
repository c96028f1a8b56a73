// The row walk on pages made byte by byte: the rows come in Access's order (a moved row in its
// pointer's place, deleted and moved bytes passed over), and a pointer that leads nowhere ends
// the read with a clear error, never a crash or a hang.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "logdb/DbError.h"
#include "logdb/PageWalk.h"

namespace corvale::logdb_detail {
namespace {

constexpr std::uint32_t kPageSize = 4096;
constexpr std::uint32_t kRowCountOffset = 12;  // Jet 4
constexpr std::uint32_t kDefinition = 7;       // the table's definition page
constexpr std::uint16_t kDeleted = 0x8000;
constexpr std::uint16_t kPointer = 0x4000;

using PageBytes = std::vector<unsigned char>;

void Put16(PageBytes& page, std::size_t at, std::uint32_t value) {
    page[at] = static_cast<unsigned char>(value);
    page[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(PageBytes& page, std::size_t at, std::uint32_t value) {
    Put16(page, at, value);
    Put16(page, at + 2, value >> 16);
}

// One row slot: its flags and its bytes.
struct Slot {
    std::uint16_t flags;
    std::string bytes;
};

Slot Row(std::string text) {
    return {0, std::move(text)};
}

Slot Deleted(std::string text) {
    return {kDeleted, std::move(text)};
}

// A pointer to row `row` of page `page`, with `extraFlags` besides the pointer flag.
Slot Pointer(std::uint32_t page, unsigned row, std::uint16_t extraFlags = 0) {
    std::string bytes(4, '\0');
    bytes[0] = static_cast<char>(row);
    bytes[1] = static_cast<char>(page);
    bytes[2] = static_cast<char>(page >> 8);
    bytes[3] = static_cast<char>(page >> 16);
    return {static_cast<std::uint16_t>(kPointer | extraFlags), bytes};
}

// A data page of the table whose definition is on page `owner`, its rows laid from the end.
PageBytes DataPage(const std::vector<Slot>& slots, std::uint32_t owner = kDefinition) {
    PageBytes page(kPageSize, 0);
    page[0] = 0x01;
    page[1] = 0x01;
    Put32(page, 4, owner);
    Put16(page, kRowCountOffset, static_cast<std::uint32_t>(slots.size()));
    std::uint32_t end = kPageSize;
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const std::uint32_t start = end - static_cast<std::uint32_t>(slots[i].bytes.size());
        std::copy(slots[i].bytes.begin(), slots[i].bytes.end(), page.begin() + start);
        Put16(page, kRowCountOffset + 2 + 2 * i, start | slots[i].flags);
        end = start;
    }
    return page;
}

class MemoryPages : public PageSource {
  public:
    explicit MemoryPages(std::vector<PageBytes> pages) : pages_(std::move(pages)) {}
    std::uint32_t PageSize() const override { return kPageSize; }
    std::uint64_t PageCount() const override { return pages_.size(); }
    const unsigned char* Page(std::uint32_t number) override {
        last_ = number;
        if (std::find(announced_.begin(), announced_.end(), number) == announced_.end())
            readUnannounced_.push_back(number);
        return pages_.at(number).data();
    }
    void WillRead(std::span<const std::uint32_t> numbers) override {
        announced_.insert(announced_.end(), numbers.begin(), numbers.end());
    }
    std::uint32_t Last() const { return last_; }
    const std::vector<std::uint32_t>& Announced() const { return announced_; }
    const std::vector<std::uint32_t>& ReadUnannounced() const { return readUnannounced_; }

  private:
    std::vector<PageBytes> pages_;
    std::uint32_t last_ = 0;
    std::vector<std::uint32_t> announced_;        // WillRead's pages, in the order announced
    std::vector<std::uint32_t> readUnannounced_;  // pages read before they were announced
};

// A file of pages: page 0 and the definition page stay empty, the rest are `dataPages` from
// page 1 on (skipping the definition page).
std::vector<PageBytes> File(const std::vector<PageBytes>& dataPages) {
    std::vector<PageBytes> file(1, PageBytes(kPageSize, 0));
    for (const PageBytes& page : dataPages) {
        if (file.size() == kDefinition)
            file.emplace_back(kPageSize, 0);
        file.push_back(page);
    }
    while (file.size() <= kDefinition)
        file.emplace_back(kPageSize, 0);
    return file;
}

// Walks the pages listed in `map` (all data pages when empty) and returns the rows' bytes.
std::vector<std::string> Walk(std::vector<PageBytes> file, std::vector<std::uint32_t> map = {}) {
    if (map.empty()) {
        for (std::uint32_t p = 1; p < file.size(); ++p) {
            if (p != kDefinition)
                map.push_back(p);
        }
    }
    MemoryPages pages(std::move(file));
    RowWalk walk(pages, PageLayout{kRowCountOffset}, kDefinition, map, {"log.mdb", "[T]"});
    std::vector<std::string> rows;
    RowPlace row;
    while (walk.Next(row)) {
        EXPECT_EQ(pages.Last(), row.page) << "the row's page must be the one read last";
        const unsigned char* bytes = pages.Page(row.page);
        rows.emplace_back(bytes + row.start, bytes + row.start + row.length);
        if (rows.size() > 100)
            break;  // a walk that does not end
    }
    return rows;
}

struct WalkCase {
    const char* name;
    std::vector<PageBytes> dataPages;  // pages 1, 2, ... (page 7 is the definition)
    std::vector<std::string> rows;     // expected rows, when the walk succeeds
    std::vector<std::string> failure;  // words of the expected error, when it fails
};

TEST(RowWalk, FindsTheRowsAsAccessDoes) {
    const std::vector<WalkCase> cases{
        {"PlainRowsInPageAndSlotOrder",
         {DataPage({Row("A"), Row("B")}), DataPage({Row("C")})},
         {"A", "B", "C"},
         {}},
        {"DeletedSlotsArePassedOver",
         {DataPage({Deleted("x"), Row("A"), Deleted("y"), Row("B")})},
         {"A", "B"},
         {}},
        {"AMovedRowIsReadInItsPointersPlaceAndNotAgainWhereItLies",
         {DataPage({Row("A"), Pointer(2, 1), Row("C")}), DataPage({Row("D"), Deleted("B")})},
         {"A", "B", "C", "D"},
         {}},
        {"AChainOfPointersIsFollowedToTheRow",
         {DataPage({Pointer(2, 0)}), DataPage({Pointer(3, 0, kDeleted)}),
          DataPage({Deleted("B"), Row("C")})},
         {"B", "C"},
         {}},
        {"AMovedRowThatWasDeletedIsGone",
         {DataPage({Pointer(2, 0, kDeleted), Row("A")}), DataPage({Deleted("B")})},
         {"A"},
         {}},
        {"EmptyPagesHoldNoRows", {DataPage({}), DataPage({Row("A")}), DataPage({})}, {"A"}, {}},
        {"APageOfAnotherTableInTheMapIsPassedOver",
         {DataPage({Row("X")}, 99), DataPage({Row("A")})},
         {"A"},
         {}},
        {"PointerOutsideTheFile",
         {DataPage({Pointer(4000, 0)})},
         {},
         {"\"log.mdb\"", "[T]", "page 4000", "outside the file"}},
        {"PointerToAPageOfAnotherTable",
         {DataPage({Pointer(2, 0)}), DataPage({Row("X")}, 99)},
         {},
         {"[T]", "page 2", "holds no rows of the table"}},
        {"PointerToTheDefinitionPage",
         {DataPage({Pointer(kDefinition, 0)})},
         {},
         {"holds no rows of the table"}},
        {"PointerToARowThatIsNotThere",
         {DataPage({Pointer(2, 5)}), DataPage({Deleted("B")})},
         {},
         {"row 5 of page 2", "no such row"}},
        {"PointersInALoop",
         {DataPage({Pointer(2, 0)}), DataPage({Pointer(1, 0, kDeleted)})},
         {},
         {"loop"}},
        {"APointerThatPointsToItself", {DataPage({Pointer(1, 0)})}, {}, {"loop"}},
        {"APointerCutShort", {DataPage({{kPointer, "ab"}})}, {}, {"pointer that is cut short"}},
        {"MoreSlotsThanThePageHolds",
         {[] {
             PageBytes page = DataPage({Row("A")});
             Put16(page, kRowCountOffset, 5000);
             return page;
         }()},
         {},
         {"lists more rows than it can hold"}},
        {"ASlotOutsideItsPage",
         {[] {
             PageBytes page = DataPage({Row("A"), Row("B")});
             Put16(page, kRowCountOffset + 4, kPageSize - 1);  // B would end before it starts
             Put16(page, kRowCountOffset + 2, 100);
             return page;
         }()},
         {},
         {"lies outside its page"}},
    };
    for (const WalkCase& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.failure.empty()) {
            EXPECT_EQ(Walk(File(c.dataPages)), c.rows);
            continue;
        }
        try {
            Walk(File(c.dataPages));
            ADD_FAILURE() << "no DbError";
        } catch (const DbError& error) {
            const std::string message = error.what();
            for (const std::string& word : c.failure)
                EXPECT_NE(message.find(word), std::string::npos) << message;
        }
    }
}

// The page source fetches the pages that the walk announces, and only those: every page of the
// map must be announced, once and in the map's order, before the walk reads it.
TEST(RowWalk, AnnouncesEveryPageOfTheMapBeforeReadingIt) {
    struct AnnounceCase {
        const char* name;
        std::size_t mapPages;
    };
    const std::vector<AnnounceCase> cases{
        {"EmptyMap", 0},
        {"OnePage", 1},
        {"WholeMapAtOnce", RowWalk::kWholeMapPages},
        {"OnePageMoreThanAWholeMap", RowWalk::kWholeMapPages + 1},
        {"SeveralAnnouncements", RowWalk::kWholeMapPages + 2 * RowWalk::kReadAhead + 3},
    };
    for (const AnnounceCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Every other page of the file is in the map, each holding one row.
        std::vector<PageBytes> file(1, PageBytes(kPageSize, 0));
        std::vector<std::uint32_t> map;
        while (map.size() < c.mapPages) {
            file.push_back(file.size() == kDefinition ? PageBytes(kPageSize, 0)
                                                      : DataPage({Row("row")}));
            if (file.size() - 1 != kDefinition && (file.size() - 1) % 2 == 1)
                map.push_back(static_cast<std::uint32_t>(file.size() - 1));
        }
        file.resize(std::max<std::size_t>(file.size(), kDefinition + 1), PageBytes(kPageSize, 0));
        MemoryPages pages(std::move(file));
        RowWalk walk(pages, PageLayout{kRowCountOffset}, kDefinition, map, {"log.mdb", "[T]"});
        std::size_t rows = 0;
        for (RowPlace row; walk.Next(row);)
            ++rows;
        EXPECT_EQ(rows, c.mapPages);
        EXPECT_EQ(pages.Announced(), map);
        EXPECT_TRUE(pages.ReadUnannounced().empty())
            << ::testing::PrintToString(pages.ReadUnannounced());
    }
}

TEST(RowWalk, MapPagesListsThePagesOfBothKindsOfMap) {
    // Kind 0: first page 3, bits 0, 2 and 9: pages 3, 5 and 12.
    const std::vector<unsigned char> inlineMap{0, 3, 0, 0, 0, 0b101, 0b10};
    MemoryPages file(std::vector<PageBytes>(20, PageBytes(kPageSize, 0)));
    const TableName table{"log.mdb", "[T]"};
    EXPECT_EQ(MapPages(inlineMap.data(), inlineMap.size(), file, table),
              (std::vector<std::uint32_t>{3, 5, 12}));

    // Kind 1: map pages 2 and 4; the second covers the pages from (4096 - 4) * 8 on.
    std::vector<PageBytes> pages(40000, PageBytes());
    for (PageBytes& page : pages)
        page.assign(1, 0);
    const auto mapPage = [](std::initializer_list<std::size_t> bits) {
        PageBytes page(kPageSize, 0);
        page[0] = 0x05;
        for (std::size_t bit : bits)
            page[4 + bit / 8] |= static_cast<unsigned char>(1u << (bit % 8));
        return page;
    };
    pages[2] = mapPage({6, 8});
    pages[4] = mapPage({1});
    MemoryPages large(std::move(pages));
    const std::vector<unsigned char> pageMap{1, 2, 0, 0, 0, 4, 0, 0, 0};
    EXPECT_EQ(MapPages(pageMap.data(), pageMap.size(), large, table),
              (std::vector<std::uint32_t>{6, 8, (kPageSize - 4) * 8 + 1}));

    // A bit past the end of the file.
    const std::vector<unsigned char> tooFar{0, 18, 0, 0, 0, 0b100};
    EXPECT_THROW(MapPages(tooFar.data(), tooFar.size(), file, table), DbError);
}

}  // namespace
}  // namespace corvale::logdb_detail
