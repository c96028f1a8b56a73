// The log during and after a run: broken logs end in one sentence of corvale-cli's own (never a
// line of libmdb's, never a crash), a log that vanishes or changes during the read gives either
// the whole log as it was opened or a clear error, and the log itself is never touched.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "FaultSupport.h"
#include "logdb/DbError.h"
#include "logdb/QsoTable.h"

namespace corvale::faults {
namespace {

// Exit status 1 and exactly one line, corvale-cli's, naming the log.
void ExpectOneClearLine(const CliOutcome& run, const std::string& log) {
    EXPECT_EQ(run.signal, 0);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind("corvale-cli: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("\"" + log + "\""), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "one line only:\n" << run.err;
}

// The committed fuzz corpus, crashes found by the fuzzer included, read through the whole run:
// each file either runs or fails with one line; none crashes or lets libmdb speak.
TEST(LogFaults, FuzzCorpusRunsOrFailsCleanly) {
    const fs::path corpus = fs::path(CORVALE_SOURCE_DIR) / "fuzz/corpus/log";
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        SCOPED_TRACE(entry.path().filename().string());
        ++files;
        // The fuzz target pads every input to whole 4 KiB pages; so does this replay.
        TempFolder folder;
        std::string bytes = ReadFile(entry.path());
        bytes.resize((bytes.size() + 4095) / 4096 * 4096, '\0');
        const std::string log = (folder / "log.mdb").string();
        WriteFile(log, bytes);
        fs::create_directory(folder / "out");
        const CliOutcome run = RunCli(AllAwards(log, folder / "out", folder / "out"));
        if (run.status == 0)
            continue;
        ExpectOneClearLine(run, log);
    }
    EXPECT_GT(files, 0u);
}

// What a read of the sample log gives when `sabotage` strikes after its first batch of rows.
struct LogChange {
    std::string name;
    std::function<void(const fs::path& log, const fs::path& folder)> sabotage;
    bool readsWhole;  // true: the read gives the log as it was opened; false: a DbError
};

std::string Digest(const QsoTable& table) {
    std::string text;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        for (QsoColumn column : {QsoColumn::Call, QsoColumn::Date, QsoColumn::Note})
            text.append(table.Text(row, column)).push_back('\t');
        text.append(std::to_string(table.Long(row, QsoColumn::Number))).push_back('\n');
    }
    return text;
}

void Overwrite(const fs::path& log, off_t from, const std::string& bytes) {
    std::FILE* file = std::fopen(log.c_str(), "r+b");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(fseeko(file, from, SEEK_SET), 0);
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(std::fclose(file), 0);
}

TEST(LogFaults, LogThatVanishesOrChangesDuringTheRead) {
    const std::string sample = kFixtures + "sample-log.mdb";
    const QsoColumnSet columns = {QsoColumn::Call, QsoColumn::Date, QsoColumn::Note,
                                  QsoColumn::Number};
    const std::string whole = Digest(*QsoTable::Read(sample, columns));
    const auto size = static_cast<off_t>(fs::file_size(sample));

    const std::vector<LogChange> cases = {
        {"deleted", [](const fs::path& log, const fs::path&) { fs::remove(log); }, true},
        {"replaced by another file",
         [](const fs::path& log, const fs::path& folder) {
             fs::copy_file(kFixtures + "empty-log.mdb", folder / "other.mdb");
             fs::rename(folder / "other.mdb", log);
         },
         true},
        {"cut short", [](const fs::path& log, const fs::path&) { fs::resize_file(log, 65536); },
         false},
        {"second half zeroed",
         [size](const fs::path& log, const fs::path&) {
             Overwrite(log, size / 2, std::string(static_cast<std::size_t>(size - size / 2), '\0'));
         },
         false},
        {"rewritten in place with another log",
         [](const fs::path& log, const fs::path&) {
             Overwrite(log, 0, ReadFile(kFixtures + "sample-log-v2003.mdb"));
         },
         false},
        // Rows still to come may now lie elsewhere: the read cannot tell, so it fails.
        {"written in place, same size",
         [](const fs::path& log, const fs::path&) {
             Overwrite(log, 0, ReadFile(kFixtures + "sample-log.mdb"));
         },
         false},
    };
    for (const LogChange& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path log = folder / "log.mdb";
        fs::copy_file(sample, log);
        bool struck = false;
        auto sabotage = [&](std::size_t) {
            if (!struck)
                c.sabotage(log, folder.Path());
            struck = true;
            return true;
        };
        try {
            const auto table = QsoTable::Read(log.string(), columns, sabotage);
            ASSERT_TRUE(struck);
            EXPECT_TRUE(c.readsWhole) << "read " << table->RowCount() << " rows without an error";
            EXPECT_TRUE(Digest(*table) == whole) << "the rows are not the log as it was opened";
        } catch (const DbError& e) {
            EXPECT_FALSE(c.readsWhole) << e.what();
            EXPECT_NE(std::string(e.what()).find("\"" + log.string() + "\""), std::string::npos)
                << e.what();
        }
    }
}

