#pragma once

#include <unistd.h>

#include <csignal>
#include <cstring>

// Ends the test program with a failure when a test blocks for longer than the guard, so that
// a regression which waits for ever fails the suite instead of stalling it.
class Watchdog {
public:
    explicit Watchdog(unsigned seconds) {
        std::signal(SIGALRM, [](int) {
            constexpr const char* kMessage = "Watchdog: the test blocked; giving up\n";
            [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kMessage, std::strlen(kMessage));
            ::_exit(1);
        });
        ::alarm(seconds);
    }
    ~Watchdog() {
        ::alarm(0);
        std::signal(SIGALRM, SIG_DFL);
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;
};
