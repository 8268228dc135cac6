#pragma once

#include <QObject>
#include <QString>

// Marks, in a program started by the bench runner, the moment a window has come up: it prints
// "shown_ns=<t>" when the top-level widget of this objectName gets its first show event and
// "idle_ns=<t>" at the first pass of the event loop after it that delivers nothing but the
// probe's own timer, i.e. once everything the show set off (layouts, the first paint) is done.
// Times are CLOCK_MONOTONIC, which the runner reads too, just before it starts the process.
// Nothing in the product knows of it: the probe watches every event from outside.
// Given the objectName of a menu item, the probe also triggers that item, as a click would, when
// the line "exit" arrives on stdin: the runner times how soon the program is gone after it.
namespace bench {

class ShownAndIdleProbe : public QObject {
public:
    explicit ShownAndIdleProbe(QString objectName, QString exitItemName = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void readCommand();

    QString m_objectName;
    QString m_exitItemName;
    QWidget *m_window = nullptr;
    bool m_shown = false;
    int m_timer = 0;
    long m_deliveredSinceTick = 0;
};

// CLOCK_MONOTONIC in nanoseconds.
qint64 monotonicNs();

} // namespace bench
