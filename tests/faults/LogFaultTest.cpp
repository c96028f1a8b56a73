// The log during and after a run: broken logs end in one sentence of corvale-cli's own (never a
// line of libmdb's, never a crash), a log that changes during the read gives the log as it was
// opened or a clear error, the log is never touched; and runs made long by holding up a read of
// the log (ReadHold.cpp): the progress line, a run stopped by a signal.

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <stdexcept>

#include "FaultSupport.h"
#include "logdb/DbError.h"
#include "logdb/QsoTable.h"

namespace corvale::test {
namespace {

// The committed fuzz corpus, crashes found by the fuzzer included, read through the whole run:
// each file either runs or fails with exit status 1 and one line of corvale-cli's naming the log.
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
        const RunOutcome run = RunCli(AllAwards(log, folder.Path(), folder.Path()));
        if (run.status == 0)
            continue;
        EXPECT_EQ(run.signal, 0);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("corvale-cli: ") &&
                    run.err.find('\n') == run.err.size() - 1)
            << "not one line of corvale-cli's: " << run.err;
        EXPECT_NE(run.err.find("\"" + log + "\""), std::string::npos) << run.err;
    }
    EXPECT_GT(files, 0u);
}

std::string Digest(const QsoTable& table) {
    std::string text;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
        for (QsoColumn column : {QsoColumn::Call, QsoColumn::Date, QsoColumn::Note})
            text.append(table.Text(row, column)).push_back('\t');
        text.append(std::to_string(table.Long(row, QsoColumn::Number))).push_back('\n');
    }
    return text;
}

void Overwrite(const fs::path& log, std::streamoff from, const std::string& bytes) {
    std::fstream file(log, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(from).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.flush()) << log;
}

// What a read of the sample log gives when the log changes after the first batch of rows: the
// log as it was opened, or a DbError that names it.
TEST(LogFaults, LogThatVanishesOrChangesDuringTheRead) {
    const std::string sample = kFixtures + "sample-log.mdb";
    const QsoColumnSet columns = {QsoColumn::Call, QsoColumn::Date, QsoColumn::Note,
                                  QsoColumn::Number};
    const std::string whole = Digest(*QsoTable::Read(sample, columns));
    const auto size = static_cast<off_t>(fs::file_size(sample));
    struct Case {
        std::string name;
        std::function<void(const fs::path& log, const fs::path& folder)> sabotage;
        bool readsWhole;
    };
    const std::vector<Case> cases = {
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
         [&sample](const fs::path& log, const fs::path&) { Overwrite(log, 0, ReadFile(sample)); },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const fs::path log = folder / "log.mdb";
        fs::copy_file(sample, log);
        bool struck = false;
        const auto sabotage = [&](std::size_t) {
            if (!std::exchange(struck, true))
                c.sabotage(log, folder.Path());
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

// Read-only in every sense: a log with permissions 0444 is read from a read-only folder (the
// read needs no right to write), and beside it in a writable folder nothing (a lock file, say)
// appears; after a run its bytes, modification time and permissions are as before.
TEST(LogFaults, LogIsNeverTouched) {
    for (const bool readOnlyFolder : {true, false}) {
        SCOPED_TRACE(readOnlyFolder ? "read-only folder" : "writable folder");
        MountFolder folder;
        const fs::path logFolder = folder / "log", log = logFolder / "sample-log.mdb";
        fs::create_directory(logFolder);
        fs::copy_file(kFixtures + "sample-log.mdb", log);
        fs::permissions(log,
                        fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        if (const auto why = readOnlyFolder ? MakeReadOnly(logFolder) : std::nullopt)
            std::printf("[   NOTE   ] the log's folder stays writable: %s\n", why->c_str());
        const auto stamp = [&log] {
            return std::pair(fs::last_write_time(log), fs::status(log).permissions());
        };
        const auto stampBefore = stamp();
        const FolderImage before = ImageOf(logFolder);
        const RunOutcome run = RunCli(AllAwards(log.string(), folder.Path(), folder.Path()));
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(stamp() == stampBefore) << "the log's time or permissions changed";
        EXPECT_EQ(ImageOf(logFolder), before);
    }
}

// On standard error when that is a terminal and the run lasts longer than a second, cleared at
// the end; never otherwise.
TEST(ProgressLine, ShownOnATerminalOnlyWhenTheRunIsLong) {
    struct Case {
        std::string name, log;
        bool slow, terminal, shown;
    };
    const Case cases[] = {
        {"long run, terminal", "sample-log.mdb", true, true, true},
        {"long run, pipe", "sample-log.mdb", true, false, false},
        {"short run, terminal", "empty-log.mdb", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder out;
        const std::string log = kFixtures + c.log;
        RunOptions options{.stderrOnTerminal = c.terminal};
        if (c.slow)
            options.environment = HoldRead({{"CORVALE_TEST_HOLD_MS", "1500"}});
        RunOutcome run;
        try {
            run = RunCli(AllAwards(log, out.Path(), out.Path()), options);
        } catch (const std::runtime_error& e) {
            GTEST_SKIP() << "no pseudo-terminal can be opened here: " << e.what();
        }
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("WAS: "), std::string::npos) << run.out;
        EXPECT_EQ(run.err.find("\r\033[Kreading " + log + ": ") != std::string::npos, c.shown)
            << run.err;
        EXPECT_EQ(run.err.find_first_of("\r\033") != std::string::npos, c.shown) << run.err;
        // Cleared at the end: no progress text after the last clearing (or at all: npos + 1 is 0).
        EXPECT_EQ(run.err.find(" contacts", run.err.rfind("\r\033[K") + 1), std::string::npos)
            << run.err;
    }
}

// Ctrl-C or SIGTERM while the rows are read: the run stops, removes its temporary files, says so
// and leaves every file as it was.
TEST(Interrupt, StopsTheRunAndChangesNoFile) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        TempFolder out;
        WriteFile(out / "WASpins.lst", "02|-28412|3839|HI|\r\n");
        const FolderImage before = ImageOf(out.Path());
        const RunOutcome run =
            RunCli(AllAwards(kFixtures + "sample-log.mdb", out.Path(), out.Path()),
                   {.environment = HoldRead({{"CORVALE_TEST_HOLD_SIGNAL", std::to_string(signal)},
                                             {"CORVALE_TEST_HOLD_OPENS", "3"}})});
        EXPECT_EQ(run.status, 128 + signal) << run.err;
        EXPECT_EQ(run.err, "corvale-cli: stopped; no file was changed.\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ImageOf(out.Path()), before);
    }
}

}  // namespace
}  // namespace corvale::test
