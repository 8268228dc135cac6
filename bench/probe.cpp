#include "probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimerEvent>
#include <QWidget>

#include <cstdio>
#include <ctime>

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

}  // namespace

ShownAndIdleProbe::ShownAndIdleProbe(QString objectName) : m_objectName(std::move(objectName))
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool ShownAndIdleProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this)
        return false;
    ++m_deliveredSinceTick;
    if (!m_shown && event->type() == QEvent::Show && watched->isWidgetType()
        && static_cast<QWidget *>(watched)->isWindow() && watched->objectName() == m_objectName) {
        m_shown = true;
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

}  // namespace bench
