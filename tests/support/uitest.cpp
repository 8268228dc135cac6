#include "uitest.h"

#include "platform/widgets/filesystemlists.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>

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

bool listsRead(const QWidget *window, int milliseconds)
{
    const auto reading = [window] {
        const QList<platform::FolderList *> folders = window->findChildren<platform::FolderList *>();
        const QList<platform::FileList *> files = window->findChildren<platform::FileList *>();
        return std::any_of(folders.begin(), folders.end(), [](auto *list) { return list->isListing(); })
            || std::any_of(files.begin(), files.end(), [](auto *list) { return list->isListing(); });
    };
    return QTest::qWaitFor([&] { return !reading(); }, milliseconds);
}

bool clickFolder(platform::FolderList *list, const QString &folder, bool open)
{
    if (!listsRead(list->window()))
        return false;
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
