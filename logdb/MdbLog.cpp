#include "logdb/MdbLog.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>

#include "logdb/DbError.h"

namespace corvale::logdb_detail {

std::string LogErrorText(std::string_view path, std::string_view reason) {
    std::string text = "Cannot read the log \"";
    text.append(path).append("\": ").append(reason).append(".");
    return text;
}

void ThrowLogError(std::string_view path, std::string_view reason) {
    throw DbError(LogErrorText(path, reason));
}

void Rc4(const unsigned char* key, std::size_t keySize, unsigned char* bytes, std::size_t size) {
    std::array<unsigned char, 256> state{};
    for (std::size_t i = 0; i < state.size(); ++i)
        state[i] = static_cast<unsigned char>(i);
    for (std::size_t i = 0, j = 0; i < state.size(); ++i) {
        j = (j + state[i] + key[i % keySize]) & 0xFF;
        std::swap(state[i], state[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < size; ++n) {
        i = (i + 1) & 0xFF;
        j = (j + state[i]) & 0xFF;
        std::swap(state[i], state[j]);
        bytes[n] ^= state[(state[i] + state[j]) & 0xFF];
    }
}

// ---------------------------------------------------------------------------------------------
// Keeping libmdb quiet.
//
// libmdb (mdbtools 1.0.0) reports its troubles itself, with fprintf(stderr, ...), perror() and,
// for the MDBOPTS debug classes, vfprintf(stderr, ...): "Unable to read table MSysObjects",
// "offset 4096 is beyond EOF", "mdb_read_table: Page 2 [size=4096] is not a valid table
// definition page", "Unknown Jet version", "error: reading page N failed.", ... These are printed
// whatever the caller does: MDB_DEBUG in mdbtools.h is a compile-time constant (0) that gates
// only some debug dumps, there is no mdb_set_debug(), the MDBOPTS environment variable can only
// add debug classes, and libmdb never goes through g_printerr/g_warning, so a glib print or log
// handler does not see these lines either. (Checked against Debian's libmdb3 1.0.0: its dynamic
// imports are __fprintf_chk, __vfprintf_chk, perror and the stderr variable, and running it on
// zero.mdb and truncated.mdb prints the lines above.)
//
// The user must see only Corvale's own messages, and Corvale turns every failure into a DbError
// of its own. So while libmdb works for us, the C library's `stderr` *variable* points at a
// stream that drops whatever is written to it: a fopencookie() stream without a file descriptor.
// glibc documents stdin, stdout and stderr as ordinary variables that a program may assign, and
// libmdb reads the variable at every call. File descriptor 2 is never closed, duplicated or
// redirected: std::cerr (bound to the original stream object when the program starts), write(2)
// and child processes are untouched.
//
// The price: for the time that libmdb works, stdio writes to `stderr` from other threads are
// dropped as well (a Qt warning from the GUI thread during a read on the worker thread, say).
// The windows are short — opening, reading the catalog and table definition, and batches of rows
// between two progress callbacks, which run with the real stream in place. Reads on several
// threads nest: a count under a mutex puts the quiet stream in place for the first and the real
// one back after the last. This count is the one piece of process-wide mutable state in this
// layer, and it exists because libmdb prints to the process-wide `stderr`.
// ---------------------------------------------------------------------------------------------

namespace {

ssize_t DropWrite(void*, const char*, size_t size) {
    return static_cast<ssize_t>(size);
}

std::FILE* QuietStream() {
    static std::FILE* const stream = [] {
        cookie_io_functions_t io{};
        io.write = DropWrite;
        std::FILE* f = fopencookie(nullptr, "w", io);
        // Unbuffered: nothing of libmdb's is left in a buffer when the real stream comes back.
        if (f != nullptr)
            std::setvbuf(f, nullptr, _IONBF, 0);
        return f;
    }();
    return stream;
}

struct QuietState {
    std::mutex mutex;
    int depth = 0;
    std::FILE* saved = nullptr;
};

QuietState& Quiet() {
    static QuietState state;
    return state;
}

}  // namespace

LibmdbQuiet::LibmdbQuiet() {
    std::FILE* quiet = QuietStream();
    if (quiet == nullptr)
        return;  // could not make one: libmdb's lines show, nothing worse
    QuietState& state = Quiet();
    std::lock_guard lock(state.mutex);
    if (state.depth++ == 0) {
        state.saved = stderr;
        stderr = quiet;
    }
    active_ = true;
}

LibmdbQuiet::~LibmdbQuiet() {
    if (!active_)
        return;
    QuietState& state = Quiet();
    std::lock_guard lock(state.mutex);
    if (--state.depth == 0) {
        stderr = state.saved;
        state.saved = nullptr;
    }
}

// ---------------------------------------------------------------------------------------------
// The checks before libmdb sees a file.
// ---------------------------------------------------------------------------------------------

UniqueFd::~UniqueFd() {
    if (fd_ >= 0)
        ::close(fd_);
}

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.Release();
    }
    return *this;
}

namespace {

std::string SystemMessage(int error) {
    return std::generic_category().message(error);  // thread-safe, unlike strerror
}

// The first 20 bytes of every Jet / ACE database: a page-type word, then the engine's name.
constexpr std::array<unsigned char, 4> kFileStart{0x00, 0x01, 0x00, 0x00};
constexpr std::string_view kJetName{"Standard Jet DB\0", 16};
constexpr std::string_view kAceName{"Standard ACE DB\0", 16};
constexpr std::size_t kSignatureSize = 20;
// The engine version: 0 Jet 3 (pages of 2 KiB), 1 Jet 4, 2 to 6 the ACE versions of Access
// 2007 to 2019 (pages of 4 KiB). One byte: an Access 2010 file may have 1 in the next one.
constexpr std::size_t kVersionOffset = 0x14;
constexpr unsigned kLastKnownVersion = 6;
// Access scrambles the header from 0x18 on with RC4 under a fixed key, over 126 bytes (Jet 3)
// or 128 (later versions). Inside it, the 4 bytes at 0x3E are the database's encoding key: 0
// for a file that is not encrypted. A database password (at 0x42) encrypts nothing.
constexpr std::size_t kScrambledStart = 0x18;
constexpr std::size_t kScrambledSize = 128;
constexpr std::array<unsigned char, 4> kHeaderKey{0xC7, 0xDA, 0x39, 0x6B};
constexpr std::size_t kEncodingKeyOffset = 0x3E;
constexpr std::size_t kHeaderSize = kScrambledStart + kScrambledSize;
// The catalog (MSysObjects) is defined on page 2: a database has at least pages 0 to 2.
constexpr std::uint64_t kMinimumPages = 3;

bool MatchesSignature(const unsigned char* bytes, std::size_t count, std::string_view name) {
    for (std::size_t i = 0; i < count && i < kSignatureSize; ++i) {
        const unsigned char expected =
            i < kFileStart.size() ? kFileStart[i]
                                  : static_cast<unsigned char>(name[i - kFileStart.size()]);
        if (bytes[i] != expected)
            return false;
    }
    return true;
}

std::int64_t ModifiedNanoseconds(const struct stat& status) {
    return static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
           status.st_mtim.tv_nsec;
}

std::uint32_t LittleEndian32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// Whether the header (kHeaderSize bytes of page 0) marks the database as encrypted.
bool HasEncodingKey(const unsigned char* header, unsigned version) {
    std::array<unsigned char, kScrambledSize> plain{};
    std::memcpy(plain.data(), header + kScrambledStart, plain.size());
    Rc4(kHeaderKey.data(), kHeaderKey.size(), plain.data(), version == 0 ? 126 : 128);
    return LittleEndian32(plain.data() + (kEncodingKeyOffset - kScrambledStart)) != 0;
}

}  // namespace

CheckedLogFile CheckLogFile(const std::string& path) {
    if (path.empty())
        throw DbError("Cannot read the log: no file name was given.");
    if (path.find('\0') != std::string::npos)
        ThrowLogError(path, "the name is not a valid file name");

    // O_NONBLOCK: opening a FIFO or a device must not wait; such files are refused below.
    CheckedLogFile file;
    file.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const int fd = file.fd.Get();
    if (fd < 0) {
        const int error = errno;
        switch (error) {
            case ENOENT:
            case ENOTDIR:
                ThrowLogError(path, "the file does not exist");
            case EACCES:
            case EPERM:
                ThrowLogError(path, "permission to read the file is denied");
            case EISDIR:
                ThrowLogError(path, "it is a folder, not a file");
            default:
                ThrowLogError(path, "the file cannot be opened (" + SystemMessage(error) + ")");
        }
    }

    struct stat status {};
    if (::fstat(fd, &status) != 0)
        ThrowLogError(path, "the file cannot be examined (" + SystemMessage(errno) + ")");
    if (S_ISDIR(status.st_mode))
        ThrowLogError(path, "it is a folder, not a file");
    file.facts.modified = ModifiedNanoseconds(status);
    if (!S_ISREG(status.st_mode))
        ThrowLogError(path, "it is not a regular file");

    LogFileFacts& facts = file.facts;
    facts.size = static_cast<std::uint64_t>(status.st_size);
    if (facts.size == 0)
        ThrowLogError(path, "the file is empty (0 bytes), not an Access database");

    std::array<unsigned char, kHeaderSize> head{};
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n =
            ::pread(fd, head.data() + got, head.size() - got, static_cast<off_t>(got));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            ThrowLogError(path, "the file cannot be read (" + SystemMessage(errno) + ")");
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }

