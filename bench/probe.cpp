#include "probe.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QTimerEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

#include <unistd.h>

namespace bench {

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

namespace {

void print(const char *name, qint64 value)
{
    std::printf("%s=%lld\n", name, static_cast<long long>(value));
    // The runner reads the line while the program goes on running.
    std::fflush(stdout);
}

} // namespace

ShownAndIdleProbe::ShownAndIdleProbe(QString objectName, QString exitItemName)
    : m_objectName(std::move(objectName))
    , m_exitItemName(std::move(exitItemName))
{
    QCoreApplication::instance()->installEventFilter(this);
    if (m_exitItemName.isEmpty())
        return;
    auto *commands = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(commands, &QSocketNotifier::activated, this, &ShownAndIdleProbe::readCommand);
}

void ShownAndIdleProbe::readCommand()
{
    char line[64];
    const ssize_t size = ::read(STDIN_FILENO, line, sizeof line);
    if (size <= 0) {
        // The runner let go of the pipe: nothing more will come.
        findChild<QSocketNotifier *>()->setEnabled(false);
        return;
    }
    QAction *exit = m_window ? m_window->findChild<QAction *>(m_exitItemName) : nullptr;
    if (QByteArray(line, size).trimmed() == "exit" && exit)
        exit->trigger();
}

bool ShownAndIdleProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this)
        return false;
    ++m_deliveredSinceTick;
    if (!m_shown && event->type() == QEvent::Show && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow() && watched->objectName() == m_objectName) {
        m_shown = true;
        m_window = static_cast<QWidget *>(watched);
        print("shown_ns", monotonicNs());
        m_timer = startTimer(0);
        m_deliveredSinceTick = 0;
    }
    return false;
}

void ShownAndIdleProbe::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer)
        return;
    // A pass that delivered something else may have left more behind: wait for one more.
    if (m_deliveredSinceTick > 0) {
        m_deliveredSinceTick = 0;
        return;
    }
    print("idle_ns", monotonicNs());
    killTimer(m_timer);
    QCoreApplication::instance()->removeEventFilter(this);
}

} // namespace bench
