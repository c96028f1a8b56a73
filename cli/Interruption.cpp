#include "cli/Interruption.h"

#include <csignal>

namespace corvale {

namespace {

volatile std::sig_atomic_t gSignal = 0;
struct sigaction gPreviousInt;
struct sigaction gPreviousTerm;

extern "C" void AskToStop(int signal) {
    gSignal = signal;
}

}  // namespace

Interruption::Interruption() {
    struct sigaction action {};
    action.sa_handler = AskToStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &gPreviousInt);
    sigaction(SIGTERM, &action, &gPreviousTerm);
}

Interruption::~Interruption() {
    sigaction(SIGINT, &gPreviousInt, nullptr);
    sigaction(SIGTERM, &gPreviousTerm, nullptr);
}

int Interruption::Signal() {
    return gSignal;
}

}  // namespace corvale
