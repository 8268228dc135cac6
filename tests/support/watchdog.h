#pragma once

#include <QByteArray>

namespace testsupport {

// While it lives, an action that hangs for the given time ends the test program at once with
// "FAIL! <what> hung" instead of holding up the whole run. One at a time: it uses the process's
// alarm.
class Watchdog {
public:
    Watchdog(const QByteArray &what, unsigned seconds);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;
};

} // namespace testsupport
