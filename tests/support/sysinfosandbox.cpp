#include "sysinfosandbox.h"

#include "environment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

namespace testsupport {

void SystemInfoSandbox::setUp()
{
    QVERIFY(m_folder.isValid());
    static int round = 0;
    const QString base = m_folder.path() + QStringLiteral("/round%1").arg(++round);
    m_searchPath = base + QStringLiteral("/bin");
    m_log = base + QStringLiteral("/started.log");
    QVERIFY(QDir().mkpath(m_searchPath));
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(m_searchPath));
    // A fresh C: drive each time, so no test finds the tools an earlier one put there.
    m_savedWinePrefix = qgetenv("WINEPREFIX");
    qputenv("WINEPREFIX", QFile::encodeName(base + QStringLiteral("/wine")));
    m_registry = std::make_unique<FakeRegistry>();
    m_useRegistry = std::make_unique<platform::registry::BackendOverride>(*m_registry);
}

void SystemInfoSandbox::tearDown()
{
    m_useRegistry.reset();
    qputenv("PATH", m_savedPath);
    qputenv("WINEPREFIX", m_savedWinePrefix);
    const int stillOpen = m_registry->stillOpen();
    const int misuses = m_registry->misuses;
    m_registry.reset();
    QCOMPARE(stillOpen, 0);
    QCOMPARE(misuses, 0);
}

void SystemInfoSandbox::writeStub(const QString &nativePath, const QByteArray &interpreter)
{
    QVERIFY(QDir().mkpath(QFileInfo(nativePath).path()));
    const QByteArray script =
        "#!" + interpreter + "\necho \"$0\" >> '" + QFile::encodeName(m_log) + "'\n/bin/sleep 2\n";
    QVERIFY(writeBytes(nativePath, script));
    QVERIFY(QFile::setPermissions(nativePath,
                                  QFile::permissions(nativePath) | QFileDevice::ExeOwner | QFileDevice::ExeGroup
                                      | QFileDevice::ExeOther));
}

void SystemInfoSandbox::putOnSearchPath(const QString &toolName)
{
    writeStub(m_searchPath + u'/' + toolName);
}

QStringList SystemInfoSandbox::startedPrograms() const
{
    QFile log(m_log);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace testsupport