    const bool jet = MatchesSignature(head.data(), got, kJetName);
    const bool ace = MatchesSignature(head.data(), got, kAceName);
    if (!jet && !ace)
        ThrowLogError(path, "the file is not an Access database");
    if (got < head.size())
        ThrowLogError(path, "the file is truncated: it ends after " + std::to_string(got) +
                                " bytes, inside its header");

    const unsigned version = head[kVersionOffset];
    if (version > kLastKnownVersion)
        ThrowLogError(path, "the file is an Access database of an unknown version (code " +
                                std::to_string(version) + ")");
    facts.pageSize = version == 0 ? 2048 : 4096;
    // libmdb undoes the encryption of Jet 3 and Jet 4 files itself (RC4 keyed by the encoding
    // key and the page number); that of Access 2007 and later (Office's own, keyed by the
    // password) it cannot, and would read the pages as damaged ones.
    if (version >= 2 && HasEncodingKey(head.data(), version))
        ThrowLogError(path,
                      "it is encrypted; remove the password in Access (File, Info, Decrypt "
                      "Database) to let Corvale read it");

    if (facts.size < kMinimumPages * facts.pageSize)
        ThrowLogError(path, "the file is truncated: at " + std::to_string(facts.size) +
                                " bytes it is too short to hold an Access database");
    if (facts.size % facts.pageSize != 0)
        ThrowLogError(path, "the file is truncated or damaged: its size (" +
                                std::to_string(facts.size) +
                                " bytes) is not a whole number of database pages");
    facts.pageCount = facts.size / facts.pageSize;
    return file;
}

