// Finding and starting the system information tool: the registry's file, the registry's
// folder, then the desktops' equivalents on the search path; and the one notice when none starts.
#include "skinmaker/shell/sysinfo.h"

#include "platform/core/winpath.h"
#include "platform/widgets/notice.h"

#include "sysinfosandbox.h"
#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>

using platform::NoticeRecord;
using platform::registry::Root;

namespace {

const QString unavailable = QStringLiteral("此时系统信息不可用");
const QByteArray toolFileKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray toolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::uint32_t textType = 1;
constexpr std::uint32_t binaryType = 3;

// A registry text value as stored: ANSI bytes and the terminating zero.
QByteArray storedText(const QString &value)
{
    return testsupport::gbk(value) + '\0';
}

struct Launch {
    bool started = false;
    qint64 milliseconds = 0;
    QList<NoticeRecord> notices;
};

} // namespace

class SysInfoTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_sandbox.setUp(); }
    void cleanup() { m_sandbox.tearDown(); }

    void startsTheToolNamedByTheRegistry_data();
    void startsTheToolNamedByTheRegistry();
    void startsTheToolInTheRegistryFolder_data();
    void startsTheToolInTheRegistryFolder();
    void reportsWhenTheRegistryLeadsNowhere_data();
    void reportsWhenTheRegistryLeadsNowhere();
    void startsAnEquivalentToolFromTheSearchPath_data();
    void startsAnEquivalentToolFromTheSearchPath();
    void reportsWhenNoEquivalentToolStarts_data();
    void reportsWhenNoEquivalentToolStarts();

private:
    Launch launch();
    void verifyUnavailable(const Launch &result);

    testsupport::SystemInfoSandbox m_sandbox;
};

void SysInfoTest::startsTheToolNamedByTheRegistry_data()
{
    QTest::addColumn<bool>("folderToo");
    QTest::newRow("location 2 absent") << false;
    QTest::newRow("location 2 present as well") << true;
}

void SysInfoTest::startsTheToolNamedByTheRegistry()
{
    QFETCH(bool, folderToo);
    // The registry names a Windows path; ANSI text with Chinese in it.
    const QString tool = QStringLiteral("C:\\Program Files\\系统工具\\msinfo");
    m_sandbox.registry().setValue(Root::LocalMachine, toolFileKey, "PATH", textType, storedText(tool));
    m_sandbox.writeStub(platform::nativePath(tool));
    if (folderToo) {
        m_sandbox.registry().setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType,
                                      storedText(QStringLiteral("C:\\Info")));
        m_sandbox.writeStub(platform::nativePath(QStringLiteral("C:\\Info\\MSINFO32.EXE")));
    }
    m_sandbox.putOnSearchPath(QStringLiteral("hardinfo"));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    // The tool lingers for two seconds; the launcher does not wait for it.
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(m_sandbox.startedPrograms(), QStringList{platform::nativePath(tool)});
    // The folder's location was never asked for.
    QCOMPARE(m_sandbox.registry().opens, 1);
}

void SysInfoTest::startsTheToolInTheRegistryFolder_data()
{
    QTest::addColumn<bool>("fileKeyExists");
    QTest::newRow("no key for the file") << false;
    QTest::newRow("file key without the value") << true;
}

void SysInfoTest::startsTheToolInTheRegistryFolder()
{
    QFETCH(bool, fileKeyExists);
    if (fileKeyExists)
        m_sandbox.registry().setValue(Root::LocalMachine, toolFileKey, "OTHER", textType,
                                      storedText(QStringLiteral("x")));
    const QString folder = QStringLiteral("C:\\Program Files\\Common Files\\Shared\\MSInfo");
    m_sandbox.registry().setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType, storedText(folder));
    const QString tool = platform::nativePath(folder + QStringLiteral("\\MSINFO32.EXE"));
    m_sandbox.writeStub(tool);
    m_sandbox.putOnSearchPath(QStringLiteral("hardinfo"));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(m_sandbox.startedPrograms(), QStringList{tool});
    QCOMPARE(m_sandbox.registry().opens, fileKeyExists ? 2 : 1);
    QCOMPARE(m_sandbox.registry().closes, m_sandbox.registry().opens);
}

void SysInfoTest::reportsWhenTheRegistryLeadsNowhere_data()
{
    QTest::addColumn<QString>("fileValue"); // location 1, a text unless empty
    QTest::addColumn<bool>("fileIsBinary"); // location 1 stored with another type
    QTest::addColumn<QString>("folderValue"); // location 2 unless empty
    QTest::addColumn<QString>("existing"); // what lies at MSINFO32.EXE or the named file
    QTest::addColumn<bool>("equivalentOnPath");

    QTest::newRow("neither location") << QString() << false << QString() << QString() << false;
    QTest::newRow("location 2 without the file")
        << QString() << false << QStringLiteral("C:\\Info") << QString() << false;
    QTest::newRow("location 2 holding a folder MSINFO32.EXE")
        << QString() << false << QStringLiteral("C:\\Info") << QStringLiteral("folder") << false;
    // Once location 1 answers, its file is the tool: no other is tried when it fails.
    QTest::newRow("location 1 naming a missing file")
        << QStringLiteral("C:\\Tools\\gone.exe") << false << QString() << QString() << true;
    QTest::newRow("location 1 naming a file that cannot start")
        << QStringLiteral("C:\\Tools\\broken") << false << QString() << QStringLiteral("broken") << true;
    QTest::newRow("location 1 of another type")
        << QStringLiteral("C:\\Tools\\msinfo") << true << QStringLiteral("C:\\Info") << QStringLiteral("stub") << true;
}

