#pragma once

// Internal to logdb: one log file opened through mdbtools' libmdb. Not part of the layer's API.
//
// Every check that stands between a file on disk and libmdb lives in this file's .cpp
// (CheckLogFile, MdbLog::ReadCatalog, MdbLog::CheckDefinition, MdbLog::OpenTable and the cell
// readers) and in the row walk (PageWalk.h), so that the fuzz target has one place to harden.
// libmdb trusts what it reads; these checks make sure that it is only ever given a regular,
// readable file that starts like an Access database and is long enough to hold one, never parses
// the catalog's property blobs, and decodes only rows that the walk has found and checked.
// libmdb's own row iteration (mdb_fetch_row) is not used: it reads the row-offset flags wrongly.

// glib.h first: mdbtools.h includes it inside its extern "C" block, which breaks glib's C++
// templates when glib.h is met there for the first time.
#include <glib.h>
#include <mdbtools.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "logdb/PageWalk.h"

namespace corvale::logdb_detail {

// The one sentence of every DbError about a log file: Cannot read the log "PATH": REASON.
std::string LogErrorText(std::string_view path, std::string_view reason);
[[noreturn]] void ThrowLogError(std::string_view path, std::string_view reason);

// RC4 applied to `bytes` in place (it is its own inverse): Access scrambles the header with it.
void Rc4(const unsigned char* key, std::size_t keySize, unsigned char* bytes, std::size_t size);

// What CheckLogFile learned about a file that passed.
struct LogFileFacts {
    std::uint64_t size = 0;      // bytes
    std::uint32_t pageSize = 0;  // 2048 (Jet 3) or 4096 (Jet 4 and later)
    std::uint64_t pageCount = 0;
    std::int64_t modified = 0;  // modification time, nanoseconds since the epoch
};

// An open file descriptor, closed with the object.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd();
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    int Get() const { return fd_; }
    int Release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

  private:
    int fd_ = -1;
};

struct CheckedLogFile {
    UniqueFd fd;  // open read-only on the file that was checked
    LogFileFacts facts;
};

// Checks, without libmdb, that `path` names a regular, readable file that starts like an
// Access (Jet or ACE) database of a known version, is not encrypted and is long enough to hold
// one; returns it open. Throws DbError otherwise.
CheckedLogFile CheckLogFile(const std::string& path);

// While one of these lives, libmdb's messages are discarded (see MdbLog.cpp for why and how).
class LibmdbQuiet {
  public:
    LibmdbQuiet();
    ~LibmdbQuiet();
    LibmdbQuiet(const LibmdbQuiet&) = delete;
    LibmdbQuiet& operator=(const LibmdbQuiet&) = delete;

  private:
    bool active_ = false;
};

// One log file opened read-only through libmdb, its catalog read. One object serves one read
// on one thread; libmdb keeps no state shared between handles. libmdb reads the pages through
// the descriptor that CheckLogFile opened (see MdbLog.cpp), never opening the path itself.
class MdbLog {
  public:
    // Checks the file (CheckLogFile), opens it and reads its catalog. Throws DbError.
    explicit MdbLog(std::string path);
    ~MdbLog() = default;
    MdbLog(const MdbLog&) = delete;
    MdbLog& operator=(const MdbLog&) = delete;

    const std::string& Path() const { return path_; }
    MdbHandle* Handle() const { return mdb_.get(); }
    const LogFileFacts& Facts() const { return facts_; }

    // The user table of that name (compared without case, as Jet does) with its columns read,
    // owned by this object; nullptr when the file has no such table. Throws DbError when the
    // table is there but its definition cannot be read.
    MdbTableDef* OpenTable(std::string_view name);

    // Throws DbError with LogErrorText(Path(), reason).
    [[noreturn]] void Fail(std::string_view reason) const;

    // The bytes of a page below Facts().pageCount as libmdb would read them (an encrypted Jet 3
    // or Jet 4 file deciphered), valid until the next read; nullptr when it cannot be read.
    const unsigned char* ReadPage(std::uint32_t number);
    // Fetches these pages below Facts().pageCount into the cache at once (PageSource::WillRead).
    void WillRead(std::span<const std::uint32_t> numbers);
    // Brings these bytes of a page below Facts().pageCount into the processor's cache when the
    // page is in the cache already (PageSource::WillTouch).
    void WillTouch(std::uint32_t page, std::uint32_t start, std::uint32_t length);
    // Puts the row's bytes into libmdb's page buffer, in their place, where its row decoder
    // reads them; false when the page cannot be read.
    bool LoadRow(std::uint32_t page, std::uint32_t start, std::uint32_t length);