// ---------------------------------------------------------------------------------------------
// libmdb's page source.
//
// libmdb 1.0.0 reads every page with fseeko(SEEK_END), ftello, fseeko and fread on its FILE
// stream: on a file opened by name that is an fstat, two lseeks and a read, some 90,000 system
// calls for a 50 MB log, a third of the time of a read. So the handle's stream (MdbFile.stream,
// a public member of mdbtools.h) is replaced by a fopencookie() stream over the descriptor that
// CheckLogFile opened and checked: seeks are arithmetic on the size found by the check, and
// reads are served from a cache of the file's blocks (pread, no shared file offset).
//
// The handle is made with mdb_open_buffer() over a copy of page 0, which is all that libmdb
// reads while it opens a handle; the memory stream is swapped for ours at once. So libmdb
// never opens the path itself (mdb_open would also search $MDBPATH for a name that it cannot
// find), and every byte that it reads comes from the file that was checked. A page that cannot
// be read is remembered: libmdb itself takes it for the end of the table.
// ---------------------------------------------------------------------------------------------

// The cache holds blocks of 4 KiB (a page; two of a Jet 3 file) side by side in one buffer,
// filled in turn and, once full, from its start again, the oldest block making room. The walk
// over a table announces the pages it reads next (ReadAhead): each run of neighbouring blocks
// among them is read with one pread into neighbouring places, and the pages in between (memo
// pages, other tables) are not read at all. Any other read (a moved row, a memo, libmdb's own
// reads) takes its block alone. Only the blocks filled take memory; one buffer, rather than a
// piece per chunk of the file, touches as few fresh pages as the blocks need (a page fault on
// fresh memory costs more than the pread that fills it) and is one allocation that the C
// library can hand to the next read of a log.
class PageReader {
  public:
    PageReader(UniqueFd fd, std::uint64_t size) : fd_(std::move(fd)), size_(size) {
        cache_ = std::make_unique_for_overwrite<char[]>(kCacheSize);
        slotBlock_.assign(kSlots, kNoBlock);
        slotLength_.assign(kSlots, 0);
        slotOf_.assign(static_cast<std::size_t>((size_ + kBlockSize - 1) / kBlockSize), kNoSlot);
    }
    ssize_t Read(char* buffer, std::size_t count) {
        std::size_t done = 0;
        while (done < count && position_ < size_) {
            const Span span = At(position_);
            if (span.bytes == nullptr)
                break;  // a read error (remembered), or the file ended early (it shrank)
            const auto n =
                static_cast<std::size_t>(std::min<std::uint64_t>(count - done, span.size));
            std::memcpy(buffer + done, span.bytes, n);
            done += n;
            position_ += n;
        }
        if (done == 0 && error_ != 0)
            return -1;
        return static_cast<ssize_t>(done);
    }

    int Seek(off64_t* offset, int whence) {
        std::int64_t base = 0;
        if (whence == SEEK_CUR)
            base = static_cast<std::int64_t>(position_);
        if (whence == SEEK_END)
            base = static_cast<std::int64_t>(size_);
        const std::int64_t target = base + *offset;
        if (target < 0) {
            errno = EINVAL;
            return -1;
        }
        position_ = static_cast<std::uint64_t>(target);
        *offset = target;
        return 0;
    }

    int Error() const { return error_; }

    // The `size` bytes at `offset` (a page: it never crosses a block), straight from the cache;
    // nullptr when they cannot be read whole. Valid until the next read.
    const unsigned char* Bytes(std::uint64_t offset, std::size_t size) {
        const Span span = At(offset);
        if (span.bytes == nullptr || span.size < size)
            return nullptr;
        return reinterpret_cast<const unsigned char*>(span.bytes);
    }

    // Asks the processor for the cached bytes [offset, offset + size) of one block, when they are
    // cached; reads nothing.
    void Touch(std::uint64_t offset, std::uint64_t size) const {
        const std::uint64_t block = offset / kBlockSize;
        if (block >= slotOf_.size() || slotOf_[block] == kNoSlot)
            return;
        const std::uint64_t from = offset % kBlockSize;
        const std::uint64_t to = std::min<std::uint64_t>(from + size, kBlockSize);
        const char* bytes = cache_.get() + std::size_t{slotOf_[block]} * kBlockSize;
        PrefetchBytes(reinterpret_cast<const unsigned char*>(bytes) + from, to - from);
    }

