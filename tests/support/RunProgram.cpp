#include "RunProgram.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace corvale::test {

namespace {

// Reads every descriptor to its end (a closed pipe, or EIO on a pty whose other side is gone).
void Drain(std::vector<std::pair<int, std::string*>> sources) {
    while (!sources.empty()) {
        std::vector<pollfd> fds;
        for (const auto& source : sources)
            fds.push_back({source.first, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (std::size_t i = fds.size(); i-- > 0;) {
            if (fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sources[i].second->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                close(sources[i].first);
                sources.erase(sources.begin() + static_cast<std::ptrdiff_t>(i));
            }
        }
    }
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

RunOutcome RunProgram(const std::vector<std::string>& command, const RunOptions& options) {
    std::vector<std::string> strings = command;
    std::vector<char*> argv = Pointers(strings);
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string variable = *e;
        const std::string name = variable.substr(0, variable.find('='));
        if (!options.environment.contains(name) &&
            std::ranges::find(options.unset, name) == options.unset.end())
            environment.push_back(variable);
    }
    for (const auto& [name, value] : options.environment)
        environment.push_back(name + "=" + value);
    std::vector<char*> envp = Pointers(environment);

    // The read end of standard output and error, and the child's end; error on a pseudo-terminal
    // (raw: the bytes pass through as written, no CR added before LF) or a pipe.
    int out[2], err[2];
    termios raw{};
    cfmakeraw(&raw);
    if (pipe2(out, O_CLOEXEC) != 0 ||
        (options.stderrOnTerminal ? openpty(&err[0], &err[1], nullptr, &raw, nullptr)
                                  : pipe2(err, O_CLOEXEC)) != 0)
        throw std::runtime_error(options.stderrOnTerminal ? "openpty" : "pipe");
    fcntl(err[0], F_SETFD, FD_CLOEXEC);

    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork");
    if (pid == 0) {
        const int devNull = open("/dev/null", O_RDONLY);
        if (options.stderrOnTerminal) {
            setsid();
            ioctl(err[1], TIOCSCTTY, 0);
        }
        if (dup2(devNull, 0) < 0 || dup2(out[1], 1) < 0 || dup2(err[1], 2) < 0)
            _exit(126);
        if (options.fileSizeLimit) {
            // Without the signal, a write past the limit fails with EFBIG, as on a full disk.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{*options.fileSizeLimit, *options.fileSizeLimit};
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
                _exit(126);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);

    RunOutcome outcome;
    Drain({{out[0], &outcome.out}, {err[0], &outcome.err}});
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status))
        outcome.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status))
        outcome.signal = WTERMSIG(status);
    return outcome;
}

RunOutcome RunCli(const std::vector<std::string>& arguments, const RunOptions& options) {
    std::vector<std::string> command = {CORVALE_CLI};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return RunProgram(command, options);
}

}  // namespace corvale::test
