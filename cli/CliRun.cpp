#include "cli/CliRun.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

#include "awards/AwardRun.h"
#include "awards/OutputFile.h"
#include "cli/AdifReadText.h"
#include "cli/CliPaths.h"
#include "cli/Interruption.h"
#include "cli/MapFiles.h"
#include "cli/ProgressLine.h"
#include "cli/Summary.h"
#include "export/AwardExport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"
#include "logdb/OrderedTasks.h"
#include "logdb/QsoTable.h"
#include "shell/OwnFolders.h"

namespace corvale {

namespace {

class CliObserver : public RunObserver {
  public:
    // Keeps the diagnostics in `diagnostics` (none kept when it is null) until the award's turn.
    CliObserver(Award award, ProgressLine& progress, std::string* diagnostics, std::stop_token stop)
        : award_(award), progress_(progress), diagnostics_(diagnostics), stop_(std::move(stop)) {}

    void OnRecord(const AwardCounters&, std::size_t position, std::size_t count) override {
        if ((position & 0xFFF) != 0)
            return;
        progress_.Show(std::string(AwardName(award_)) + ": " + std::to_string(position) + " of " +
                       std::to_string(count) + " contacts");
    }

    bool StopRequested() override { return Interruption::Signal() != 0 || stop_.stop_requested(); }

    void OnDiagnostics(std::string_view lines) override {
        if (diagnostics_ != nullptr)
            diagnostics_->append(lines);
    }