void SysInfoTest::reportsWhenTheRegistryLeadsNowhere()
{
    QFETCH(QString, fileValue);
    QFETCH(bool, fileIsBinary);
    QFETCH(QString, folderValue);
    QFETCH(QString, existing);
    QFETCH(bool, equivalentOnPath);

    const QString named = !fileValue.isEmpty() ? fileValue : folderValue + QStringLiteral("\\MSINFO32.EXE");
    if (!fileValue.isEmpty()) {
        m_sandbox.registry().setValue(Root::LocalMachine, toolFileKey, "PATH", fileIsBinary ? binaryType : textType,
                                      storedText(fileValue));
    }
    if (!folderValue.isEmpty())
        m_sandbox.registry().setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType, storedText(folderValue));
    if (existing == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(platform::nativePath(named)));
    else if (existing == QLatin1String("broken"))
        m_sandbox.writeStub(platform::nativePath(named), "/nonexistent/interpreter");
    else if (existing == QLatin1String("stub"))
        m_sandbox.writeStub(platform::nativePath(named));
    if (fileIsBinary)
        m_sandbox.writeStub(platform::nativePath(folderValue + QStringLiteral("\\MSINFO32.EXE")));
    if (equivalentOnPath)
        m_sandbox.putOnSearchPath(QStringLiteral("gnome-system-monitor"));

    verifyUnavailable(launch());
}

void SysInfoTest::startsAnEquivalentToolFromTheSearchPath_data()
{
    QTest::addColumn<bool>("folderWithoutTool");
    QTest::newRow("registry empty") << false;
    QTest::newRow("registry folder without the tool") << true;
}

void SysInfoTest::startsAnEquivalentToolFromTheSearchPath()
{
    QFETCH(bool, folderWithoutTool);
    if (folderWithoutTool) {
        m_sandbox.registry().setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType,
                                      storedText(QStringLiteral("C:\\Info")));
        QVERIFY(QDir().mkpath(platform::nativePath(QStringLiteral("C:\\Info"))));
    }
    // The list's order decides, and a file that cannot be run is passed over.
    QVERIFY(testsupport::writeBytes(m_sandbox.searchPath() + QStringLiteral("/hardinfo"), "#!/bin/sh\n"));
    m_sandbox.putOnSearchPath(QStringLiteral("gnome-system-monitor"));
    m_sandbox.putOnSearchPath(QStringLiteral("kinfocenter"));
    const QStringList tools = skinmaker::shell::equivalentSystemInfoTools();
    QVERIFY(tools.indexOf(QStringLiteral("hardinfo")) < tools.indexOf(QStringLiteral("kinfocenter")));
    QVERIFY(tools.indexOf(QStringLiteral("kinfocenter")) < tools.indexOf(QStringLiteral("gnome-system-monitor")));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(m_sandbox.startedPrograms(), QStringList{m_sandbox.searchPath() + QStringLiteral("/kinfocenter")});
}

void SysInfoTest::reportsWhenNoEquivalentToolStarts_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("empty search path") << QStringLiteral("empty");
    QTest::newRow("only a file that may not be run") << QStringLiteral("not executable");
    QTest::newRow("a tool that cannot start") << QStringLiteral("broken");
}

void SysInfoTest::reportsWhenNoEquivalentToolStarts()
{
    QFETCH(QString, situation);
    const QString tool = m_sandbox.searchPath() + QStringLiteral("/hardinfo");
    if (situation == QLatin1String("not executable"))
        QVERIFY(testsupport::writeBytes(tool, "#!/bin/sh\necho started >> /dev/null\n"));
    else if (situation == QLatin1String("broken"))
        m_sandbox.writeStub(tool, "/nonexistent/interpreter");

    verifyUnavailable(launch());
}

Launch SysInfoTest::launch()
{
    platform::NoticeRecorder notices;
    QElapsedTimer clock;
    clock.start();
    Launch result;
    result.started = skinmaker::shell::StartSysInfo();
    result.milliseconds = clock.elapsed();
    result.notices = notices.records();
    return result;
}

void SysInfoTest::verifyUnavailable(const Launch &result)
{
    QVERIFY(!result.started);
    QCOMPARE(result.notices.size(), 1);
    QCOMPARE(result.notices[0].text, unavailable);
    QCOMPARE(result.notices[0].title, QStringLiteral("提示"));
    QCOMPARE(result.notices[0].icon, QMessageBox::Information);
    QCOMPARE(result.notices[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Give anything wrongly started the time to note itself.
    QTest::qWait(300);
    QCOMPARE(m_sandbox.startedPrograms(), QStringList());
}

MORVANE_TEST_MAIN(SysInfoTest)
#include "tst_sysinfo.moc"
