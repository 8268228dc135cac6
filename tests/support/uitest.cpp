#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>

namespace testsupport {

QString triggerAction(QWidget *window, const QString &name)
{
    if (!window)
        return QStringLiteral("no window to find action %1 in").arg(name);
    QAction *action = window->findChild<QAction *>(name);
    if (!action)
        return QStringLiteral("no action named %1").arg(name);
    if (!action->isEnabled() || !action->isVisible())
        return QStringLiteral("action %1 is disabled or hidden").arg(name);
    action->trigger();
    return {};
}

void destroyAllWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (!widget->parentWidget())
            windows << widget;
    }
    for (const QPointer<QWidget> &window : windows)
        delete window.data();
}

int runEventLoop(int milliseconds)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(milliseconds);
    return QApplication::exec();
}

} // namespace testsupport