  private:
    Award award_;
    ProgressLine& progress_;
    std::string* diagnostics_;
    std::stop_token stop_;
};

// One award's walk and its exports, which may run beside the others: what it writes, says and
// finds is kept apart until the award's turn comes, so that the files, the diagnostics and the
// summaries keep the order of the awards.
struct AwardWalk {
    RunRequest request;
    OutputTransaction files;
    std::string diagnostics;
    bool stopped = false;
    AwardSummary summary;
};

std::string Joined(const std::string& folder, std::string_view name) {
    return (std::filesystem::path(folder) / name).string();
}

void CheckVersion(const std::string& sourceMdb) {
    const std::string version = ReadDatabaseVersion(sourceMdb);
    if (!IsSupportedDatabaseVersion(version)) {
        throw DbError("Cannot use the log \"" + sourceMdb +
                      "\": DXbase mdb file version error (its [VERSION] reads \"" + version +
                      "\"; Corvale reads version 6).");
    }
}

// Writes the exported files of one run into `files`, beside the pin files of the same command.
void ExportRun(const RunRequest& request, const CliOptions& options, AwardSummary& summary,
               OutputTransaction& files) {
    if (options.exports.empty() || !options.exportDir)  // the parser asks for both or neither
        return;
    const ExportedAward exported{request.award, request.award == Award::Vucc ? options.band : 0,
                                 summary.entities};
    bool drawn = false;
    for (ExportFormat format : options.exports) {
        const std::string path = Joined(*options.exportDir, ExportFileName(exported, format));
        files.Create(path).Write(ExportText(exported, format));
        summary.exportPaths.push_back(path);
        drawn = drawn || format != ExportFormat::Csv;
    }
    if (drawn)
        summary.leftOutOfMaps = CountWithoutPosition(exported);
}

RunRequest RequestFor(Award award, const CliOptions& options, const CliPaths& paths) {
    RunRequest request;
    request.award = award;
    request.lstPath = Joined(paths.lstDir, DefaultLstName(award));
    request.vuccBand = std::string(VuccBandCode(options.band));
    request.squares = options.squares && AwardHasSquares(award);
    if (request.squares) {
        const std::string stem = std::string(AwardName(award)) + "squares";
        request.wkdPath = Joined(paths.squaresDir, stem + ".wkd");
        request.cfmPath = Joined(paths.squaresDir, stem + ".cfm");
    }
    return request;
}

// Nothing when a signal stopped the run before its files were replaced.
std::optional<std::vector<AwardSummary>> RunAwards(const CliOptions& options, const CliPaths& paths,
                                                   std::FILE* err, std::size_t walksAtOnce) {
    ProgressLine progress(err);
    // [VERSION] belongs to DXBase logs only.
    const LogFormat format = DetectLogFormat(paths.sourceMdb);
    if (format == LogFormat::Access)
        CheckVersion(paths.sourceMdb);
    LogReadOptions logOptions;
    logOptions.confirmations = options.confirmations;
    if (options.countryFile)
        logOptions.countryFile = *options.countryFile;
    const LogRead read =
        ReadLog(paths.sourceMdb, format, AwardColumnsRead(), logOptions, [&](std::size_t rows) {
            progress.Show("reading " + paths.sourceMdb + ": " + std::to_string(rows) + " contacts");
            return Interruption::Signal() == 0;
        });
    progress.Clear();
    if (read.format != LogFormat::Access)
        std::fputs(AdifReadText(paths.sourceMdb, read.adif, options.verbose).c_str(), err);
    const std::shared_ptr<const QsoTable>& table = read.table;
    for (const std::string& warning : table->Warnings())
        std::fprintf(err, "corvale-cli: warning: %s\n", warning.c_str());

    std::vector<AwardWalk> walks(options.awards.size());
    for (std::size_t i = 0; i < walks.size(); ++i)
        walks[i].request = RequestFor(options.awards[i], options, paths);
    // The walks share the table, which no one changes, and nothing else.
    const auto walk = [&](std::size_t i, std::stop_token stop) {
        AwardWalk& award = walks[i];
        const RunRequest& request = award.request;
        MakeOwnFoldersOf({request.lstPath, request.wkdPath, request.cfmPath});
        CSRC2006QSO qsoSet;
        qsoSet.m_strSort = std::string(AwardSortText(request.award));
        qsoSet.m_columnsRead = AwardColumnsRead(request.award);
        qsoSet.Open(table);
        CliObserver observer(request.award, progress,
                             options.verbose ? &award.diagnostics : nullptr, std::move(stop));
        RunResult result = RunAward(request, qsoSet, observer, award.files);
        award.stopped = result.stopped;
        if (award.stopped)
            return;
        AwardSummary& summary = award.summary;
        summary = {request.award,
                   request.lstPath,
                   {},
                   {},
                   result.counters,
                   std::move(result.unplaced),
                   std::move(result.entities)};
        if (request.squares)
            summary.squaresPaths = {request.wkdPath, request.cfmPath};
        ExportRun(request, options, summary, award.files);
    };
    OrderedTasks ordered(walks.size(), std::min(walksAtOnce, walks.size()), walk);

    OutputTransaction files;
    std::vector<AwardSummary> summaries;
    for (std::size_t i = 0; i < walks.size(); ++i) {
        AwardWalk& award = walks[i];
        try {
            ordered.WaitFor(i);
        } catch (...) {
            progress.Print(award.diagnostics);  // what the walk said before it failed
            throw;
        }
        progress.Print(award.diagnostics);
        if (award.stopped)
            return std::nullopt;
        files.Take(std::move(award.files));
        const RunRequest& request = award.request;
        AwardSummary& summary = award.summary;
        if (options.mapDir) {
            summary.mapPath = WriteAwardMap(
                {request.award, request.award == Award::Vucc ? options.band : 0, summary.entities},
                options, files);
        }
        summaries.push_back(std::move(summary));
    }
    progress.Clear();
    if (Interruption::Signal() != 0)
        return std::nullopt;
    files.Commit();
    return summaries;
}

}  // namespace

int RunCommandLine(const CliOptions& options, std::FILE* out, std::FILE* err,
                   std::size_t walksAtOnce) {
    const Interruption interruption;
    const auto stopped = [err] {
        std::fputs("corvale-cli: stopped; no file was changed.\n", err);
        return 128 + Interruption::Signal();
    };
    const MapPainting painting(options);
    try {
        const CliPaths paths = ResolveCliPaths(options);
        if (!paths.notice.empty())
            std::fprintf(err, "corvale-cli: %s\n", paths.notice.c_str());
        const std::optional<std::vector<AwardSummary>> summaries =
            RunAwards(options, paths, err, walksAtOnce);
        if (!summaries)
            return stopped();
        std::fputs(UnplacedWarnings(*summaries).c_str(), err);
        std::fputs(ExportWarnings(*summaries).c_str(), err);
        const std::string summary =
            options.json ? SummaryJson(*summaries) : SummaryText(*summaries, options.needed);
        std::fputs(summary.c_str(), out);
        return 0;
    } catch (const std::exception& e) {
        if (Interruption::Signal() != 0)
            return stopped();
        std::fprintf(err, "corvale-cli: %s\n", e.what());
        return 1;
    }
}

}  // namespace corvale