    // A table whose stored row count differs from the rows that its pages hold (a log closed
    // uncleanly): noted by TableRows, reported by Warnings().
    void NoteRowCount(const std::string& label, std::uint64_t stored, std::uint64_t found);
    // At most one sentence naming the log: the tables whose row counts disagree with their
    // pages, and that DXBase's compact and repair puts them right.
    std::vector<std::string> Warnings() const;

    // Throws DbError when a page could not be read from the file (an I/O error): libmdb takes
    // such a page for the end of the table. Also when the file has been written since it was
    // checked: rows read across a change may come from two versions of the log.
    void CheckReadErrors() const;

  private:
    struct CloseHandle {
        void operator()(MdbHandle* mdb) const;
    };
    struct FreeTable {
        void operator()(MdbTableDef* table) const;
    };
    // A table of the catalog (MSysObjects): its name and its definition page.
    struct CatalogTable {
        std::string name;
        unsigned long page = 0;
        int flags = 0;
    };

    void ReadCatalog();
    // Throws DbError when the definition of a table just read cannot be trusted.
    void CheckDefinition(const MdbTableDef& table, const std::string& label) const;

    std::string path_;
    LogFileFacts facts_;
    std::unique_ptr<MdbHandle, CloseHandle> mdb_;
    class PageReader* pages_ = nullptr;  // libmdb's page source, owned by the handle's stream
    std::vector<CatalogTable> catalog_;
    std::vector<std::string> countMismatches_;  // "[TABLE] stores N rows, its pages hold M"
    // Freed in this order: the tables, then the entries they point to, then the handle.
    std::vector<std::unique_ptr<MdbCatalogEntry>> entries_;
    std::vector<std::unique_ptr<MdbTableDef, FreeTable>> tables_;
};

// The rows of a table of the log in the order that Access gives (RowWalk), each decoded by
// libmdb's row decoder: after Next() has returned true, every column's cur_value_start and
// cur_value_len place its value in libmdb's page buffer, as mdb_fetch_row would leave them, so
// that TextCell and LongCell read the row. Call under a LibmdbQuiet. When the walk ends, a stored
// row count that differs from the rows found is noted on the log (MdbLog::NoteRowCount).
class TableRows {
  public:
    // `read`: the columns whose values are read (all when empty); the others read as NULL, and
    // Next() spends no time on them. Throws DbError when the table's page map cannot be read.
    TableRows(MdbLog& log, MdbTableDef* table, std::string label,
              const std::vector<const MdbColumn*>& read = {});
    ~TableRows();
    TableRows(const TableRows&) = delete;
    TableRows& operator=(const TableRows&) = delete;

    // Throws DbError when a row cannot be found or decoded.
    bool Next();
    std::uint64_t Count() const { return count_; }

  private:
    class Pages;
    MdbLog& log_;
    MdbTableDef* table_;
    std::string label_;
    std::unique_ptr<Pages> pages_;
    std::unique_ptr<RowWalk> walk_;
    std::vector<MdbField> fields_;
    std::vector<MdbColumn*> read_;  // by column index: the column when it is read, else nullptr
    std::uint64_t count_ = 0;
    bool ended_ = false;
};

// The column of `table` with that name (compared without case), or nullptr.
MdbColumn* FindColumn(const MdbTableDef* table, std::string_view name);

// Access's name of a libmdb column type ("Text", "Long Integer", ...).
std::string_view ColumnTypeName(int type);

// The value of a column in the row that TableRows::Next has just read, as text: decoded by
// libmdb as UTF-8 (a Decimal column as its decimal text); NULL and "" both read as "". The
// column need not be bound: only the columns asked for are decoded. A memo is read whole,
// however long.
class TextCell {
  public:
    TextCell(MdbHandle* mdb, const MdbColumn* column);
    ~TextCell();
    TextCell(const TextCell&) = delete;
    TextCell& operator=(const TextCell&) = delete;
    std::string_view View() const { return {text_ ? text_ : "", length_}; }

  private:
    char* text_ = nullptr;  // allocated by libmdb (g_malloc)
    std::size_t length_ = 0;
};

// A Decimal value (17 bytes: a sign byte, 0x80 for negative, then the 128-bit magnitude as four
// 32-bit little-endian words, the most significant first) as decimal text with `scale` digits
// after the point, trailing zeros of the fraction dropped: "6", "6.5", "-0.25".
std::string DecimalText(const unsigned char* value, int scale);

// The value of a Long Integer column in the row that TableRows::Next has just read; NULL reads 0.
std::int32_t LongCell(const MdbHandle* mdb, const MdbColumn* column);

}  // namespace corvale::logdb_detail
