// Starting the companion programs from the main window's menu: where they are looked for,
// how they are started, and what a missing one does.
#include "skinmaker/shell/mainwindow.h"

#include "platform/widgets/launcher.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

using skinmaker::shell::MainWindow;

namespace {

const QString helpFile = QStringLiteral("帮助.exe");
const QString setterFile = QStringLiteral("Morvane背景音乐添加程序.exe");

// A stand-in companion: records what it was given in `<record>`, then lingers a moment and
// leaves `<record>.done`, so a caller that waited for it would be caught.
bool writeStub(const QString &path, const QString &record)
{
    const QByteArray script =
        "#!/bin/sh\n"
        "PATH=/usr/bin:/bin\n"
        "{ echo \"minimized=$MORVANE_START_MINIMIZED\"; echo \"arguments=$#\"; echo \"folder=$(pwd)\"; } > '"
        + QFile::encodeName(record)
        + ".part'\n"
          "mv '"
        + QFile::encodeName(record) + ".part' '" + QFile::encodeName(record)
        + "'\n"
          "sleep 2\n"
          "touch '"
        + QFile::encodeName(record) + ".done'\n";
    if (!testsupport::writeBytes(path, script))
        return false;
    return QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

QStringList recordOf(const QString &record)
{
    return QString::fromUtf8(testsupport::readBytes(record)).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class LauncherTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menuStartsTheCompanionBesideTheProgram_data();
    void menuStartsTheCompanionBesideTheProgram();
    void ownFolderComesBeforeTheProgramSearch();
    void onlyBareNamesOfRunnableFilesAreFound();
    void missingCompanionGivesANoticeAndNoHarm_data();
    void missingCompanionGivesANoticeAndNoHarm();
    void companionThatCannotStartGivesANotice();

private:
    MainWindow *form1() const { return testsupport::existingWindow<MainWindow>(); }
    QString ownFolder() const { return m_ownFolder->path(); }
    QString searchFolder() const { return m_searchFolder->path(); }
    QString record(const QString &name) const { return m_records->path() + u'/' + name; }

    std::unique_ptr<QTemporaryDir> m_ownFolder;
    std::unique_ptr<QTemporaryDir> m_searchFolder;
    std::unique_ptr<QTemporaryDir> m_records;
    std::unique_ptr<platform::CompanionFolders> m_companionFolders;
    std::unique_ptr<platform::NoticeRecorder> m_notices;
    QByteArray m_savedPath;
};

void LauncherTest::init()
{
    m_ownFolder = std::make_unique<QTemporaryDir>();
    m_searchFolder = std::make_unique<QTemporaryDir>();
    m_records = std::make_unique<QTemporaryDir>();
    // The main program's folder and the ordinary search both point at folders we control.
    m_companionFolders = std::make_unique<platform::CompanionFolders>(QStringList{ownFolder()});
    m_savedPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(searchFolder()));
    m_notices = std::make_unique<platform::NoticeRecorder>();
    testsupport::startSkinmaker();
    QVERIFY(form1());
    m_notices->clear();
}

void LauncherTest::cleanup()
{
    testsupport::destroyAllWindows();
    m_notices.reset();
    qputenv("PATH", m_savedPath);
    m_companionFolders.reset();
    m_records.reset();
    m_searchFolder.reset();
    m_ownFolder.reset();
}

void LauncherTest::menuStartsTheCompanionBesideTheProgram_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("installedAs");
    // Where programs carry no ".exe", the companion is installed without it.
    QTest::newRow("help, plain name") << "hhh" << helpFile << QStringLiteral("帮助");
    QTest::newRow("help, with .exe") << "hhh" << helpFile << helpFile;
    QTest::newRow("music setter") << "music2" << setterFile << QStringLiteral("Morvane背景音乐添加程序");
}

void LauncherTest::menuStartsTheCompanionBesideTheProgram()
{
    QFETCH(QString, action);
    QFETCH(QString, fileName);
    QFETCH(QString, installedAs);
    const QString ran = record(QStringLiteral("ran"));
    QVERIFY(writeStub(ownFolder() + u'/' + installedAs, ran));
    const QString textBefore = form1()->findChild<QLineEdit *>(QStringLiteral("Text7"))->text();

    QElapsedTimer clock;
    clock.start();
    TRIGGER(form1(), action);
    // The menu returns at once: the companion is still running when we get control back.
    QVERIFY(!QFile::exists(ran + QStringLiteral(".done")));
    QVERIFY(clock.elapsed() < 1500);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(ran), 10000);
    QCOMPARE(recordOf(ran),
             (QStringList{QStringLiteral("minimized=1"), QStringLiteral("arguments=0"),
                          QStringLiteral("folder=") + QDir::currentPath()}));
    QVERIFY2(m_notices->records().isEmpty(), qPrintable(m_notices->texts().join(u'\n')));
    // The request was for the companion only; our own environment is unchanged.
    QVERIFY(!qEnvironmentVariableIsSet("MORVANE_START_MINIMIZED"));
    QVERIFY(form1()->isVisible());
    QCOMPARE(form1()->findChild<QLineEdit *>(QStringLiteral("Text7"))->text(), textBefore);
}

