#include "uitest.h"

#include "platform/ansitext.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QFile>

#include <csignal>
#include <sys/resource.h>

namespace testsupport {

IsolatedEnvironment::IsolatedEnvironment()
{
    const QString base = m_root.path();
    for (const char *folder : {"home", "config", "data", "cache", "runtime", "wine", "work"})
        QDir(base).mkpath(QLatin1String(folder));
    QFile::setPermissions(base + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", QFile::encodeName(base + QStringLiteral("/home")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(base + QStringLiteral("/config")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(base + QStringLiteral("/data")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(base + QStringLiteral("/cache")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(base + QStringLiteral("/runtime")));
    qputenv("WINEPREFIX", QFile::encodeName(winePrefix()));
    QDir::setCurrent(workFolder());
}

QString IsolatedEnvironment::workFolder() const
{
    return m_root.path() + QStringLiteral("/work");
}

QString IsolatedEnvironment::winePrefix() const
{
    return m_root.path() + QStringLiteral("/wine");
}

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

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_savedSoft = qint64(limit.rlim_cur);
    // The write should fail with an error, not end the test program.
    std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_savedSoft);
    setrlimit(RLIMIT_FSIZE, &limit);
}

QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        entries.insert(path, QFileInfo(path).isFile() ? readBytes(path) : QByteArray("<folder>"));
    }
    return entries;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray gbk(const QString &text)
{
    return platform::ansi::encode(text).bytes;
}

} // namespace testsupport
