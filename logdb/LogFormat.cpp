#include "logdb/LogFormat.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "logdb/AdifLog.h"
#include "logdb/AdifText.h"
#include "shell/AsciiCase.h"

namespace corvale {

namespace {

using logdb_detail::FailLog;

// Enough to pass a long text header before the first tag.
constexpr std::size_t kHeadBytes = 64 * 1024;

class Fd {
  public:
    explicit Fd(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~Fd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

bool IsXml(std::string_view head) {
    if (head.starts_with("\xEF\xBB\xBF"))
        head.remove_prefix(3);
    head = logdb_detail::TrimBlanks(head);
    return StartsWithIgnoringAsciiCase(head, "<?xml") || StartsWithIgnoringAsciiCase(head, "<ADX");
}

}  // namespace

LogFormat DetectLogFormat(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos)
        return LogFormat::Access;
    // O_NONBLOCK: a FIFO or a device must not hold the program up; the Access reader refuses it.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return LogFormat::Access;
    struct stat status {};
    std::string head(kHeadBytes, '\0');
    ssize_t got = -1;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        do
            got = ::pread(fd, head.data(), head.size(), 0);
        while (got < 0 && errno == EINTR);
    }
    ::close(fd);
    if (got < 0)
        return LogFormat::Access;
    head.resize(static_cast<std::size_t>(got));

    if (head.empty())
        FailLog(path,
                "the file is empty (0 bytes): it is neither an Access database nor an "
                "ADIF log");
    // Every Jet and ACE database starts with these bytes; the Access reader checks the rest.
    constexpr std::string_view kAccessStart{"\x00\x01\x00\x00", 4};
    if (kAccessStart.starts_with(head.substr(0, kAccessStart.size())))
        return LogFormat::Access;
    if (IsXml(head))
        return LogFormat::Adx;
    if (logdb_detail::StartsLikeAdi(head))
        return LogFormat::Adi;
    FailLog(path, "the file is neither an Access database nor an ADIF log (.adi or .adx)");
}

LogRead ReadLog(const std::string& path, QsoColumnSet columns, const LogReadOptions& options,
                const QsoTable::ReadProgress& progress) {
    return ReadLog(path, DetectLogFormat(path), columns, options, progress);
}

LogRead ReadLog(const std::string& path, LogFormat format, QsoColumnSet columns,
                const LogReadOptions& options, const QsoTable::ReadProgress& progress) {
    LogRead read;
    read.format = format;
    if (read.format == LogFormat::Access) {
        read.table = QsoTable::Read(path, columns, progress);
        return read;
    }
    const Fd fd(path);
    struct stat status {};
    if (fd.Get() < 0 || ::fstat(fd.Get(), &status) != 0)
        FailLog(path, "the file cannot be opened (" + std::generic_category().message(errno) + ")");
    logdb_detail::AdifLog log(path, columns, options, progress);
    if (read.format == LogFormat::Adx)
        logdb_detail::ParseAdx(fd.Get(), log);
    else
        logdb_detail::ParseAdiInParts(
            fd.Get(), static_cast<std::uint64_t>(status.st_size), log,
            logdb_detail::AdiSplitPoints(static_cast<std::uint64_t>(status.st_size)));
    read.table = log.Finish(&read.adif);
    return read;
}

}  // namespace corvale