    // Reads the pages at these numbers that are not cached yet, each run of neighbouring ones
    // with one read. Valid pointers from Bytes() end here.
    void ReadAhead(std::span<const std::uint32_t> pages, std::uint32_t pageSize) {
        for (std::size_t i = 0; i < pages.size();) {
            const std::uint64_t first = std::uint64_t{pages[i]} * pageSize / kBlockSize;
            std::uint64_t last = first;
            for (++i; i < pages.size(); ++i) {
                const std::uint64_t block = std::uint64_t{pages[i]} * pageSize / kBlockSize;
                if (block != last && block != last + 1)
                    break;
                last = block;
            }
            for (std::uint64_t block = first; block <= last;) {
                if (slotOf_[block] != kNoSlot) {
                    ++block;
                    continue;
                }
                std::uint64_t end = block + 1;  // the uncached run [block, end)
                while (end <= last && slotOf_[end] == kNoSlot)
                    ++end;
                const std::uint64_t read = Load(block, end - block);
                if (read == 0)
                    return;  // a read error, or the end of the file
                block += read;
            }
        }
    }

    // Whether the file differs in size or modification time from what the check found.
    bool Changed(const LogFileFacts& facts) const {
        struct stat status {};
        if (::fstat(fd_.Get(), &status) != 0)
            return false;  // an unreadable file shows as a read error
        return static_cast<std::uint64_t>(status.st_size) != facts.size ||
               ModifiedNanoseconds(status) != facts.modified;
    }

  private:
    static constexpr std::size_t kBlockSize = 4096;
    static constexpr std::size_t kCacheSize = 16 * 1024 * 1024;
    static constexpr std::size_t kSlots = kCacheSize / kBlockSize;
    static constexpr std::uint64_t kNoBlock = ~std::uint64_t{0};
    static constexpr std::uint32_t kNoSlot = ~std::uint32_t{0};
    struct Span {
        const char* bytes = nullptr;
        std::uint64_t size = 0;
    };

    // The cached bytes of the block that holds `position`, from there to the block's end, read
    // if need be; none after a read error or past the end of the file.
    Span At(std::uint64_t position) {
        const std::uint64_t block = position / kBlockSize;
        if (block >= slotOf_.size())
            return {};
        if (slotOf_[block] == kNoSlot && Load(block, 1) == 0)
            return {};
        const std::size_t slot = slotOf_[block];
        const std::uint64_t offset = position % kBlockSize;
        if (offset >= slotLength_[slot])
            return {};
        return {cache_.get() + slot * kBlockSize + offset, slotLength_[slot] - offset};
    }

    // Reads up to `count` blocks from `first` on into neighbouring slots, fewer where the slots
    // wrap round; returns how many were read (0 after a read error or past the end of the file).
    std::uint64_t Load(std::uint64_t first, std::uint64_t count) {
        count = std::min<std::uint64_t>(count, kSlots - nextSlot_);
        const std::uint64_t from = first * kBlockSize;
        const std::uint64_t to = std::min(size_, (first + count) * kBlockSize);
        if (from >= to)
            return 0;
        char* target = cache_.get() + nextSlot_ * kBlockSize;
        std::uint64_t got = 0;
        while (from + got < to) {
            const ssize_t n =
                ::pread(fd_.Get(), target + got, to - from - got, static_cast<off_t>(from + got));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                error_ = errno;
                return 0;
            }
            if (n == 0)
                break;  // the file ended early (it shrank)
            got += static_cast<std::uint64_t>(n);
        }
        const std::uint64_t blocks = (got + kBlockSize - 1) / kBlockSize;
        for (std::uint64_t b = 0; b < blocks; ++b) {
            const std::size_t slot = nextSlot_++;
            if (slotBlock_[slot] != kNoBlock)
                slotOf_[slotBlock_[slot]] = kNoSlot;
            slotBlock_[slot] = first + b;
            slotLength_[slot] = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(kBlockSize, got - b * kBlockSize));
            slotOf_[first + b] = static_cast<std::uint32_t>(slot);
        }
        if (nextSlot_ == kSlots)
            nextSlot_ = 0;
        return blocks;
    }

    UniqueFd fd_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
    int error_ = 0;
    std::unique_ptr<char[]> cache_;          // kSlots blocks
    std::vector<std::uint64_t> slotBlock_;   // the block in each slot, or kNoBlock
    std::vector<std::uint32_t> slotLength_;  // the file's bytes in each slot
    std::vector<std::uint32_t> slotOf_;      // the slot of each block, or kNoSlot
    std::size_t nextSlot_ = 0;               // the slot filled next
};

namespace {

ssize_t PageRead(void* cookie, char* buffer, size_t count) {
    return static_cast<PageReader*>(cookie)->Read(buffer, count);
}

int PageSeek(void* cookie, off64_t* offset, int whence) {
    return static_cast<PageReader*>(cookie)->Seek(offset, whence);
}

int PageClose(void* cookie) {
    delete static_cast<PageReader*>(cookie);
    return 0;
}

}  // namespace

