// Runs of corvale-cli made long by holding up a read of the log (ReadHold.cpp): the progress
// line, and a run stopped by a signal.

#include <gtest/gtest.h>

#include <csignal>
#include <stdexcept>

#include "FaultSupport.h"

namespace corvale::test {
namespace {

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
        const bool drawn = run.err.find("\r\033[Kreading " + log + ": ") != std::string::npos;
        EXPECT_EQ(drawn, c.shown) << run.err;
        if (c.shown) {
            // Cleared at the end: what follows the last drawing is no progress text.
            EXPECT_EQ(run.err.find(" contacts", run.err.rfind("\r\033[K")), std::string::npos)
                << run.err;
        } else {
            EXPECT_EQ(run.err.find_first_of("\r\033"), std::string::npos) << run.err;
        }
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