void LauncherTest::ownFolderComesBeforeTheProgramSearch()
{
    const QString besideUs = record(QStringLiteral("beside"));
    const QString onPath = record(QStringLiteral("path"));
    QVERIFY(writeStub(ownFolder() + QStringLiteral("/帮助"), besideUs));
    QVERIFY(writeStub(searchFolder() + QStringLiteral("/帮助.exe"), onPath));

    TRIGGER(form1(), "hhh");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(besideUs), 10000);
    // One started from the search path alongside would have noted itself long before the one
    // beside us has lingered and finished, however busy the machine.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(besideUs + QStringLiteral(".done")), 10000);
    QVERIFY(!QFile::exists(onPath));

    // Not beside us: the ordinary program search finds it.
    QVERIFY(QFile::remove(ownFolder() + QStringLiteral("/帮助")));
    TRIGGER(form1(), "hhh");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(onPath), 10000);
    QVERIFY(m_notices->records().isEmpty());
}

void LauncherTest::onlyBareNamesOfRunnableFilesAreFound()
{
    const QString stub = ownFolder() + QStringLiteral("/帮助");
    QVERIFY(writeStub(stub, record(QStringLiteral("unused"))));
    QCOMPARE(platform::findCompanion(helpFile), QFileInfo(stub).absoluteFilePath());
    QCOMPARE(platform::findCompanion(QStringLiteral("帮助")), QFileInfo(stub).absoluteFilePath());

    // A path is not a bare name, even when it leads to a program.
    QVERIFY(platform::findCompanion(QStringLiteral("../") + QFileInfo(ownFolder()).fileName() + QStringLiteral("/帮助"))
                .isEmpty());
    QVERIFY(platform::findCompanion(ownFolder() + QStringLiteral("/帮助")).isEmpty());
    QVERIFY(platform::findCompanion(QString()).isEmpty());

    // A file that cannot run and a folder of the same name are no program.
    QVERIFY(QFile::remove(stub));
    QVERIFY(testsupport::writeBytes(stub, "#!/bin/sh\n"));
    QVERIFY(platform::findCompanion(helpFile).isEmpty());
    QVERIFY(QFile::remove(stub));
    QVERIFY(QDir(ownFolder()).mkdir(helpFile));
    QVERIFY(platform::findCompanion(helpFile).isEmpty());
}

void LauncherTest::missingCompanionGivesANoticeAndNoHarm_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("help") << "hhh" << helpFile;
    QTest::newRow("music setter") << "music2" << setterFile;
}

void LauncherTest::missingCompanionGivesANoticeAndNoHarm()
{
    QFETCH(QString, action);
    QFETCH(QString, fileName);
    const int windowsBefore = QApplication::topLevelWidgets().size();

    TRIGGER(form1(), action);
    QCOMPARE(m_notices->records().size(), 1);
    const platform::NoticeRecord shown = m_notices->records().first();
    QCOMPARE(shown.title, QStringLiteral("提示"));
    QCOMPARE(shown.text, QStringLiteral("找不到程序\"%1\",请把它和本程序放在同一个文件夹中!").arg(fileName));
    QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    // The main window goes on as before, and the item can be used again.
    QVERIFY(form1()->isVisible());
    QCOMPARE(QApplication::topLevelWidgets().size(), windowsBefore);
    TRIGGER(form1(), action);
    QCOMPARE(m_notices->records().size(), 2);
}

void LauncherTest::companionThatCannotStartGivesANotice()
{
    // Marked runnable, but no system can run it.
    const QString broken = ownFolder() + QStringLiteral("/Morvane背景音乐添加程序");
    QVERIFY(testsupport::writeBytes(broken,
                                    QByteArray("\x7f"
                                               "ELF broken",
                                               10)));
    QVERIFY(QFile::setPermissions(broken, QFile::permissions(broken) | QFileDevice::ExeOwner));

    TRIGGER(form1(), "music2");
    QCOMPARE(m_notices->texts().size(), 1);
    const QString shown = m_notices->texts().first();
    QVERIFY2(
        shown.startsWith(QStringLiteral("无法启动程序\"%1\"!\n").arg(setterFile) + broken + QStringLiteral("\n原因:")),
        qPrintable(shown));
    QVERIFY(form1()->isVisible());
}

MORVANE_TEST_MAIN(LauncherTest)
#include "tst_launcher.moc"