// The same through corvale-cli, which opens the log twice (its version, then its rows): while
// the rows are read the log changes, and the run ends in one sentence with every old file as it
// was; or the log is deleted, and the run writes the files of the log as it was opened.
TEST(LogFaults, CliRunWhileTheLogChanges) {
    const std::string sample = kFixtures + "sample-log.mdb";
    TempFolder reference;
    ASSERT_EQ(RunCli(AllAwards(sample, reference.Path(), reference.Path())).status, 0);
    const FolderImage whole = ImageOf(reference.Path());

    const std::vector<LogChange> cases = {
        {"deleted", [](const fs::path& log, const fs::path&) { fs::remove(log); }, true},
        {"written in place, same size",
         [&sample](const fs::path& log, const fs::path&) { Overwrite(log, 0, ReadFile(sample)); },
         false},
    };
    for (const LogChange& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path log = folder / "log.mdb", out = folder / "out", held = folder / "held";
        fs::copy_file(sample, log);
        fs::create_directory(out);
        WriteFile(out / "WASpins.lst", "01+1|old|\r\n");
        const FolderImage before = ImageOf(out);

        CliOptions options;
        options.environment = HoldRead({{"CORVALE_TEST_HOLD_MS", "1000"},
                                        // Telling the log's kind, [VERSION], then the rows.
                                        {"CORVALE_TEST_HOLD_OPENS", "3"},
                                        {"CORVALE_TEST_HOLD_LOG", log.string()},
                                        {"CORVALE_TEST_HOLD_OFFSET", "262144"},
                                        {"CORVALE_TEST_HOLD_MARKER", held.string()}});
        bool changed = false;
        std::thread saboteur([&] {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (!fs::exists(held) && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            if (fs::exists(held)) {
                c.sabotage(log, folder.Path());
                changed = true;
            }
        });
        const CliOutcome run = RunCli(AllAwards(log.string(), out, out), options);
        saboteur.join();
        ASSERT_TRUE(changed) << "the read was not held up: " << run.err;

        if (c.readsWhole) {
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_TRUE(ImageOf(out) == whole);
        } else {
            ExpectOneClearLine(run, log.string());
            EXPECT_NE(run.err.find("changed while it was read"), std::string::npos) << run.err;
            EXPECT_EQ(ImageOf(out), before);
        }
    }
}

// A file's bytes, modification time and permissions.
struct FileStamp {
    std::string bytes;
    std::int64_t seconds = 0, nanoseconds = 0;
    mode_t mode = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const fs::path& path) {
    struct stat status {};
    EXPECT_EQ(stat(path.c_str(), &status), 0);
    return {ReadFile(path), status.st_mtim.tv_sec, status.st_mtim.tv_nsec, status.st_mode};
}

// Read-only in every sense: a log with permissions 0444 in a read-only folder reads, and after
// the runs its bytes, times and permissions are as before and nothing (a lock file, say) has
// appeared beside it.
TEST(LogFaults, LogIsNeverTouched) {
    TempFolder folder;
    const fs::path logFolder = folder / "log";
    fs::create_directory(logFolder);
    const fs::path log = logFolder / "sample-log.mdb";
    fs::copy_file(kFixtures + "sample-log.mdb", log);
    fs::permissions(log, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto readOnly = MakeReadOnly(logFolder);
    if (readOnly)
        std::printf("[   NOTE   ] the log's folder stays writable: %s\n", readOnly->c_str());
    const FileStamp before = StampOf(log);
    const FolderImage folderBefore = ImageOf(logFolder);

    fs::create_directory(folder / "out");
    for (const std::string band : {"50", "144"}) {
        std::vector<std::string> arguments =
            AllAwards(log.string(), folder / "out", folder / "out");
        arguments.insert(arguments.end(), {"--band", band});
        const CliOutcome run = RunCli(arguments);
        ASSERT_EQ(run.status, 0) << run.err;
    }

    EXPECT_TRUE(StampOf(log) == before) << "the log's bytes, time or permissions changed";
    EXPECT_EQ(ImageOf(logFolder), folderBefore);
}

}  // namespace
}  // namespace corvale::faults
