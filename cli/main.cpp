#include <cstdio>

#include "cli/CliOptions.h"
#include "cli/CliRun.h"

int main(int argc, char** argv) {
    const corvale::CliParse parse = corvale::ParseCommandLine(argc, argv);
    if (!parse.options) {
        std::fputs(parse.message.c_str(), parse.exitCode == 0 ? stdout : stderr);
        return parse.exitCode;
    }
    return corvale::RunCommandLine(*parse.options, stdout, stderr);
}
