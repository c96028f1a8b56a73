#include <gtest/gtest.h>

#include <csignal>
#include <string>

#include "FaultSupport.h"

namespace corvale::faults {
namespace {

// Ctrl-C or SIGTERM during a run: the run stops, removes its temporary files, says so and
// leaves every file as it was.
TEST(Interrupt, StopsTheRunAndChangesNoFile) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        TempFolder folder;
        const fs::path out = folder / "out";
        fs::create_directory(out);
        WriteFile(out / "WASpins.lst", "02|-28412|3839|HI|\r\n");
        const FolderImage before = ImageOf(out);

        CliOptions options;
        options.environment = HoldRead({{"CORVALE_TEST_HOLD_SIGNAL", std::to_string(signal)},
                                        {"CORVALE_TEST_HOLD_OPENS", "3"}});
        const CliOutcome run = RunCli(AllAwards(kFixtures + "sample-log.mdb", out, out), options);
        EXPECT_EQ(run.status, 128 + signal) << run.err;
        EXPECT_EQ(run.err, "corvale-cli: stopped; no file was changed.\n");
        EXPECT_TRUE(run.out.empty());
        EXPECT_EQ(ImageOf(out), before);
    }
}

}  // namespace
}  // namespace corvale::faults
