// The row walk on pages made byte by byte: the rows come in Access's order (a moved row in its
// pointer's place, deleted and moved bytes passed over), and a pointer that leads nowhere ends
// the read with a clear error, never a crash or a hang.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "CaseFile.h"
#include "LogdbTestSupport.h"
#include "logdb/DbError.h"
#include "logdb/PageWalk.h"

namespace corvale::logdb_detail {
namespace {

constexpr std::uint32_t kPageSize = 4096;
constexpr std::uint32_t kRowCountOffset = 12;  // Jet 4
constexpr std::uint32_t kDefinition = 7;       // the table's definition page

using PageBytes = std::vector<unsigned char>;

void Put16(PageBytes& page, std::size_t at, std::uint32_t value) {
    page[at] = static_cast<unsigned char>(value);
    page[at + 1] = static_cast<unsigned char>(value >> 8);
}

// A data page written as cases/row-walk.tsv says, its rows laid from the end.
PageBytes DataPage(const std::string& text) {
    PageBytes page(kPageSize, 0);
    page[0] = 0x01;
    page[1] = 0x01;
    std::uint32_t owner = kDefinition, slots = 0, listed = 0, end = kPageSize;
    const auto number = [](const std::string& digits) {
        return static_cast<std::uint32_t>(std::stoul(digits));
    };
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        if (word[0] == '@' || word[0] == '#') {
            (word[0] == '@' ? owner : listed) = number(word.substr(1));
            continue;
        }
        std::uint32_t flags = 0, start = 0;
        if (const std::size_t at = word.find('@'); at != std::string::npos) {
            start = number(word.substr(at + 1));
            word.resize(at);
        }
        if (word[0] == '-') {
            flags |= 0x8000;  // deleted
            word.erase(0, 1);
        }
        if (word[0] == '>' || word[0] == '~') {
            flags |= 0x4000;  // a pointer to where the row now lives
            if (word[0] == '>') {
                const std::uint32_t target =
                    number(word.substr(1)) << 8 | number(word.substr(word.find('.') + 1));
                word = std::string(reinterpret_cast<const char*>(&target), 4);
            } else {
                word.erase(0, 1);
            }
        }
        start = start != 0 ? start : end - static_cast<std::uint32_t>(word.size());
        std::copy(word.begin(), word.end(), page.begin() + start);
        Put16(page, kRowCountOffset + 2 + 2 * slots++, start | flags);
        end = start;
    }
    Put16(page, 4, owner);
    Put16(page, kRowCountOffset, listed != 0 ? listed : slots);
    return page;
}

// A source of pages that notes which pages were announced, and which read before they were.
class MemoryPages : public PageSource {
  public:
    explicit MemoryPages(std::vector<PageBytes> pages) : pages_(std::move(pages)) {}
    std::uint32_t PageSize() const override { return kPageSize; }
    std::uint64_t PageCount() const override { return pages_.size(); }
    const unsigned char* Page(std::uint32_t number) override {
        last = number;
        if (std::find(announced.begin(), announced.end(), number) == announced.end())
            readUnannounced.push_back(number);
        return pages_.at(number).data();
    }
    void WillRead(std::span<const std::uint32_t> numbers) override {
        announced.insert(announced.end(), numbers.begin(), numbers.end());
    }

    std::uint32_t last = 0;
    std::vector<std::uint32_t> announced, readUnannounced;

  private:
    std::vector<PageBytes> pages_;
};

// Walks the pages listed in `map` (all data pages when none) of a file whose page 0 and
// definition page are empty and whose other pages are `dataPages`; returns the rows' bytes, apart
// by blanks. The source must be told of every page of the map, once and in the map's order,
// before it is read.
std::string Walk(const std::vector<PageBytes>& dataPages,
                 std::optional<std::vector<std::uint32_t>> map = std::nullopt) {
    std::vector<PageBytes> file(1, PageBytes(kPageSize, 0));
    std::vector<std::uint32_t> allPages;
    for (const PageBytes& page : dataPages) {
        if (file.size() == kDefinition)
            file.emplace_back(kPageSize, 0);
        allPages.push_back(static_cast<std::uint32_t>(file.size()));
        file.push_back(page);
    }
    file.resize(std::max<std::size_t>(file.size(), kDefinition + 1), PageBytes(kPageSize, 0));
    MemoryPages pages(std::move(file));
    const std::vector<std::uint32_t> walked = map.value_or(allPages);
    std::string rows;
    RowWalk walk(pages, PageLayout{kRowCountOffset}, kDefinition, walked, {"log.mdb", "[T]"});
    std::size_t count = 0;
    for (RowPlace row; walk.Next(row) && ++count < 100000;) {  // a walk that does not end
        EXPECT_EQ(pages.last, row.page) << "the row's page must be the one read last";
        const unsigned char* bytes = pages.Page(row.page);
        rows.append(rows.empty() ? "" : " ")
            .append(bytes + row.start, bytes + row.start + row.length);
    }
    EXPECT_EQ(pages.announced, walked);
    EXPECT_TRUE(pages.readUnannounced.empty()) << ::testing::PrintToString(pages.readUnannounced);
    return rows;
}

TEST(RowWalk, FindsTheRowsAsAccessDoes) {
    for (const test::Case& c : test::ReadCases("logdb/cases/row-walk.tsv")) {
        SCOPED_TRACE(c.name);
        std::vector<PageBytes> pages;
        for (const std::string& page : test::Split(c[0], '/'))
            pages.push_back(DataPage(page));
        if (c[1][0] != '!')
            EXPECT_EQ(Walk(pages), c[1]);
        else
            test::ExpectHolds(test::DbErrorOf([&] { Walk(pages); }), test::Split(c[1].substr(1)));
    }
}

// Maps of every size announce their pages: every other page of the file in the map, one row each.
TEST(RowWalk, AnnouncesEveryPageOfTheMapBeforeReadingIt) {
    for (const std::size_t mapPages :
         {std::size_t{0}, std::size_t{1}, RowWalk::kWholeMapPages, RowWalk::kWholeMapPages + 1,
          RowWalk::kWholeMapPages + 2 * RowWalk::kReadAhead + 3}) {
        SCOPED_TRACE(mapPages);
        std::vector<PageBytes> pages(2 * mapPages + 2, DataPage("row"));
        std::vector<std::uint32_t> map;
        for (std::uint32_t page = 1; map.size() < mapPages; page += 2) {
            if (page != kDefinition)
                map.push_back(page);
        }
        EXPECT_EQ(Walk(pages, map).size(), mapPages == 0 ? 0 : 4 * mapPages - 1);
    }
}

// A map of map pages (kind 1) reads each page's bits from the page that it covers on; the inline
// map (kind 0) of every log file is read by the fixture tests.
TEST(RowWalk, MapPagesListsThePagesOfAMapOfMapPages) {
    // Map pages 2 and 4; the second covers the pages from (4096 - 4) * 8 on.
    const TableName table{"log.mdb", "[T]"};
    std::vector<PageBytes> pages(40000, PageBytes(1, 0));
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
    MemoryPages file(std::vector<PageBytes>(20, PageBytes(kPageSize, 0)));
    const std::vector<unsigned char> tooFar{0, 18, 0, 0, 0, 0b100};
    EXPECT_THROW(MapPages(tooFar.data(), tooFar.size(), file, table), DbError);
}

}  // namespace
}  // namespace corvale::logdb_detail