namespace {

bool NamesUtf8(std::string_view charset) {
    return g_ascii_strcasecmp(std::string(charset).c_str(), "UTF-8") == 0 ||
           g_ascii_strcasecmp(std::string(charset).c_str(), "UTF8") == 0;
}

// Text stays UTF-8. libmdb converts text into the charset that $MDBICONV names, when that is
// set (UTF-8 otherwise). Its decoder is a public member of the handle: when $MDBICONV names
// another charset, a decoder into UTF-8 takes its place, from the charset that libmdb reads
// the file in (UCS-2LE for Jet 4 and later; for Jet 3, $MDB_JET3_CHARSET or CP1252).
void KeepTextUtf8(MdbHandle* mdb) {
    const char* target = std::getenv("MDBICONV");
    if (target == nullptr || NamesUtf8(target))
        return;
    const char* source = "UCS-2LE";
    if (mdb->f->jet_version == MDB_VER_JET3) {
        source = std::getenv("MDB_JET3_CHARSET");
        if (source == nullptr)
            source = "CP1252";
    }
    const iconv_t utf8 = iconv_open("UTF-8", source);
    if (utf8 == reinterpret_cast<iconv_t>(-1))
        return;  // libmdb's own decoder stays
    if (mdb->iconv_in != reinterpret_cast<iconv_t>(-1))
        iconv_close(mdb->iconv_in);
    mdb->iconv_in = utf8;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// MdbLog
// ---------------------------------------------------------------------------------------------

MdbLog::MdbLog(std::string path) : path_(std::move(path)) {
    CheckedLogFile file = CheckLogFile(path_);
    facts_ = file.facts;

    std::vector<unsigned char> firstPage(facts_.pageSize);
    std::size_t got = 0;
    while (got < firstPage.size()) {
        const ssize_t n = ::pread(file.fd.Get(), firstPage.data() + got, firstPage.size() - got,
                                  static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            Fail("the file cannot be read (" + SystemMessage(errno) + ")");
        if (n == 0)
            Fail("the file is truncated: it ends inside its first page");
        got += static_cast<std::size_t>(n);
    }

    auto reader = std::make_unique<PageReader>(std::move(file.fd), facts_.size);
    cookie_io_functions_t io{};
    io.read = PageRead;
    io.seek = PageSeek;
    io.close = PageClose;
    std::FILE* stream = fopencookie(reader.get(), "r", io);
    if (stream == nullptr)
        Fail("there is not enough memory to open the file");
    pages_ = reader.release();  // owned by the stream from here on
    // A buffer of one page: glibc then hands every fread of a whole page straight to the
    // reader. (Unbuffered, it would call the reader once per byte.)
    std::setvbuf(stream, nullptr, _IOFBF, facts_.pageSize);

    LibmdbQuiet quiet;
    // MDB_NOFLAGS: read-only. libmdb never writes, locks or makes a lock (.ldb) file.
    mdb_.reset(mdb_open_buffer(firstPage.data(), firstPage.size(), MDB_NOFLAGS));
    if (!mdb_) {
        std::fclose(stream);
        pages_ = nullptr;
        Fail("the file cannot be opened as an Access database");
    }
    std::fclose(mdb_->f->stream);  // the memory stream over firstPage
    mdb_->f->stream = stream;      // mdb_close closes it, and with it the reader and the file

    KeepTextUtf8(mdb_.get());

    if (static_cast<std::uint64_t>(mdb_->fmt->pg_size) != facts_.pageSize)
        Fail("the file is damaged: its page size is not the one its version calls for");

    // A successful open proves little (mdb_open succeeds on an empty file): the catalog must
    // read, and read whole.
    ReadCatalog();
}

void MdbLog::CloseHandle::operator()(MdbHandle* mdb) const {
    LibmdbQuiet quiet;
    mdb_close(mdb);
}

void MdbLog::FreeTable::operator()(MdbTableDef* table) const {
    LibmdbQuiet quiet;
    mdb_free_tabledef(table);
}

void MdbLog::Fail(std::string_view reason) const {
    ThrowLogError(path_, reason);
}

const unsigned char* MdbLog::ReadPage(std::uint32_t number) {
    MdbHandle* mdb = mdb_.get();
    if (mdb->f->db_key != 0 || pages_ == nullptr) {
        // An encrypted Jet 3 or Jet 4 file: libmdb deciphers the page into its buffer.
        if (mdb_read_pg(mdb, number) != static_cast<ssize_t>(facts_.pageSize)) {
            mdb->cur_pg = 0;  // libmdb would take the failed page for the one in its buffer
            return nullptr;
        }
        return mdb->pg_buf;
    }
    return pages_->Bytes(std::uint64_t{number} * facts_.pageSize, facts_.pageSize);
}

void MdbLog::WillRead(std::span<const std::uint32_t> numbers) {
    if (mdb_->f->db_key == 0 && pages_ != nullptr)
        pages_->ReadAhead(numbers, facts_.pageSize);
}

void MdbLog::WillTouch(std::uint32_t page, std::uint32_t start, std::uint32_t length) {
    if (mdb_->f->db_key == 0 && pages_ != nullptr)
        pages_->Touch(std::uint64_t{page} * facts_.pageSize + start, length);
}

bool MdbLog::LoadRow(std::uint32_t page, std::uint32_t start, std::uint32_t length) {
    MdbHandle* mdb = mdb_.get();
    const unsigned char* bytes = ReadPage(page);
    if (bytes == nullptr)
        return false;
    if (bytes != mdb->pg_buf) {
        // The row alone, in its place: the decoder reads nothing else of the page.
        std::memcpy(mdb->pg_buf + start, bytes + start, length);
        mdb->cur_pg = 0;  // the buffer holds no whole page
    }
    return true;
}

void MdbLog::NoteRowCount(const std::string& label, std::uint64_t stored, std::uint64_t found) {
    countMismatches_.push_back("table " + label + " counts " + std::to_string(stored) +
                               " rows, its pages hold " + std::to_string(found));
}

std::vector<std::string> MdbLog::Warnings() const {
    if (countMismatches_.empty())
        return {};
    std::string text = "The log \"" + path_ + "\" was not closed cleanly (";
    for (std::size_t i = 0; i < countMismatches_.size(); ++i)
        text.append(i == 0 ? "" : "; ").append(countMismatches_[i]);
    text.append(
        "). Corvale read the rows that its pages hold, as Access does; DXBase's compact and "
        "repair puts the count right.");
    return {text};
}

void MdbLog::CheckReadErrors() const {
    if (pages_ == nullptr)
        return;
    if (pages_->Error() != 0)
        Fail("the file cannot be read (" + SystemMessage(pages_->Error()) + ")");
    // The logging program may write the log while it is read: a row that it moves can then be
    // read twice or not at all. The file is still open, so this sees the file that was read,
    // even when it has been renamed or deleted since.
    if (pages_->Changed(facts_))
        Fail(
            "the file changed while it was read (is the logging program writing it?); run "
            "again when it is done");
}

namespace {

// An integer column's value in the current row (Byte, Integer or Long Integer); NULL reads 0.
std::int64_t IntegerCell(const MdbHandle* mdb, const MdbColumn* column) {
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length <= 0 || start < 0 ||
        static_cast<std::int64_t>(start) + length > static_cast<std::int64_t>(mdb->fmt->pg_size))
        return 0;
    const unsigned char* p = mdb->pg_buf + start;
    if (column->col_type == MDB_BYTE && length == 1)
        return p[0];
    if (column->col_type == MDB_INT && length == 2)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | p[1] << 8));
    if (column->col_type == MDB_LONGINT && length == 4)
        return static_cast<std::int32_t>(LittleEndian32(p));
    return 0;
}

}  // namespace

