#include "cli/CliRun.h"

#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "awards/AwardRun.h"
#include "awards/OutputFile.h"
#include "cli/AdifReadText.h"
#include "cli/CliPaths.h"
#include "cli/Interruption.h"
#include "cli/ProgressLine.h"
#include "cli/Summary.h"
#include "export/AwardExport.h"
#include "logdb/DatabaseVersion.h"
#include "logdb/DbError.h"
#include "logdb/LogFormat.h"
#include "logdb/QsoTable.h"
#include "shell/OwnFolders.h"

namespace corvale {

namespace {

class CliObserver : public RunObserver {
  public:
    CliObserver(Award award, ProgressLine& progress, std::FILE* diagnostics)
        : award_(award), progress_(progress), diagnostics_(diagnostics) {}

    void OnRecord(const AwardCounters&, std::size_t position, std::size_t count) override {
        if ((position & 0xFFF) != 0)
            return;
        progress_.Show(std::string(AwardName(award_)) + ": " + std::to_string(position) + " of " +
                       std::to_string(count) + " contacts");
    }

    bool StopRequested() override { return Interruption::Signal() != 0; }

    void OnDiagnostics(std::string_view lines) override {
        if (diagnostics_ == nullptr)
            return;
        progress_.Clear();
        std::fwrite(lines.data(), 1, lines.size(), diagnostics_);
    }

  private:
    Award award_;
    ProgressLine& progress_;
    std::FILE* diagnostics_;
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
                                                   std::FILE* err) {
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

    OutputTransaction files;
    std::vector<AwardSummary> summaries;
    for (Award award : options.awards) {
        const RunRequest request = RequestFor(award, options, paths);
        MakeOwnFoldersOf({request.lstPath, request.wkdPath, request.cfmPath});
        CSRC2006QSO qsoSet;
        qsoSet.m_strSort = std::string(AwardSortText(award));
        qsoSet.m_columnsRead = AwardColumnsRead(award);
        qsoSet.Open(table);
        CliObserver observer(award, progress, options.verbose ? err : nullptr);
        RunResult result = RunAward(request, qsoSet, observer, files);
        if (result.stopped)
            return std::nullopt;
        AwardSummary summary{award,
                             request.lstPath,
                             {},
                             {},
                             result.counters,
                             std::move(result.unplaced),
                             std::move(result.entities)};
        if (request.squares)
            summary.squaresPaths = {request.wkdPath, request.cfmPath};
        ExportRun(request, options, summary, files);
        summaries.push_back(std::move(summary));
    }
    progress.Clear();
    if (Interruption::Signal() != 0)
        return std::nullopt;
    files.Commit();
    return summaries;
}

}  // namespace

int RunCommandLine(const CliOptions& options, std::FILE* out, std::FILE* err) {
    const Interruption interruption;
    const auto stopped = [err] {
        std::fputs("corvale-cli: stopped; no file was changed.\n", err);
        return 128 + Interruption::Signal();
    };
    try {
        const CliPaths paths = ResolveCliPaths(options);
        if (!paths.notice.empty())
            std::fprintf(err, "corvale-cli: %s\n", paths.notice.c_str());
        const std::optional<std::vector<AwardSummary>> summaries = RunAwards(options, paths, err);
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
