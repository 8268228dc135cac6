#include "uitest.h"

#include "platform/filesystemlists.h"

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

bool clickFolder(platform::FolderList *list, const QString &folder, bool open)
{
    const QModelIndex entry = list->indexFor(folder);
    if (!entry.isValid())
        return false;
    list->scrollTo(entry);
    const QPoint centre = list->visualRect(entry).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (open)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
    return true;
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
