#include "environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringEncoder>
#include <QThreadPool>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

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

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    m_savedSoft = qint64(limit.rlim_cur);
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

QMap<QString, QByteArray> snapshot(const QString &folder, const QStringList &leftOut)
{
    const auto isLeftOut = [&leftOut](const QString &path) {
        for (const QString &out : leftOut) {
            if (path == out || path.startsWith(out + u'/'))
                return true;
        }
        return false;
    };
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isLeftOut(path))
            continue;
        const QFileInfo info(path);
        if (info.isSymLink())
            entries.insert(path, "<link to " + QFile::encodeName(info.symLinkTarget()) + '>');
        else if (info.isDir())
            entries.insert(path, "<folder>");
        else
            entries.insert(path, info.isFile() ? readBytes(path) : QByteArray("<special>"));
    }
    return entries;
}

ManyEntries::ManyEntries(const QString &path, int count, Kind kind, const QStringList &suffixes)
    : m_path(path)
    , m_count(count)
    , m_kind(kind)
    , m_suffixes(suffixes)
{
    if (!QDir().mkpath(path))
        return;
    // A prime step visits every number below a count it does not divide once.
    constexpr int step = 7919;
    for (; m_made < count; ++m_made) {
        const QByteArray entry = QFile::encodeName(path + u'/' + name(int(qint64(m_made) * step % count)));
        if (kind == Folders) {
            if (::mkdir(entry.constData(), 0755) != 0)
                break;
        } else {
            const int file = ::open(entry.constData(), O_CREAT | O_WRONLY, 0644);
            if (file < 0)
                break;
            ::close(file);
        }
    }
}

ManyEntries::~ManyEntries()
{
    for (int i = 0; i < m_count; ++i) {
        const QByteArray entry = QFile::encodeName(m_path + u'/' + name(i));
        if (m_kind == Folders)
            ::rmdir(entry.constData());
        else
            ::unlink(entry.constData());
    }
    QDir().rmdir(m_path); // stays when other entries were put beside ours
}

QString ManyEntries::name(int i) const
{
    const QString stem = (i % 2 ? QStringLiteral("entry") : QStringLiteral("Entry"))
        + QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0'));
    return m_suffixes.isEmpty() ? stem : stem + m_suffixes.at(i % m_suffixes.size());
}

HeldThreadPool::HeldThreadPool()
    : m_gate(std::make_shared<QSemaphore>())
    , m_held(QThreadPool::globalInstance()->maxThreadCount())
{
    // Work started later queues behind these, whether or not each has begun yet.
    for (int i = 0; i < m_held; ++i)
        QThreadPool::globalInstance()->start([gate = m_gate] { gate->acquire(); });
}

void HeldThreadPool::release()
{
    m_gate->release(m_held);
    m_held = 0;
}

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> pages = statm.readAll().split(' ');
    return pages.size() > 1 ? pages.at(1).toDouble() * double(::sysconf(_SC_PAGESIZE)) / (1024 * 1024) : 0;
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
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

QString settingsStore()
{
    static const QString name = QCoreApplication::applicationName();
    static const QString store = QSettings(QSettings::UserScope, name, name).fileName();
    return store;
}

} // namespace testsupport