// The catalog is the table MSysObjects, defined on page 2. mdb_read_catalog would read it too,
// but it also parses every object's property blob (LvProp), which libmdb 1.0.0 reads out of
// bounds when the blob is damaged, and which this layer has no use for. So the four columns
// that name the tables are read here, as mdb_read_catalog reads them (Id, Name, Type, Flags),
// and the catalog entries that libmdb's table reader needs are made from them, without
// properties.
void MdbLog::ReadCatalog() {
    const std::string label = "[MSysObjects]";
    const std::string unreadable =
        "the file is truncated or damaged: its list of tables cannot be read";
    MdbCatalogEntry objects{};
    objects.mdb = mdb_.get();
    objects.object_type = MDB_TABLE;
    objects.table_pg = 2;
    std::snprintf(objects.object_name, sizeof objects.object_name, "%s", "MSysObjects");

    LibmdbQuiet quiet;
    std::unique_ptr<MdbTableDef, FreeTable> table(mdb_read_table(&objects));
    if (!table)
        Fail(unreadable);
    CheckDefinition(*table, label);
    if (mdb_read_columns(table.get()) == nullptr || table->columns == nullptr ||
        table->columns->len != table->num_cols)
        Fail(unreadable);
    const MdbColumn* id = FindColumn(table.get(), "Id");
    const MdbColumn* name = FindColumn(table.get(), "Name");
    const MdbColumn* type = FindColumn(table.get(), "Type");
    const MdbColumn* flags = FindColumn(table.get(), "Flags");
    auto isInteger = [](const MdbColumn* column) {
        return column != nullptr && (column->col_type == MDB_BYTE || column->col_type == MDB_INT ||
                                     column->col_type == MDB_LONGINT);
    };
    if (!isInteger(id) || !isInteger(type) || !isInteger(flags) || name == nullptr ||
        name->col_type != MDB_TEXT)
        Fail("the file is damaged: its list of tables is not laid out as Access lays it out");

    TableRows rows(*this, table.get(), label);
    while (rows.Next()) {
        if ((IntegerCell(mdb_.get(), type) & 0x7F) != MDB_TABLE)
            continue;
        CatalogTable entry;
        entry.name = std::string(TextCell(mdb_.get(), name).View());
        entry.page = static_cast<unsigned long>(IntegerCell(mdb_.get(), id) & 0x00FFFFFF);
        entry.flags = static_cast<int>(IntegerCell(mdb_.get(), flags));
        catalog_.push_back(std::move(entry));
    }
    CheckReadErrors();
}

// What libmdb trusts in a table definition and this layer can check: the usage map that says
// which pages hold the table's rows (libmdb indexes it without looking).
void MdbLog::CheckDefinition(const MdbTableDef& table, const std::string& label) const {
    const std::string damaged = "the file is damaged: the definition of table " + label;
    const unsigned char* map = table.usage_map;
    const std::size_t size = table.map_sz;
    if (map == nullptr || size == 0)
        Fail(damaged + " has no page map");
    if (map[0] == 0) {
        // A bitmap of pages from a first page on.
        if (size < 5)
            Fail(damaged + " has a page map that is too short");
    } else if (map[0] == 1) {
        // The numbers of map pages, each a bitmap of its own range of pages.
        for (std::size_t at = 1; at + 4 <= size; at += 4) {
            if (LittleEndian32(map + at) >= facts_.pageCount)
                Fail("the file is truncated or damaged: the page map of table " + label +
                     " lies outside the file");
        }
    } else {
        Fail(damaged + " has a page map of an unknown kind");
    }
}

