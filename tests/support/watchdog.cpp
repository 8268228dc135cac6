#include "watchdog.h"

#include <csignal>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace testsupport {

namespace {

// Written whole beforehand: a signal handler may only call what is safe there.
char message[512] = {};

void bark(int)
{
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, message, std::strlen(message));
    ::_exit(3);
}

} // namespace

Watchdog::Watchdog(const QByteArray &what, unsigned seconds)
{
    std::snprintf(message, sizeof message, "FAIL! %s hung\n", what.constData());
    std::signal(SIGALRM, &bark);
    ::alarm(seconds);
}

Watchdog::~Watchdog()
{
    ::alarm(0);
}

} // namespace testsupport
