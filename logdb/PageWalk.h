#pragma once

// Internal to logdb: finds a table's rows in the pages of an Access (Jet) file as Access finds
// them. No libmdb here: the walk reads pages through PageSource, so that tests can hand it pages
// made byte by byte.
//
// A table's data pages are the pages of its page map (the usage map of its definition), in page
// order. A data page starts with its type (0x01) and the number of its definition page (bytes 4
// to 7); after a header (8 bytes in Jet 3, 12 in Jet 4 and later) comes the number of row slots
// (2 bytes) and one 2-byte offset per slot. Rows lie from the end of the page backwards: slot 0
// runs from its offset to the end of the page, slot i from its offset to the offset of slot i-1.
// The top bits of an offset are flags: 0x8000, the row is deleted (also set on the bytes of a
// row that was moved, which are reached through the pointer alone); 0x4000, the slot holds a
// pointer to where the row now lives (a row number byte, then a 3-byte page number), and the row
// is read there, in the pointer's place.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>
#include <vector>

namespace corvale::logdb_detail {

// Where the walk reads pages from.
class PageSource {
  public:
    virtual ~PageSource() = default;
    virtual std::uint32_t PageSize() const = 0;
    virtual std::uint64_t PageCount() const = 0;
    // The PageSize() bytes of a page below PageCount(), valid until the next call; nullptr when
    // the page cannot be read.
    virtual const unsigned char* Page(std::uint32_t number) = 0;
    // A hint: these pages, below PageCount(), are read next, in this order. A source that reads
    // a file can fetch them together, and none of the pages in between.
    virtual void WillRead(std::span<const std::uint32_t> numbers) { (void)numbers; }
    // A hint: bytes [start, start + length) of this page, below PageCount(), are read soon. A
    // source that holds the page in memory can bring them into the processor's cache meanwhile;
    // it reads nothing, and the bytes that Page() handed out stay valid.
    virtual void WillTouch(std::uint32_t page, std::uint32_t start, std::uint32_t length) {
        (void)page;
        (void)start;
        (void)length;
    }
};

// Asks the processor to bring bytes [bytes, bytes + length) into its cache; reads nothing. (An
// instruction written out on x86: GCC 12 drops __builtin_prefetch from a loop that it can prove
// ends, as a loop without effects.)
inline void PrefetchBytes(const unsigned char* bytes, std::size_t length) {
    constexpr std::size_t kCacheLine = 64;
    if (length == 0)
        return;
    // A byte of every line: one each kCacheLine bytes from the first, and the last byte.
    for (std::size_t at = 0; at < length + kCacheLine - 1; at += kCacheLine) {
        const unsigned char* byte = bytes + std::min(at, length - 1);
#if defined(__x86_64__) || defined(__i386__)
        asm volatile("prefetcht0 %0" : : "m"(*byte));
#else
        __builtin_prefetch(byte);
#endif
    }
}

// The page layout of a file's engine version.
struct PageLayout {
    std::uint32_t rowCountOffset = 12;  // 8 in Jet 3 files, 12 in Jet 4 and later
};

// What names a table in the walk's errors: the log's path and the table's label ("[QSO-TAB]").
struct TableName {
    std::string logPath;
    std::string label;
};

// The pages of a table's page map in page order. A map of kind 0 holds a first page number and a
// bitmap of the pages from there; a map of kind 1 holds the numbers of map pages (type 0x05),
// each a bitmap of its own range of pages. Throws DbError when the map, or a page that it names,
// lies outside the file, or a map page is not one.
std::vector<std::uint32_t> MapPages(const unsigned char* map, std::size_t size, PageSource& pages,
                                    const TableName& table);

// Where a row's bytes lie: [start, start + length) of `page`.
struct RowPlace {
    std::uint32_t page = 0;
    std::uint32_t start = 0;
    std::uint32_t length = 0;
};

// The live rows of one table, in Access's order.
//
// The walk finds each row one call ahead and has its bytes brought into the processor's cache
// (PrefetchBytes) while the caller decodes the row before; as a page is entered, it hints the
// slots that the page's pointers lead to (WillTouch). The pages of an edited table are fetched
// long before their rows are reached and a moved row may lie anywhere in the table: without this
// every row would wait for memory. A fault found ahead is thrown by the call that would have
// returned that row.
class RowWalk {
  public:
    // The longest chain of pointers followed to reach one row.
    static constexpr int kMaxPointerSteps = 8;
    // Pages of the map announced to the source (PageSource::WillRead) at a time.
    static constexpr std::size_t kReadAhead = 16;
    // A map of at most this many pages is announced whole at once: the rows that edits moved
    // point anywhere in the table, and a page that a pointer reaches before it was announced
    // is fetched alone (most pages of an edited log's table, one read each).
    static constexpr std::size_t kWholeMapPages = 2048;

    RowWalk(PageSource& pages, PageLayout layout, std::uint32_t definitionPage,
            std::vector<std::uint32_t> dataPages, TableName table);

    // The next row; false after the last. When it returns true, the source's last Page() call
    // was for `row.page`. A page of the map that is not a data page of this table is passed
    // over, as Access does. Throws DbError when a page cannot be read, a slot lies outside its
    // page, or a pointer leads outside the file or the table, to no row, or round in a loop.
    bool Next(RowPlace& row);

  private:
    struct Slot {
        std::uint16_t flags = 0;
        std::uint32_t start = 0;
        std::uint32_t end = 0;
    };

    bool Find(RowPlace& row);
    void FindAhead();
    void HintPointerTargets(const unsigned char* bytes);
    const unsigned char* Read(std::uint32_t page);
    bool IsDataPageOfTable(const unsigned char* bytes) const;
    std::uint32_t SlotCount(const unsigned char* bytes, std::uint32_t page) const;
    Slot SlotAt(const unsigned char* bytes, std::uint32_t page, std::uint32_t slot,
                std::uint32_t slots) const;
    RowPlace Follow(const unsigned char* bytes, std::uint32_t page, const Slot& pointer,
                    std::uint32_t slot);
    [[noreturn]] void Fail(const std::string& reason) const;

    PageSource& pages_;
    PageLayout layout_;
    std::uint32_t definitionPage_;
    std::vector<std::uint32_t> dataPages_;
    TableName table_;
    std::size_t nextPage_ = 0;    // index into dataPages_ of the page after the current one
    std::size_t announced_ = 0;   // dataPages_ before this index have been announced
    std::uint32_t page_ = 0;      // the current page
    std::uint32_t slots_ = 0;     // its slot count
    std::uint32_t slot_ = 0;      // the next slot to read
    std::uint32_t lastRead_ = 0;  // the page of the source's last Page() call
    const unsigned char* lastBytes_ = nullptr;  // and its bytes
    bool started_ = false;
    bool found_ = false;  // ahead_ holds the row that Next() returns next
    RowPlace ahead_;
    std::exception_ptr failure_;  // the fault found ahead, thrown when its row is due
};

}  // namespace corvale::logdb_detail
