// The .adi parser: fields <NAME:LEN> and <NAME:LEN:TYPE>, <EOH>, <EOR> and <APP_LoTW_EOF>, with
// anything else between them ignored. The file is read in chunks through a window that holds the
// tag at hand and, for a field whose value is kept, the value: a large log is never held whole,
// and a value longer than the rest of the file is refused before anything is read for it.

#include <unistd.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

#include "logdb/AdifLog.h"
#include "logdb/AdifText.h"
#include "shell/AsciiCase.h"

namespace corvale::logdb_detail {

namespace {

constexpr std::size_t kChunk = 1 << 20;

// Stops every scan of a name or a length at the end of the bytes read, so that the scans need
// not compare their position with the end at every byte.
constexpr char kSentinel = '<';
// Bytes after the sentinel, so that a name can be scanned a word at a time up to the sentinel.
constexpr std::size_t kSlack = 16;

// A window on the file: bytes [pos, end) of the buffer are read and not yet consumed, and the
// byte at end is kSentinel. The values of the record at hand that the log holds as views into
// the window are handed to it to keep before the window's bytes move.
class Window {
  public:
    // The window starts at byte `from` of a file of `size` bytes; the file's own position is
    // not used, so that several windows can read one file at once. A small file (or the small
    // rest of one) takes a buffer of its size.
    Window(int fd, std::uint64_t from, std::uint64_t size, AdifLog& log)
        : fd_(fd),
          log_(log),
          capacity_(static_cast<std::size_t>(
              std::clamp<std::uint64_t>(size - std::min(from, size), 1, kChunk))),
          buffer_(new char[capacity_ + kSlack]()),
          offset_(from) {
        buffer_[0] = kSentinel;
    }

    // Makes n bytes from the position available; false when the file ends before.
    bool Have(std::size_t n) {
        if (end_ - pos_ >= n)
            return true;
        if (eof_)
            return false;
        log_.KeepViews();
        if (pos_ > 0) {
            std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
            offset_ += pos_;
            end_ -= pos_;
            pos_ = 0;
        }
        if (n > capacity_) {
            const std::size_t grown = std::max(n, capacity_ * 2);
            std::unique_ptr<char[]> bigger(new char[grown + kSlack]());
            std::memcpy(bigger.get(), buffer_.get(), end_);
            buffer_ = std::move(bigger);
            capacity_ = grown;
        }
        while (end_ - pos_ < n) {
            const ssize_t got = ::pread(fd_, buffer_.get() + end_, capacity_ - end_,
                                        static_cast<off_t>(offset_ + end_));
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                buffer_[end_] = kSentinel;
                FailLog(log_.Path(),
                        "the file cannot be read (" + std::generic_category().message(errno) + ")");
            }
            if (got == 0) {
                eof_ = true;
                buffer_[end_] = kSentinel;
                return false;
            }
            end_ += static_cast<std::size_t>(got);
        }
        buffer_[end_] = kSentinel;
        return true;
    }

    // Passes over n bytes without keeping them; false when the file ends before.
    bool Skip(std::uint64_t n) {
        while (n > end_ - pos_) {
            n -= end_ - pos_;
            pos_ = end_;
            if (!Have(1))
                return false;
        }
        pos_ += static_cast<std::size_t>(n);
        return true;
    }

    // Moves to the next "<", or to the end of the file; false at the end.
    bool NextTagStart() {
        // Fields are mostly written one blank apart: look there before searching.
        const char* p = buffer_.get() + pos_;
        if (pos_ + 1 < end_) {
            if (p[0] == '<')
                return true;
            if (p[1] == '<') {
                ++pos_;
                return true;
            }
        }
        while (true) {
            const void* found = std::memchr(buffer_.get() + pos_, '<', end_ - pos_);
            if (found != nullptr) {
                pos_ = static_cast<std::size_t>(static_cast<const char*>(found) - buffer_.get());
                return true;
            }
            pos_ = end_;
            if (!Have(1))
                return false;
        }
    }

    const char* Begin() const { return buffer_.get() + pos_; }
    const char* End() const { return buffer_.get() + end_; }
    std::size_t Available() const { return end_ - pos_; }
    std::string_view View(std::size_t from, std::size_t length) const {
        return {buffer_.get() + pos_ + from, length};
    }
    void Advance(std::size_t n) { pos_ += n; }
    std::uint64_t Offset() const { return offset_ + pos_; }

