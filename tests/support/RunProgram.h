#pragma once

#include <sys/resource.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace corvale::test {

struct RunOptions {
    std::optional<rlim_t> fileSizeLimit;             // RLIMIT_FSIZE of the child; SIGXFSZ ignored
    bool stderrOnTerminal = false;                   // standard error on a pseudo-terminal
    std::map<std::string, std::string> environment;  // added to the child's
    std::vector<std::string> unset;                  // taken out of the child's
};

struct RunOutcome {
    int status = -1;  // exit status; -1 when it did not exit normally
    int signal = 0;   // the signal that ended it
    std::string out, err;
};

// Runs `command` (its program found on PATH) with standard input on /dev/null and collects its
// output.
RunOutcome RunProgram(const std::vector<std::string>& command, const RunOptions& options = {});
// The same for corvale-cli with `arguments`.
RunOutcome RunCli(const std::vector<std::string>& arguments, const RunOptions& options = {});

}  // namespace corvale::test
