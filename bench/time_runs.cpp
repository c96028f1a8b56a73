// Times corvale-cli against mdb-export on one log, as child processes: the wall time of each,
// their ratio, and the peak resident memory of corvale-cli (from wait4's rusage of the child);
// and what writing the GeoJSON, KML and CSV exports adds to the same corvale-cli run. Given a
// second log, it times corvale-cli on LOG against corvale-cli on that log instead of mdb-export
// (an ADIF log against the Access log of the same contacts).
// Runs alternate between the two commands so that both see the same machine; every figure is
// the median of the runs. No GNU time, no Python: scripts/bench.sh runs this.
//
//   time_runs CORVALE_CLI LOG [RUNS [AGAINST_LOG]]

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Measure {
    double seconds = 0;     // wall
    double cpuSeconds = 0;  // user and system, less disturbed by a busy machine than the wall
    double peakMegabytes = 0;
};

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Runs `args` with standard output and standard error on /dev/null; a failure is an exception.
Measure Run(std::vector<std::string> args) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot run " + args[0]);
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) != pid)
        throw std::runtime_error("cannot wait for " + args[0]);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(args[0] + " failed");
    return {std::chrono::duration<double>(end - start).count(),
            Seconds(usage.ru_utime) + Seconds(usage.ru_stime),
            static_cast<double>(usage.ru_maxrss) / 1024.0};  // ru_maxrss is in KiB
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: %s CORVALE_CLI LOG [RUNS [AGAINST_LOG]]\n", argv[0]);
        return 2;
    }
    const std::string cli = argv[1];
    const std::string log = argv[2];
    const int runs = argc >= 4 ? std::atoi(argv[3]) : 7;
    const std::string against = argc == 5 ? argv[4] : "";
    if (runs < 1) {
        std::fprintf(stderr, "RUNS must be at least 1\n");
        return 2;
    }
    std::string folder =
        (std::filesystem::temp_directory_path() / "corvale-time-runs-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }

    std::vector<double> cliSeconds, exportSeconds, ratios, cliPeak, exportPeak, cliCpu, exportCpu;
    std::vector<double> withExportsSeconds, withExportsCpu;
    try {
        const std::vector<std::string> cliArgs = {cli,   "all",       "--squares", "--source-mdb",
                                                  log,   "--lst-dir", folder,      "--squares-dir",
                                                  folder};
        const std::vector<std::string> exportArgs =
            against.empty()
                ? std::vector<std::string>{"mdb-export", log, "QSO-TAB"}
                : std::vector<std::string>{cli,         "all",  "--squares",     "--log", against,
                                           "--lst-dir", folder, "--squares-dir", folder};
        std::vector<std::string> withExportsArgs = cliArgs;
        withExportsArgs.insert(withExportsArgs.end(),
                               {"--export", "geojson,kml,csv", "--export-dir", folder});
        Run(cliArgs);  // warm-up: the file in the page cache, both programs loaded
        Run(exportArgs);
        Run(withExportsArgs);
        for (int i = 0; i < runs; ++i) {
            // Alternate which goes first, so that neither always follows the other.
            Measure a, b, c;
            if (i % 2 == 0) {
                a = Run(cliArgs);
                b = Run(exportArgs);
                c = Run(withExportsArgs);
            } else {
                c = Run(withExportsArgs);
                b = Run(exportArgs);
                a = Run(cliArgs);
            }
            withExportsSeconds.push_back(c.seconds);
            withExportsCpu.push_back(c.cpuSeconds);
            cliSeconds.push_back(a.seconds);
            cliCpu.push_back(a.cpuSeconds);
            exportCpu.push_back(b.cpuSeconds);
            cliPeak.push_back(a.peakMegabytes);
            exportSeconds.push_back(b.seconds);
            exportPeak.push_back(b.peakMegabytes);
            ratios.push_back(a.seconds / b.seconds);
            std::fprintf(stderr, "  run %d: corvale-cli %.3f s, mdb-export %.3f s\n", i + 1,
                         a.seconds, b.seconds);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "time_runs: %s\n", e.what());
        std::filesystem::remove_all(folder);
        return 1;
    }
    std::filesystem::remove_all(folder);

    const double ratio = Median(cliSeconds) / Median(exportSeconds);
    const double peak = *std::max_element(cliPeak.begin(), cliPeak.end());
    std::printf("log                                 %s\n", log.c_str());
    std::printf("runs (interleaved)                  %d\n", runs);
    std::printf("corvale-cli all --squares           %.3f s (median)\n", Median(cliSeconds));
    const double target = against.empty() ? 0.35 : 0.5;
    const std::string other = against.empty() ? "mdb-export" : "corvale-cli";
    if (against.empty())
        std::printf("mdb-export LOG QSO-TAB > /dev/null  %.3f s (median)\n", Median(exportSeconds));
    else
        std::printf("the same on %s  %.3f s (median)\n", against.c_str(), Median(exportSeconds));
    std::printf("ratio of the medians                %.3f   (target <= %.2f)%s\n", ratio, target,
                ratio <= target ? "" : "   MISSED");
    std::printf("median of the paired ratios         %.3f\n", Median(ratios));
    std::printf(
        "CPU time (user+system), medians     corvale-cli %.3f s, %s %.3f s, "
        "ratio %.3f\n",
        Median(cliCpu), other.c_str(), Median(exportCpu), Median(cliCpu) / Median(exportCpu));
    std::printf(
        "corvale-cli peak RSS                %.1f MB (highest of the runs; median %.1f)"
        "   (target <= 64)%s\n",
        peak, Median(cliPeak), peak <= 64 ? "" : "   MISSED");
    std::printf("%s peak RSS                 %.1f MB (median)\n", other.c_str(),
                Median(exportPeak));
    const double exportsRatio = Median(withExportsSeconds) / Median(cliSeconds);
    std::printf("corvale-cli all --squares --export geojson,kml,csv   %.3f s (median)\n",
                Median(withExportsSeconds));
    std::printf("  over all --squares: wall %.3f   (target <= 1.10)%s, CPU %.3f\n", exportsRatio,
                exportsRatio <= 1.10 ? "" : "   MISSED", Median(withExportsCpu) / Median(cliCpu));
    return 0;
}
