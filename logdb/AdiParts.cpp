// A large .adi log is read in parts at once, a few parts for each thread, so that a thread that
// runs slower (a busy processor) leaves its later parts to the others. Where a record ends can
// only be told by reading from the start (an "<EOR>" may stand inside a value), so every part but
// the first starts at a guess: just after the first "<EOR>" at or after its split point. The
// parts are then taken in file order, each only when the reading before it stopped exactly at its
// start; where a guess was wrong, or a part failed, the reading goes on through that part on the
// first log, which makes the same rows, counts and failures (with their record numbers) as a
// reading in one piece.

#include <algorithm>
#include <memory>
#include <optional>
#include <stop_token>
#include <vector>

#include "logdb/AdifLog.h"
#include "logdb/OrderedTasks.h"
#include "logdb/Processors.h"

namespace corvale::logdb_detail {

namespace {

// Below this, a part costs more in starting and joining than it saves.
constexpr std::uint64_t kLeastPartBytes = std::uint64_t{4} << 20;

// Most threads a read takes, however many the machine has: the rows of all parts are joined on
// one thread.
constexpr int kMostThreads = 8;

// Parts for each thread: when one thread falls behind, the others take its later parts.
constexpr int kPartsPerThread = 4;

int ReadingThreads() {
    return std::min(UsableProcessors(), kMostThreads);
}

struct Part {
    std::uint64_t start = 0;
    std::optional<AdiStop> stop;  // empty when the part failed or was given up
    std::unique_ptr<AdifLog> log;
};

}  // namespace

void ParseAdiInParts(int fd, std::uint64_t size, AdifLog& log,
                     std::span<const std::uint64_t> splits) {
    // The header comes first: whether the file is a LoTW report or an eQSL inbox holds for every
    // part.
    AdiStop at = ParseAdiPart(fd, size, 0, 0, log);
    const auto later = std::ranges::upper_bound(splits, at.offset);
    const std::vector<std::uint64_t> starts(later, splits.end());
    const auto stopFrom = [&starts](std::size_t part) {
        return part + 1 < starts.size() ? starts[part + 1] : kNoStop;
    };

    std::stop_source giveUp;
    const auto goOn = [token = giveUp.get_token()](std::size_t) { return !token.stop_requested(); };
    std::vector<Part> parts(at.fileEnded ? 0 : starts.size());
    for (Part& part : parts)
        part.log = std::make_unique<AdifLog>(log, goOn);
    const auto readPart = [&](std::size_t i, std::stop_token stop) {
        Part& part = parts[i];
        if (stop.stop_requested())
            return;
        try {
            part.start = AfterEndOfRecordTag(fd, size, starts[i], *part.log);
            part.stop = ParseAdiPart(fd, size, part.start, stopFrom(i), *part.log);
        } catch (...) {
            // The first log reads this part again and meets the failure itself.
            part.stop.reset();
        }
    };
    // The first log's own part is read on this thread while the others start on the parts.
    OrderedTasks reading(parts.size(), static_cast<std::size_t>(ReadingThreads()), readPart);
    // However the reading ends, the parts not taken are given up before the threads are joined.
    const struct GiveUpAtEnd {
        std::stop_source& source;
        ~GiveUpAtEnd() { source.request_stop(); }
    } giveUpAtEnd{giveUp};

    if (!at.fileEnded)
        at = ParseAdiPart(fd, size, at.offset, starts.empty() ? kNoStop : starts.front(), log);
    for (std::size_t i = 0; i < parts.size() && !at.fileEnded; ++i) {
        reading.WaitFor(i);
        Part& part = parts[i];
        if (part.stop && part.start == at.offset) {
            log.Append(*part.log);
            at = *part.stop;
        } else {
            at = ParseAdiPart(fd, size, at.offset, stopFrom(i), log);
        }
        part.log.reset();
    }
}

std::vector<std::uint64_t> AdiSplitPoints(std::uint64_t size) {
    const auto most = static_cast<std::uint64_t>(ReadingThreads() * kPartsPerThread);
    // A single thread reads the file in one piece.
    const std::uint64_t parts =
        ReadingThreads() == 1 ? 1 : std::clamp<std::uint64_t>(size / kLeastPartBytes, 1, most);
    std::vector<std::uint64_t> splits;
    for (std::uint64_t part = 1; part < parts; ++part)
        splits.push_back(size / parts * part);
    return splits;
}

}  // namespace corvale::logdb_detail
