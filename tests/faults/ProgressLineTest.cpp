// corvale-cli's progress line: on standard error when that is a terminal and the run lasts
// longer than a second, never otherwise. The run is made slow by holding up its first read of
// the log.

#include <gtest/gtest.h>

#include "FaultSupport.h"

namespace corvale::faults {
namespace {

struct ProgressCase {
    std::string name;
    std::string log;
    bool slow;
    bool terminal;
    bool shown;
};

TEST(ProgressLine, ShownOnATerminalOnlyWhenTheRunIsLong) {
    if (!TerminalsAvailable())
        GTEST_SKIP() << "no pseudo-terminal can be opened here";
    const std::vector<ProgressCase> cases = {
        {"long run, terminal", "sample-log.mdb", true, true, true},
        {"long run, pipe", "sample-log.mdb", true, false, false},
        {"short run, terminal", "empty-log.mdb", false, true, false},
    };
    for (const ProgressCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder out;
        const std::string log = kFixtures + c.log;
        CliOptions options;
        options.stderrOnTerminal = c.terminal;
        if (c.slow) {
            options.environment = HoldRead({{"CORVALE_TEST_HOLD_MS", "1500"}});
        }
        const CliOutcome run = RunCli(AllAwards(log, out.Path(), out.Path()), options);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find("WAS: "), std::string::npos) << run.out;
        const bool drawn = run.err.find("\r\033[Kreading " + log + ": ") != std::string::npos;
        EXPECT_EQ(drawn, c.shown) << run.err;
        if (!c.shown) {
            EXPECT_EQ(run.err.find('\r'), std::string::npos) << run.err;
            EXPECT_EQ(run.err.find('\033'), std::string::npos) << run.err;
        } else {
            // Cleared at the end: what follows the last drawing is no progress text.
            const std::size_t lastDraw = run.err.rfind("\r\033[K");
            EXPECT_EQ(run.err.find(" contacts", lastDraw), std::string::npos) << run.err;
        }
    }
}

}  // namespace
}  // namespace corvale::faults
