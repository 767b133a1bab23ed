#include "support/storm_guard.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <unistd.h>

namespace kalidor::test {

namespace {

std::atomic<long long> current{-1};
std::atomic<std::uint32_t> stormSeed{0};

// Only write(2) and plain arithmetic: it also runs inside a signal handler.
void report(const char* what)
{
    char text[256];
    char* p = text;
    auto put = [&](const char* s) {
        while (*s && p < text + sizeof text - 1)
            *p++ = *s++;
    };
    auto number = [&](unsigned long long v) {
        char digits[24];
        int n = 0;
        do {
            digits[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v > 0);
        while (n > 0 && p < text + sizeof text - 1)
            *p++ = digits[--n];
    };
    const long long event = current.load();
    put("\nevent storm: ");
    put(what);
    put(" at event ");
    number(static_cast<unsigned long long>(event < 0 ? 0 : event));
    put(" of seed ");
    number(stormSeed.load());
    put("; replay with KALIDOR_STORM_SEED=");
    number(stormSeed.load());
    put(" KALIDOR_STORM_EVENTS=");
    number(static_cast<unsigned long long>(event < 0 ? 1 : event + 1));
    put("\n");
    [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, static_cast<std::size_t>(p - text));
}

constexpr int kSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL};
struct sigaction previous[std::size(kSignals)];

void onCrash(int signal)
{
    report("crashed");
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        if (kSignals[i] == signal)
            sigaction(signal, &previous[i], nullptr);
    raise(signal);
}

std::mutex watching;
std::condition_variable stop;
bool stopping = false;
std::thread watchdog;

}  // namespace

void noteStormEvent(long long index) { current.store(index); }

StormGuard::StormGuard(std::uint32_t seed, int hangSeconds)
{
    stormSeed = seed;
    current = -1;
    struct sigaction act {};
    act.sa_handler = onCrash;
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &act, &previous[i]);
    stopping = false;
    watchdog = std::thread([hangSeconds] {
        std::unique_lock<std::mutex> lock(watching);
        long long seen = current.load();
        while (!stop.wait_for(lock, std::chrono::seconds(hangSeconds), [] { return stopping; })) {
            const long long now = current.load();
            if (now == seen) {
                report("hung");
                std::_Exit(EXIT_FAILURE);
            }
            seen = now;
        }
    });
}

StormGuard::~StormGuard()
{
    {
        std::lock_guard<std::mutex> lock(watching);
        stopping = true;
    }
    stop.notify_all();
    watchdog.join();
    for (std::size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &previous[i], nullptr);
}

}  // namespace kalidor::test