  private:
    int fd_;
    AdifLog& log_;
    std::size_t capacity_;
    std::unique_ptr<char[]> buffer_;  // capacity_ bytes, the sentinel and kSlack - 1 zeros
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t offset_ = 0;  // of the buffer's first byte in the file
    bool eof_ = false;
};

struct Tag {
    enum class Kind : std::uint8_t {
        None,
        Field,
        EndOfHeader,
        EndOfRecord,
        EndOfFile
    } kind = Kind::None;
    bool incomplete = false;  // the bytes end before the tag could be told
    std::size_t size = 0;     // bytes from "<" to ">" inclusive
    std::size_t nameLength = 0;
    std::uint64_t valueLength = 0;
};

// The bytes of a name or a type: anything but a blank, "<", ">" and ":".
constexpr std::array<bool, 256> kNameBytes = [] {
    std::array<bool, 256> bytes{};
    for (int c = 0; c < 256; ++c)
        bytes[static_cast<std::size_t>(c)] =
            !IsBlank(static_cast<char>(c)) && c != '<' && c != '>' && c != ':';
    return bytes;
}();

bool IsNameByte(char c) {
    return kNameBytes[static_cast<unsigned char>(c)];
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The bytes of a word that may end a name, each marked by its high bit: bytes up to the blank
// (the blanks among them), ':', '<', '>' and '8'. Only the first byte marked is sure to be one
// of them; when it is a name byte after all ('8', or a control byte that is not a blank), the
// scan passes over it.
std::uint64_t MayEndName(std::uint64_t word) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    const std::uint64_t upToBlank = (word - kOnes * 0x21) & ~word & kHighs;
    // '8' (0x38), ':' (0x3A), '<' (0x3C) and '>' (0x3E) become '>' with bits 0x06 set: one test
    // for the three that end a name.
    const std::uint64_t punctuation = (word | kOnes * 0x06) ^ (kOnes * '>');
    return upToBlank | ((punctuation - kOnes) & ~punctuation & kHighs);
}

// The first byte from `q` on that is not a name byte: there is one by the sentinel, and the
// buffer's slack lets every word read end within it.
[[gnu::always_inline]] inline const char* EndOfName(const char* q) {
    static_assert(std::endian::native == std::endian::little,
                  "the scan counts bytes from the low end");
    while (true) {
        std::uint64_t word = 0;
        std::memcpy(&word, q, sizeof word);
        const std::uint64_t marks = MayEndName(word);
        if (marks == 0) {
            q += sizeof word;
            continue;
        }
        q += std::countr_zero(marks) / 8;
        if (!IsNameByte(*q))
            return q;
        ++q;
    }
}

// Reads the tag that starts at the "<" at `p`, within [p, end), where *end is kSentinel and
// kSlack - 1 bytes follow it. Kind::None: the "<" opens no tag (or, with `incomplete`, the bytes
// end before that can be told).
Tag ReadTag(const char* p, const char* end) {
    Tag tag;
    const char* q = EndOfName(p + 1);
    tag.nameLength = static_cast<std::size_t>(q - p - 1);
    tag.incomplete = q == end;
    if (tag.nameLength == 0 || q == end)
        return tag;
    if (*q == '>') {
        const std::string_view name(p + 1, tag.nameLength);
        if (tag.nameLength == 3 && EqualsIgnoringAsciiCase(name, "EOR"))
            tag.kind = Tag::Kind::EndOfRecord;
        else if (tag.nameLength == 3 && EqualsIgnoringAsciiCase(name, "EOH"))
            tag.kind = Tag::Kind::EndOfHeader;
        else if (EqualsIgnoringAsciiCase(name, "APP_LoTW_EOF"))
            tag.kind = Tag::Kind::EndOfFile;
        tag.size = static_cast<std::size_t>(q - p + 1);
        return tag;
    }
    if (*q != ':')
        return tag;
    // ':' LEN, then '>' or ':' TYPE '>'.
    const char* digits = ++q;
    while (IsDigit(*q))
        ++q;
    tag.incomplete = q == end;
    if (q == digits || q == end)
        return tag;
    // More significant digits than a 64-bit number holds mean a length past any file.
    const char* significant = digits;
    while (*significant == '0' && significant + 1 < q)
        ++significant;
    constexpr std::size_t kMostDigits = 18;
    if (static_cast<std::size_t>(q - significant) > kMostDigits) {
        tag.valueLength = std::uint64_t{1} << 62;
    } else {
        for (const char* d = significant; d < q; ++d)
            tag.valueLength = tag.valueLength * 10 + static_cast<unsigned>(*d - '0');
    }
    if (*q == ':') {
        q = EndOfName(q + 1);
        tag.incomplete = q == end;
        if (q == end)
            return tag;
    }
    if (*q != '>')
        return tag;
    tag.kind = Tag::Kind::Field;
    tag.size = static_cast<std::size_t>(q - p + 1);
    return tag;
}

std::string Shown(std::string_view tag) {
    constexpr std::size_t kLongest = 60;
    return tag.size() <= kLongest ? std::string(tag) : std::string(tag.substr(0, kLongest)) + "...";
}

// ReadTag for the tag met at almost every field, <NAME:LEN> with a length of one or two digits,
// in a few steps. The bytes after a digit are read only while the one before is a digit, so no
// read passes the sentinel.
[[gnu::always_inline]] inline Tag ReadTagQuickly(const char* p, const char* end) {
    const char* q = EndOfName(p + 1);
    if (q > p + 1 && *q == ':') {
        const auto digit = [](char c) { return static_cast<unsigned>(c) - '0'; };
        Tag tag;
        tag.kind = Tag::Kind::Field;
        tag.nameLength = static_cast<std::size_t>(q - p - 1);
        if (digit(q[1]) <= 9 && q[2] == '>') {
            tag.size = static_cast<std::size_t>(q + 3 - p);
            tag.valueLength = digit(q[1]);
            return tag;
        }
        if (digit(q[1]) <= 9 && digit(q[2]) <= 9 && q[3] == '>') {
            tag.size = static_cast<std::size_t>(q + 4 - p);
            tag.valueLength = digit(q[1]) * 10 + digit(q[2]);
            return tag;
        }
    }
    return ReadTag(p, end);
}

// The tags met before, by their bytes: a logger writes the same few hundred tags ("<CALL:6>",
// "<QSO_DATE:8>", "<EOR>") over and over, so a tag of up to sixteen bytes is mostly told by one
// look-up of its bytes instead of reading its name, length and field anew. What is kept for a
// tag depends on its bytes only, so a tag told from the cache is told as it would be otherwise.
class TagCache {
  public:
    // The tag at `p` (the "<"), told into `tag` and `field` when its bytes were met before.
    // Sixteen bytes can be read from `p`: the buffer's slack. A hit never reaches past the
    // buffer's sentinel: no tag kept holds a "<" after its first byte.
    bool Find(const char* p, Tag& tag, AdifField& field) {
        std::uint64_t first = 0, second = 0;
        std::memcpy(&first, p, sizeof first);
        std::memcpy(&second, p + 8, sizeof second);
        const std::uint64_t inFirst = ClosingBytes(first);
        const std::uint64_t inSecond = ClosingBytes(second);
        if (inFirst != 0) {
            size_ = static_cast<std::size_t>(std::countr_zero(inFirst)) / 8 + 1;
            first &= size_ == 8 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * size_)) - 1;
            second = 0;
        } else if (inSecond != 0) {
            size_ = static_cast<std::size_t>(std::countr_zero(inSecond)) / 8 + 9;
            second &= size_ == 16 ? ~std::uint64_t{0} : (std::uint64_t{1} << (8 * (size_ - 8))) - 1;
        } else {
            size_ = 0;  // longer than the cache keeps
            return false;
        }
        first_ = first;
        second_ = second;
        slot_ = static_cast<std::size_t>(
            ((first * 0x9E3779B97F4A7C15u) ^ (second * 0xC2B2AE3D27D4EB4Fu)) >> (64 - kSlotBits));
        const Entry& entry = slots_[slot_];
        if (entry.first != first || entry.second != second || entry.size != size_)
            return false;
        tag.kind = entry.kind;
        tag.size = entry.size;
        tag.nameLength = entry.nameLength;
        tag.valueLength = entry.valueLength;
        field = entry.field;
        return true;
    }

    // Keeps what the tag that the last Find missed was told as, when it is complete and short.
    void Keep(const Tag& tag, AdifField field) {
        if (size_ == 0 || tag.incomplete || tag.kind == Tag::Kind::None || tag.size != size_ ||
            tag.valueLength > 0xFFFFFFFFu)
            return;
        slots_[slot_] = {first_,
                         second_,
                         static_cast<std::uint32_t>(tag.valueLength),
                         static_cast<std::uint8_t>(tag.size),
                         static_cast<std::uint8_t>(tag.nameLength),
                         tag.kind,
                         field};
    }

  private:
    // Enough slots for the some 650 distinct tags of a large log to meet seldom.
    static constexpr int kSlotBits = 11;
    struct Entry {
        std::uint64_t first = 0, second = 0;  // the tag's bytes, zero after its ">"
        std::uint32_t valueLength = 0;
        std::uint8_t size = 0;  // 0: no tag yet
        std::uint8_t nameLength = 0;
        Tag::Kind kind = Tag::Kind::None;
        AdifField field = AdifField::Other;
    };

    // The high bit of each byte of `word` that is ">", exactly for the lowest one.
    static std::uint64_t ClosingBytes(std::uint64_t word) {
        constexpr std::uint64_t kOnes = 0x0101010101010101u;
        const std::uint64_t x = word ^ (kOnes * '>');
        return (x - kOnes) & ~x & (kOnes * 0x80);
    }

    std::array<Entry, std::size_t{1} << kSlotBits> slots_{};
    std::uint64_t first_ = 0, second_ = 0;
    std::size_t size_ = 0;
    std::size_t slot_ = 0;
};