MdbTableDef* MdbLog::OpenTable(std::string_view name) {
    const std::string wanted(name);
    const std::string label = "[" + wanted + "]";
    const auto found = std::find_if(catalog_.begin(), catalog_.end(), [&](const CatalogTable& t) {
        return g_ascii_strcasecmp(t.name.c_str(), wanted.c_str()) == 0;
    });
    if (found == catalog_.end())
        return nullptr;
    if (found->page == 0 || found->page >= facts_.pageCount)
        Fail("the file is truncated or damaged: the definition of table " + label +
             " lies outside the file");

    auto entry = std::make_unique<MdbCatalogEntry>();
    entry->mdb = mdb_.get();
    std::snprintf(entry->object_name, sizeof entry->object_name, "%s", found->name.c_str());
    entry->object_type = MDB_TABLE;
    entry->table_pg = found->page;
    entry->flags = found->flags;
    entries_.push_back(std::move(entry));

    LibmdbQuiet quiet;
    MdbTableDef* table = mdb_read_table(entries_.back().get());
    if (table == nullptr)
        Fail("the file is damaged: the definition of table " + label + " cannot be read");
    tables_.emplace_back(table);
    CheckDefinition(*table, label);
    GPtrArray* columns = mdb_read_columns(table);
    if (columns == nullptr || table->columns == nullptr || table->columns->len != table->num_cols)
        Fail("the file is damaged: the columns of table " + label + " cannot be read");
    return table;
}

// ---------------------------------------------------------------------------------------------
// TableRows: the walk over libmdb's page buffer, the rows decoded by libmdb.
// ---------------------------------------------------------------------------------------------

// The log's pages as the walk reads them (MdbLog::ReadPage).
class TableRows::Pages : public PageSource {
  public:
    explicit Pages(MdbLog& log) : log_(log) {}
    std::uint32_t PageSize() const override { return log_.Facts().pageSize; }
    std::uint64_t PageCount() const override { return log_.Facts().pageCount; }
    const unsigned char* Page(std::uint32_t number) override { return log_.ReadPage(number); }
    void WillRead(std::span<const std::uint32_t> numbers) override { log_.WillRead(numbers); }
    void WillTouch(std::uint32_t page, std::uint32_t start, std::uint32_t length) override {
        log_.WillTouch(page, start, length);
    }

  private:
    MdbLog& log_;
};

TableRows::TableRows(MdbLog& log, MdbTableDef* table, std::string label,
                     const std::vector<const MdbColumn*>& read)
    : log_(log),
      table_(table),
      label_(std::move(label)),
      pages_(std::make_unique<Pages>(log)),
      fields_(table->num_cols),
      read_(table->num_cols) {
    for (guint i = 0; i < table->num_cols; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (read.empty() || std::find(read.begin(), read.end(), column) != read.end()) {
            read_[i] = column;
        } else {
            column->cur_value_start = 0;
            column->cur_value_len = 0;
        }
    }
    TableName name{log.Path(), label_};
    std::vector<std::uint32_t> dataPages = MapPages(table->usage_map, table->map_sz, *pages_, name);
    PageLayout layout;
    layout.rowCountOffset = static_cast<std::uint32_t>(log.Handle()->fmt->row_count_offset);
    const auto definitionPage = static_cast<std::uint32_t>(table->entry->table_pg);
    walk_ = std::make_unique<RowWalk>(*pages_, layout, definitionPage, std::move(dataPages),
                                      std::move(name));
}

TableRows::~TableRows() = default;

bool TableRows::Next() {
    RowPlace row;
    if (ended_ || !walk_->Next(row)) {
        if (!ended_ && count_ != table_->num_rows)
            log_.NoteRowCount(label_, table_->num_rows, count_);
        ended_ = true;
        return false;
    }
    // libmdb's row decoder reads the row from its page buffer.
    if (!log_.LoadRow(row.page, row.start, row.length))
        log_.Fail("the file cannot be read (page " + std::to_string(row.page) + ")");
    const int stored =
        mdb_crack_row(table_, static_cast<int>(row.start), row.length, fields_.data());
    if (stored < 0)
        log_.Fail("the file is damaged: a row of table " + label_ + " on page " +
                  std::to_string(row.page) + " cannot be decoded");
    // Where each value lies, as libmdb's own row reader leaves it (a Yes/No column keeps its
    // value in the length).
    for (guint i = 0; i < table_->num_cols; ++i) {
        const MdbField& field = fields_[i];
        MdbColumn* column = read_[static_cast<std::size_t>(field.colnum)];
        if (column == nullptr)
            continue;
        if (column->col_type == MDB_BOOL) {
            column->cur_value_len = field.is_null;
        } else if (field.is_null || field.siz == 0) {
            column->cur_value_start = 0;
            column->cur_value_len = 0;
        } else {
            column->cur_value_start = field.start;
            column->cur_value_len = field.siz;
        }
    }
    ++count_;
    return true;
}

MdbColumn* FindColumn(const MdbTableDef* table, std::string_view name) {
    const std::string wanted(name);
    for (guint i = 0; i < table->columns->len; ++i) {
        auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
        if (column != nullptr && g_ascii_strcasecmp(column->name, wanted.c_str()) == 0)
            return column;
    }
    return nullptr;
}

