// The .adi parser: fields <NAME:LEN> and <NAME:LEN:TYPE>, <EOH>, <EOR> and <APP_LoTW_EOF>, with
// anything else between them ignored. The file is read in chunks through a window that holds the
// tag at hand and, for a field whose value is kept, the value: a large log is never held whole,
// and a value longer than the rest of the file is refused before anything is read for it.

#include <unistd.h>

#include <algorithm>
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

// A window on the file: bytes [pos, end) of the buffer are read and not yet consumed.
class Window {
  public:
    Window(int fd, const std::string& path)
        : fd_(fd), path_(path), buffer_(new char[kChunk]), capacity_(kChunk) {}

    // Makes n bytes from the position available; false when the file ends before.
    bool Have(std::size_t n) {
        if (end_ - pos_ >= n)
            return true;
        if (eof_)
            return false;
        if (pos_ > 0) {
            std::memmove(buffer_.get(), buffer_.get() + pos_, end_ - pos_);
            offset_ += pos_;
            end_ -= pos_;
            pos_ = 0;
        }
        if (n > capacity_) {
            const std::size_t grown = std::max(n, capacity_ * 2);
            std::unique_ptr<char[]> bigger(new char[grown]);
            std::memcpy(bigger.get(), buffer_.get(), end_);
            buffer_ = std::move(bigger);
            capacity_ = grown;
        }
        while (end_ - pos_ < n) {
            const ssize_t got = ::read(fd_, buffer_.get() + end_, capacity_ - end_);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                FailLog(path_,
                        "the file cannot be read (" + std::generic_category().message(errno) + ")");
            }
            if (got == 0) {
                eof_ = true;
                return false;
            }
            end_ += static_cast<std::size_t>(got);
        }
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

    // The byte at pos + i; only after Have(i + 1).
    char At(std::size_t i) const { return buffer_[pos_ + i]; }
    std::string_view View(std::size_t from, std::size_t length) const {
        return {buffer_.get() + pos_ + from, length};
    }
    void Advance(std::size_t n) { pos_ += n; }
    std::uint64_t Offset() const { return offset_ + pos_; }

  private:
    int fd_;
    const std::string& path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    std::uint64_t offset_ = 0;  // of the buffer's first byte in the file
    bool eof_ = false;
};

struct Tag {
    enum class Kind { None, Field, EndOfHeader, EndOfRecord, EndOfFile } kind = Kind::None;
    std::size_t size = 0;  // bytes from "<" to ">" inclusive
    std::size_t nameLength = 0;
    std::uint64_t valueLength = 0;
};