[[noreturn]] void FailPastEnd(const AdifLog& log, const Window& window, const Tag& tag) {
    log.Fail("the field " + Shown(window.View(0, tag.size)) + " at byte " +
             std::to_string(window.Offset()) + " (record " + std::to_string(log.RecordNumber()) +
             ") runs past the end of the file");
}

}  // namespace

bool StartsLikeAdi(std::string_view head) {
    std::string bytes(head);
    bytes.append(kSlack, '\0');
    bytes[head.size()] = kSentinel;
    for (std::size_t at = head.find('<'); at != std::string_view::npos;
         at = head.find('<', at + 1)) {
        if (ReadTag(bytes.data() + at, bytes.data() + head.size()).kind != Tag::Kind::None)
            return head.substr(0, at).find('\0') == std::string_view::npos;
    }
    return false;
}

AdiStop ParseAdiPart(int fd, std::uint64_t size, std::uint64_t from, std::uint64_t stopFrom,
                     AdifLog& log) {
    Window window(fd, from, size, log);
    const auto cache = std::make_unique<TagCache>();
    while (window.NextTagStart()) {
        Tag tag;
        AdifField field = AdifField::Other;
        if (!cache->Find(window.Begin(), tag, field)) {
            tag = ReadTagQuickly(window.Begin(), window.End());
            if (tag.kind == Tag::Kind::Field)
                field = ClassifyField(window.View(1, tag.nameLength));
            cache->Keep(tag, field);
            while (tag.incomplete) {
                // Read on until the tag can be told; at the end of the file the "<" opens no
                // tag.
                if (!window.Have(window.Available() + 1))
                    break;
                tag = ReadTag(window.Begin(), window.End());
                if (tag.kind == Tag::Kind::Field)
                    field = ClassifyField(window.View(1, tag.nameLength));
            }
        }
        if (tag.kind != Tag::Kind::Field) {
            const std::uint64_t tagOffset = window.Offset();
            switch (tag.kind) {
                case Tag::Kind::None:
                    window.Advance(1);
                    continue;
                case Tag::Kind::EndOfFile:
                    log.EndOfFile();
                    return {window.Offset() + tag.size, true};
                case Tag::Kind::EndOfHeader:
                    log.EndOfHeader();
                    break;
                default:
                    log.EndOfRecord();
                    break;
            }
            window.Advance(tag.size);
            if (tagOffset >= stopFrom && log.BetweenRecords())
                return {window.Offset(), false};
            continue;
        }

        const std::uint64_t valueOffset = window.Offset() + tag.size;
        if (valueOffset > size || tag.valueLength > size - valueOffset)
            FailPastEnd(log, window, tag);
        const auto valueLength = static_cast<std::size_t>(tag.valueLength);
        if (log.Keeps(field)) {
            if (!window.Have(tag.size + valueLength))
                FailPastEnd(log, window, tag);
            log.FieldView(field, window.View(tag.size, valueLength));
            window.Advance(tag.size + valueLength);
        } else {
            log.Field(field, {});
            const std::uint64_t tagOffset = window.Offset();
            window.Advance(tag.size);
            if (!window.Skip(valueLength))
                log.Fail("the file ends inside the value of the field at byte " +
                         std::to_string(tagOffset) + " (record " +
                         std::to_string(log.RecordNumber()) + ")");
        }
    }
    log.EndOfFile();
    return {window.Offset(), true};
}

void ParseAdi(int fd, std::uint64_t size, AdifLog& log) {
    ParseAdiPart(fd, size, 0, kNoStop, log);
}

std::uint64_t AfterEndOfRecordTag(int fd, std::uint64_t size, std::uint64_t from, AdifLog& log) {
    constexpr std::string_view kEndOfRecord = "<EOR>";
    Window window(fd, from, size, log);
    while (window.NextTagStart()) {
        if (!window.Have(kEndOfRecord.size()))
            break;
        if (EqualsIgnoringAsciiCase(window.View(0, kEndOfRecord.size()), kEndOfRecord))
            return window.Offset() + kEndOfRecord.size();
        window.Advance(1);
    }
    return window.Offset();
}

}  // namespace corvale::logdb_detail
