#include "cli/Interruption.h"

#include <atomic>
#include <csignal>

namespace corvale {

namespace {

// Set by the handler on whichever thread takes the signal and read by every walk's thread: an
// atomic that is lock-free is safe in a handler and between threads alike.
std::atomic<int> gSignal = 0;
static_assert(std::atomic<int>::is_always_lock_free);
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