bool IsNameByte(char c) {
    return !IsBlank(c) && c != '<' && c != '>' && c != ':';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A few bytes held whole (the start of a file), read like a window.
class Head {
  public:
    explicit Head(std::string_view bytes) : bytes_(bytes) {}
    bool Have(std::size_t n) const { return bytes_.size() - pos_ >= n; }
    char At(std::size_t i) const { return bytes_[pos_ + i]; }
    std::string_view View(std::size_t from, std::size_t length) const {
        return bytes_.substr(pos_ + from, length);
    }
    bool NextTagStart() {
        pos_ = std::min(bytes_.find('<', pos_), bytes_.size());
        return pos_ < bytes_.size();
    }
    void Advance(std::size_t n) { pos_ += n; }
    std::string_view Before() const { return bytes_.substr(0, pos_); }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Reads the tag that starts at the "<" at hand. Kind::None: the "<" opens no tag.
template <typename Bytes>
Tag ReadTag(Bytes& window) {
    Tag tag;
    std::size_t i = 1;
    while (window.Have(i + 1) && IsNameByte(window.At(i)))
        ++i;
    tag.nameLength = i - 1;
    if (tag.nameLength == 0 || !window.Have(i + 1))
        return tag;
    if (window.At(i) == '>') {
        const std::string_view name = window.View(1, tag.nameLength);
        if (EqualsIgnoringAsciiCase(name, "EOR"))
            tag.kind = Tag::Kind::EndOfRecord;
        else if (EqualsIgnoringAsciiCase(name, "EOH"))
            tag.kind = Tag::Kind::EndOfHeader;
        else if (EqualsIgnoringAsciiCase(name, "APP_LoTW_EOF"))
            tag.kind = Tag::Kind::EndOfFile;
        tag.size = i + 1;
        return tag;
    }
    // ':' LEN, then '>' or ':' TYPE '>'.
    ++i;
    const std::size_t digitsStart = i;
    constexpr std::uint64_t kPastAnyFile = std::uint64_t{1} << 62;
    while (window.Have(i + 1) && IsDigit(window.At(i))) {
        tag.valueLength = std::min(
            kPastAnyFile, tag.valueLength * 10 + static_cast<unsigned>(window.At(i) - '0'));
        ++i;
    }
    if (i == digitsStart || !window.Have(i + 1))
        return tag;
    if (window.At(i) == ':') {
        ++i;
        while (window.Have(i + 1) && IsNameByte(window.At(i)))
            ++i;
        if (!window.Have(i + 1))
            return tag;
    }
    if (window.At(i) != '>')
        return tag;
    tag.kind = Tag::Kind::Field;
    tag.size = i + 1;
    return tag;
}

std::string Shown(std::string_view tag) {
    constexpr std::size_t kLongest = 60;
    return tag.size() <= kLongest ? std::string(tag) : std::string(tag.substr(0, kLongest)) + "...";
}

}  // namespace

bool StartsLikeAdi(std::string_view head) {
    Head bytes(head);
    while (bytes.NextTagStart()) {
        if (ReadTag(bytes).kind != Tag::Kind::None)
            return bytes.Before().find('\0') == std::string_view::npos;
        bytes.Advance(1);
    }
    return false;
}

void ParseAdi(int fd, std::uint64_t size, AdifLog& log) {
    Window window(fd, log.Path());
    while (window.NextTagStart()) {
        const Tag tag = ReadTag(window);
        switch (tag.kind) {
            case Tag::Kind::None:
                window.Advance(1);
                continue;
            case Tag::Kind::EndOfHeader:
                log.EndOfHeader();
                break;
            case Tag::Kind::EndOfRecord:
                log.EndOfRecord();
                break;
            case Tag::Kind::EndOfFile:
                log.EndOfFile();
                return;
            case Tag::Kind::Field:
                break;
        }
        if (tag.kind != Tag::Kind::Field) {
            window.Advance(tag.size);
            continue;
        }

        const std::uint64_t tagOffset = window.Offset();
        const std::uint64_t valueOffset = tagOffset + tag.size;
        const AdifField field = ClassifyField(window.View(1, tag.nameLength));
        const auto runsPast = [&](std::string_view tagText) {
            log.Fail("the field " + Shown(tagText) + " at byte " + std::to_string(tagOffset) +
                     " (record " + std::to_string(log.RecordNumber()) +
                     ") runs past the end of the file");
        };
        if (valueOffset > size || tag.valueLength > size - valueOffset)
            runsPast(window.View(0, tag.size));
        const bool kept = field != AdifField::Other && field != AdifField::LotwApp;
        if (kept) {
            if (!window.Have(tag.size + static_cast<std::size_t>(tag.valueLength)))
                runsPast(window.View(0, tag.size));
            log.Field(field, window.View(tag.size, static_cast<std::size_t>(tag.valueLength)));
            window.Advance(tag.size + static_cast<std::size_t>(tag.valueLength));
        } else {
            log.Field(field, {});
            window.Advance(tag.size);
            if (!window.Skip(tag.valueLength))
                log.Fail("the file ends inside the value of the field at byte " +
                         std::to_string(tagOffset) + " (record " +
                         std::to_string(log.RecordNumber()) + ")");
        }
    }
    log.EndOfFile();
}

}  // namespace corvale::logdb_detail
