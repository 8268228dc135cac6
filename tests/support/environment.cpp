#include "environment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

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

} // namespace testsupport