std::string_view ColumnTypeName(int type) {
    switch (type) {
        case MDB_BOOL:
            return "Yes/No";
        case MDB_BYTE:
            return "Byte";
        case MDB_INT:
            return "Integer";
        case MDB_LONGINT:
            return "Long Integer";
        case MDB_MONEY:
            return "Currency";
        case MDB_FLOAT:
            return "Single";
        case MDB_DOUBLE:
            return "Double";
        case MDB_DATETIME:
            return "Date/Time";
        case MDB_BINARY:
            return "Binary";
        case MDB_TEXT:
            return "Text";
        case MDB_OLE:
            return "OLE Object";
        case MDB_MEMO:
            return "Memo";
        case MDB_REPID:
            return "Replication ID";
        case MDB_NUMERIC:
            return "Decimal";
        case MDB_COMPLEX:
            return "Attachment";
        default:
            return "unknown";
    }
}

// ---------------------------------------------------------------------------------------------
// Cells of the current row.
//
// TableRows::Next leaves, for every column of the table whether bound or not, the place of the
// current value in the page buffer (cur_value_start, cur_value_len; a length of 0 for NULL and
// for an empty value). Decoding straight from there, instead of binding buffers, decodes exactly
// the columns asked for and lets a memo be read whole: libmdb converts a memo into a buffer of
// mdb->bind_size bytes (16 KiB by default) and cuts what does not fit, so the bind size is set
// for the one call to what the value's stored length can need.
// ---------------------------------------------------------------------------------------------

namespace {

bool ValueInPage(const MdbHandle* mdb, int start, int length) {
    return start >= 0 && length >= 0 &&
           static_cast<std::int64_t>(start) + length <=
               static_cast<std::int64_t>(mdb->fmt->pg_size);
}

constexpr int kDecimalSize = 17;

}  // namespace

std::string DecimalText(const unsigned char* value, int scale) {
    std::array<std::uint32_t, 4> words{};
    for (std::size_t k = 0; k < words.size(); ++k)
        words[k] = LittleEndian32(value + 1 + 4 * k);
    std::string digits;  // least significant first
    auto isZero = [&] { return words[0] == 0 && words[1] == 0 && words[2] == 0 && words[3] == 0; };
    do {
        std::uint64_t remainder = 0;
        for (std::uint32_t& word : words) {
            const std::uint64_t current = remainder << 32 | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.push_back(static_cast<char>('0' + remainder));
    } while (!isZero());
    const auto fraction = static_cast<std::size_t>(std::clamp(scale, 0, 38));
    while (digits.size() <= fraction)
        digits.push_back('0');
    std::string text = (value[0] & 0x80) != 0 ? "-" : "";
    text.append(digits.rbegin(), digits.rend() - static_cast<std::ptrdiff_t>(fraction));
    std::string decimals(digits.rend() - static_cast<std::ptrdiff_t>(fraction), digits.rend());
    while (!decimals.empty() && decimals.back() == '0')
        decimals.pop_back();
    if (!decimals.empty())
        text.append(".").append(decimals);
    if (text == "-0")
        text = "0";
    return text;
}

TextCell::TextCell(MdbHandle* mdb, const MdbColumn* column) {
    const int start = column->cur_value_start;
    const int length = column->cur_value_len;
    if (length <= 0 || !ValueInPage(mdb, start, length))
        return;
    if (column->col_type == MDB_NUMERIC) {
        // libmdb's text of a column reads a Decimal as "".
        if (length < kDecimalSize)
            return;
        text_ = g_strdup(DecimalText(mdb->pg_buf + start, column->col_scale).c_str());
        length_ = std::strlen(text_);
        return;
    }

    // UTF-8 needs at most 3 bytes for one stored byte (a Jet 3 code-page byte such as the euro
    // sign); a Jet 4 UCS-2 character (2 bytes) needs at most 3.
    std::size_t stored = static_cast<std::size_t>(length);
    if (column->col_type == MDB_MEMO) {
        if (length < MDB_MEMO_OVERHEAD)
            return;  // no memo header: libmdb reads "" too
        // The memo header: a 24-bit length, a flags byte, then where the text lies.
        stored = std::max<std::size_t>(stored, LittleEndian32(mdb->pg_buf + start) & 0x00FFFFFFu);
    }
    // libmdb converts into a new buffer of bind_size bytes: made as large as the value can need
    // (a long memo would be cut) and no larger (a small buffer costs far less to allocate).
    const std::size_t needed = 3 * stored + 16;
    const std::size_t bindSize = mdb->bind_size;
    mdb_set_bind_size(mdb, needed);
    text_ = mdb_col_to_string(mdb, mdb->pg_buf, start, column->col_type, length);
    mdb_set_bind_size(mdb, bindSize);
    length_ = text_ != nullptr ? std::strlen(text_) : 0;
}

TextCell::~TextCell() {
    g_free(text_);
}

std::int32_t LongCell(const MdbHandle* mdb, const MdbColumn* column) {
    const int start = column->cur_value_start;
    if (column->cur_value_len != 4 || !ValueInPage(mdb, start, 4))
        return 0;  // NULL
    return static_cast<std::int32_t>(LittleEndian32(mdb->pg_buf + start));
}

}  // namespace corvale::logdb_detail
