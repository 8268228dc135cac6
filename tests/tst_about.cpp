// The about window: its layout and texts, the version line, how it is shown, hidden and
// destroyed, and the system information launcher behind its button.
#include "skinmaker/shell/aboutwindow.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/shell/sysinfo.h"
#include "skinmaker/shell/versiontext.h"

#include "platform/look.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"
#include "platform/core/winpath.h"

#include "fakeregistry.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using platform::NoticeRecord;
using platform::look::twipsRect;
using platform::registry::Root;
using skinmaker::shell::AboutWindow;
using skinmaker::shell::MainWindow;
using testsupport::FakeRegistry;

namespace {

using About = platform::SingleWindow<AboutWindow>;
using Main = platform::SingleWindow<MainWindow>;

const QString unavailable = QStringLiteral("此时系统信息不可用");
const QByteArray toolFileKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QByteArray toolFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr std::uint32_t textType = 1;
constexpr std::uint32_t binaryType = 3;

QImage cursorImage(const QCursor &cursor)
{
    return cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

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

class AboutTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void versionTextShowsMajorMinorRevision();
    void aboutShowsTheWindowWithItsVersion();
    void windowHasTheDesignedLayoutAndTexts();
    void separatorIsEtched();
    void okHidesAndAboutShowsTheSameWindowAgain();
    void frameCloseDestroysAndAboutCreatesAnew();
    void hiddenWindowDoesNotKeepTheProgramRunning();
    void pictureClickShowsTheContactNotice();
    void systemInfoButtonRunsTheLauncher();

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
    // A program that notes the name it was started by in the log, then lingers as a
    // real tool would. A missing interpreter makes a program that cannot start.
    void writeStub(const QString &nativePath, const QByteArray &interpreter = "/bin/sh");
    void putOnSearchPath(const QString &toolName);
    QStringList startedPrograms() const;
    Launch launch();
    int runEventLoop();
    void verifyUnavailable(const Launch &result);

    QTemporaryDir m_folder;
    QString m_searchPath;  // the only folder on PATH while a test runs
    QString m_log;
    QByteArray m_savedPath;
    QByteArray m_savedWinePrefix;
    FakeRegistry *m_registry = nullptr;
    platform::registry::BackendOverride *m_useRegistry = nullptr;
};

void AboutTest::init()
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
    m_registry = new FakeRegistry;
    m_useRegistry = new platform::registry::BackendOverride(*m_registry);
}

void AboutTest::cleanup()
{
    testsupport::destroyAllWindows();
    delete m_useRegistry;
    m_useRegistry = nullptr;
    qputenv("PATH", m_savedPath);
    qputenv("WINEPREFIX", m_savedWinePrefix);
    const int stillOpen = m_registry->stillOpen();
    const int misuses = m_registry->misuses;
    delete m_registry;
    m_registry = nullptr;
    QCOMPARE(stillOpen, 0);
    QCOMPARE(misuses, 0);
}

void AboutTest::writeStub(const QString &nativePath, const QByteArray &interpreter)
{
    QVERIFY(QDir().mkpath(QFileInfo(nativePath).path()));
    const QByteArray script =
        "#!" + interpreter + "\necho \"$0\" >> '" + QFile::encodeName(m_log) + "'\n/bin/sleep 2\n";
    QVERIFY(testsupport::writeBytes(nativePath, script));
    QVERIFY(QFile::setPermissions(nativePath, QFile::permissions(nativePath) | QFileDevice::ExeOwner
                                                  | QFileDevice::ExeGroup | QFileDevice::ExeOther));
}

void AboutTest::putOnSearchPath(const QString &toolName)
{
    writeStub(m_searchPath + u'/' + toolName);
}

QStringList AboutTest::startedPrograms() const
{
    QFile log(m_log);
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

Launch AboutTest::launch()
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

void AboutTest::verifyUnavailable(const Launch &result)
{
    QVERIFY(!result.started);
    QCOMPARE(result.notices.size(), 1);
    QCOMPARE(result.notices[0].text, unavailable);
    QCOMPARE(result.notices[0].title, QStringLiteral("提示"));
    QCOMPARE(result.notices[0].icon, QMessageBox::Information);
    QCOMPARE(result.notices[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    // Give anything wrongly started the time to note itself.
    QTest::qWait(300);
    QCOMPARE(startedPrograms(), QStringList());
}

int AboutTest::runEventLoop()
{
    // The program's event loop ends when its last visible window closes; a loop that
    // does not end stops with 99 instead.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(5000);
    return QApplication::exec();
}

void AboutTest::versionTextShowsMajorMinorRevision()
{
    using skinmaker::shell::versionText;
    QCOMPARE(versionText({3, 1, 0, 4}), QStringLiteral("版本 3.1.4"));
    QCOMPARE(versionText({10, 0, 7, 25}), QStringLiteral("版本 10.0.25"));
    QCOMPARE(versionText({0, 0, 0, 0}), QStringLiteral("版本 0.0.0"));

    // The build's version record: file version 3.1.0.4.
    const skinmaker::shell::ProgramVersion version = skinmaker::shell::programVersion();
    QCOMPARE(version.majorNumber, 3);
    QCOMPARE(version.minorNumber, 1);
    QCOMPARE(version.build, 0);
    QCOMPARE(version.revision, 4);
    QCOMPARE(skinmaker::shell::programVersionText(), QStringLiteral("版本 3.1.4"));
}

void AboutTest::aboutShowsTheWindowWithItsVersion()
{
    MainWindow *main = Main::show();
    QVERIFY(!About::existing());
    QAction *about = main->findChild<QAction *>(QStringLiteral("about"));
    QVERIFY(about);
    QCOMPARE(about->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    TRIGGER(main, "about");

    AboutWindow *window = About::existing();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("frmAbout"));
    QCOMPARE(window->windowTitle(), QStringLiteral("关于 Morvane"));
    // Modeless and without owner: the main window stays usable.
    QVERIFY(!window->isModal());
    QVERIFY(!window->parentWidget());
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(main->isEnabled());

    FIND(QLabel, version, window, "lblVersion");
    QCOMPARE(version->text(), QStringLiteral("版本 3.1.4"));
}

void AboutTest::windowHasTheDesignedLayoutAndTexts()
{
    AboutWindow *window = About::show();
    QCOMPARE(window->size(), QSize(378, 566));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(!window->windowIcon().isNull());

    struct Expected {
        const char *name;
        QString text;
        QRect geometry;
    };
    const QList<Expected> labels{
        {"lblTitle", QStringLiteral("Morvane"), twipsRect(360, 5760, 3885, 240)},
        {"lblVersion", QStringLiteral("版本 3.1.4"), twipsRect(2040, 5760, 3885, 225)},
        {"Label3", QStringLiteral("运行平台:Windows 9x\\2000\\XP\\2003"), twipsRect(360, 6360, 3975, 255)},
        {"lblDescription", QStringLiteral("简介:一个制作QQ皮肤的东东!"), twipsRect(360, 6720, 3885, 450)},
        {"Label4", QStringLiteral("作者的样子真是有够土的哦~！"), twipsRect(1560, 7440, 2655, 375)},
    };
    for (const Expected &expected : labels) {
        auto *label = window->findChild<QLabel *>(QLatin1String(expected.name));
        QVERIFY2(label, expected.name);
        QCOMPARE(label->text(), expected.text);
        QCOMPARE(label->geometry(), expected.geometry);
    }
    // Credit and development platform: our own wording, in their places, beside each other.
    FIND(QLabel, credit, window, "Label1");
    FIND(QLabel, platformLine, window, "Label2");
    QCOMPARE(credit->geometry(), twipsRect(360, 6000, 3975, 255));
    QCOMPARE(platformLine->geometry(), twipsRect(1680, 6000, 3975, 255));
    QVERIFY(!credit->text().isEmpty());
    QVERIFY(!platformLine->text().isEmpty());
    // The credit must end before the platform line starts, or the two would overprint.
    QVERIFY(credit->x() + credit->fontMetrics().horizontalAdvance(credit->text()) < platformLine->x());

    FIND(QLabel, picture, window, "picIcon");
    QCOMPARE(picture->geometry(), twipsRect(-120, 0, 5820, 5535));
    QCOMPARE(picture->pixmap().size(), QSize(384, 365));
    QCOMPARE(picture->contentsRect().size(), QSize(384, 365));

    FIND(QPushButton, ok, window, "Command1");
    FIND(QPushButton, systemInfo, window, "cmdSysInfo");
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QCOMPARE(ok->geometry(), twipsRect(840, 7800, 1485, 585));
    QCOMPARE(systemInfo->text(), QStringLiteral("系统信息(&S)..."));
    QCOMPARE(systemInfo->geometry(), twipsRect(3120, 7800, 1485, 585));

    // Pointers: a hand over the buttons, the penguin over the window and its labels.
    const QImage hand = cursorImage(platform::look::pointingHand());
    QCOMPARE(cursorImage(ok->cursor()), hand);
    QCOMPARE(cursorImage(systemInfo->cursor()), hand);
    const QImage penguin = QImage(QStringLiteral(":/platform/penguin-16.png")).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(cursorImage(window->cursor()), penguin);
    QCOMPARE(cursorImage(picture->cursor()), penguin);
    QCOMPARE(cursorImage(credit->cursor()), penguin);
}

void AboutTest::separatorIsEtched()
{
    AboutWindow *window = About::show();
    const QImage image = window->grab().toImage();
    const int top = platform::look::twips(7320);
    for (int x : {0, window->width() / 2, window->width() - 1}) {
        QCOMPARE(image.pixelColor(x, top - 1), platform::look::windowBackground());
        QCOMPARE(image.pixelColor(x, top), QColor(128, 128, 128));
        QCOMPARE(image.pixelColor(x, top + 1), QColor(Qt::white));
        QCOMPARE(image.pixelColor(x, top + 2), platform::look::windowBackground());
    }
}

void AboutTest::okHidesAndAboutShowsTheSameWindowAgain()
{
    MainWindow *main = Main::show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = About::existing();
    QVERIFY(window);
    FIND(QLabel, version, window, "lblVersion");
    FIND(QPushButton, ok, window, "Command1");
    // A mark the load would overwrite, were it run again.
    version->setText(QStringLiteral("mark"));

    QTest::mouseClick(ok, Qt::LeftButton);
    // A window that was closed rather than hidden would be gone once pending deletions run.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(window);
    QVERIFY(!window->isVisible());
    QCOMPARE(About::existing(), window.data());

    TRIGGER(main, "about");
    QCOMPARE(About::existing(), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(version->text(), QStringLiteral("mark"));
}

void AboutTest::frameCloseDestroysAndAboutCreatesAnew()
{
    MainWindow *main = Main::show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = About::existing();
    QVERIFY(window);
    window->findChild<QLabel *>(QStringLiteral("lblVersion"))->setText(QStringLiteral("mark"));

    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());
    QVERIFY(!About::existing());

    TRIGGER(main, "about");
    AboutWindow *fresh = About::existing();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    FIND(QLabel, version, fresh, "lblVersion");
    QCOMPARE(version->text(), QStringLiteral("版本 3.1.4"));
}

void AboutTest::hiddenWindowDoesNotKeepTheProgramRunning()
{
    MainWindow *main = Main::show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = About::existing();
    QVERIFY(window);

    // While the about window is open, closing the main window leaves the program running
    // until the about window's frame closes it.
    bool runningWithAbout = false;
    QTimer::singleShot(0, main, [main] { main->close(); });
    QTimer::singleShot(100, window, [&] {
        runningWithAbout = window->isVisible() && !main->isVisible();
        window->close();
    });
    QCOMPARE(runEventLoop(), 0);
    QVERIFY(runningWithAbout);

    // Hidden by OK, it does not keep the program running.
    Main::show();
    TRIGGER(main, "about");
    window = About::existing();
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(window->isHidden());
    QTimer::singleShot(0, main, [main] { main->close(); });
    QCOMPARE(runEventLoop(), 0);
}

void AboutTest::pictureClickShowsTheContactNotice()
{
    AboutWindow *window = About::show();
    FIND(QLabel, picture, window, "picIcon");
    platform::NoticeRecorder notices;

    QTest::mouseClick(picture, Qt::RightButton);
    QCOMPARE(notices.records().size(), 0);

    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(190, 180));
    QCOMPARE(notices.records().size(), 1);
    const NoticeRecord &record = notices.records().first();
    QCOMPARE(record.text, AboutWindow::contactText());
    QVERIFY(record.text.contains(QStringLiteral("@example.com")));
    QVERIFY(!record.text.contains(u'\n'));
    QCOMPARE(record.title, QStringLiteral("提示"));
    QCOMPARE(record.icon, QMessageBox::Information);
    QCOMPARE(record.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(window->isVisible());
}

void AboutTest::systemInfoButtonRunsTheLauncher()
{
    AboutWindow *window = About::show();
    FIND(QPushButton, systemInfo, window, "cmdSysInfo");
    {
        // Nothing in the registry and nothing on the search path.
        platform::NoticeRecorder notices;
        QTest::mouseClick(systemInfo, Qt::LeftButton);
        QCOMPARE(notices.texts(), QStringList{unavailable});
        QVERIFY(window->isVisible());

        // Alt+S presses the same button.
        notices.clear();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window->windowHandle(), Qt::Key_S, Qt::AltModifier);
        // A shortcut presses the button visibly, so the click comes a moment later.
        QTRY_COMPARE(notices.texts(), QStringList{unavailable});
    }

    putOnSearchPath(QStringLiteral("kinfocenter"));
    platform::NoticeRecorder notices;
    QTest::mouseClick(systemInfo, Qt::LeftButton);
    QCOMPARE(notices.texts(), QStringList());
    QTRY_COMPARE(startedPrograms(), QStringList{m_searchPath + QStringLiteral("/kinfocenter")});
}

void AboutTest::startsTheToolNamedByTheRegistry_data()
{
    QTest::addColumn<bool>("folderToo");
    QTest::newRow("location 2 absent") << false;
    QTest::newRow("location 2 present as well") << true;
}

void AboutTest::startsTheToolNamedByTheRegistry()
{
    QFETCH(bool, folderToo);
    // The registry names a Windows path; ANSI text with Chinese in it.
    const QString tool = QStringLiteral("C:\\Program Files\\系统工具\\msinfo");
    m_registry->setValue(Root::LocalMachine, toolFileKey, "PATH", textType, storedText(tool));
    writeStub(platform::nativePath(tool));
    if (folderToo) {
        m_registry->setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType,
                             storedText(QStringLiteral("C:\\Info")));
        writeStub(platform::nativePath(QStringLiteral("C:\\Info\\MSINFO32.EXE")));
    }
    putOnSearchPath(QStringLiteral("hardinfo"));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    // The tool lingers for two seconds; the launcher does not wait for it.
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(startedPrograms(), QStringList{platform::nativePath(tool)});
    // The folder's location was never asked for.
    QCOMPARE(m_registry->opens, 1);
}

void AboutTest::startsTheToolInTheRegistryFolder_data()
{
    QTest::addColumn<bool>("fileKeyExists");
    QTest::newRow("no key for the file") << false;
    QTest::newRow("file key without the value") << true;
}

void AboutTest::startsTheToolInTheRegistryFolder()
{
    QFETCH(bool, fileKeyExists);
    if (fileKeyExists)
        m_registry->setValue(Root::LocalMachine, toolFileKey, "OTHER", textType, storedText(QStringLiteral("x")));
    const QString folder = QStringLiteral("C:\\Program Files\\Common Files\\Shared\\MSInfo");
    m_registry->setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType, storedText(folder));
    const QString tool = platform::nativePath(folder + QStringLiteral("\\MSINFO32.EXE"));
    writeStub(tool);
    putOnSearchPath(QStringLiteral("hardinfo"));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(startedPrograms(), QStringList{tool});
    QCOMPARE(m_registry->opens, fileKeyExists ? 2 : 1);
    QCOMPARE(m_registry->closes, m_registry->opens);
}

void AboutTest::reportsWhenTheRegistryLeadsNowhere_data()
{
    QTest::addColumn<QString>("fileValue");  // location 1, a text unless empty
    QTest::addColumn<bool>("fileIsBinary");  // location 1 stored with another type
    QTest::addColumn<QString>("folderValue");  // location 2 unless empty
    QTest::addColumn<QString>("existing");  // what lies at MSINFO32.EXE or the named file
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

void AboutTest::reportsWhenTheRegistryLeadsNowhere()
{
    QFETCH(QString, fileValue);
    QFETCH(bool, fileIsBinary);
    QFETCH(QString, folderValue);
    QFETCH(QString, existing);
    QFETCH(bool, equivalentOnPath);

    const QString named = !fileValue.isEmpty() ? fileValue : folderValue + QStringLiteral("\\MSINFO32.EXE");
    if (!fileValue.isEmpty()) {
        m_registry->setValue(Root::LocalMachine, toolFileKey, "PATH", fileIsBinary ? binaryType : textType,
                             storedText(fileValue));
    }
    if (!folderValue.isEmpty())
        m_registry->setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType, storedText(folderValue));
    if (existing == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(platform::nativePath(named)));
    else if (existing == QLatin1String("broken"))
        writeStub(platform::nativePath(named), "/nonexistent/interpreter");
    else if (existing == QLatin1String("stub"))
        writeStub(platform::nativePath(named));
    if (fileIsBinary)
        writeStub(platform::nativePath(folderValue + QStringLiteral("\\MSINFO32.EXE")));
    if (equivalentOnPath)
        putOnSearchPath(QStringLiteral("gnome-system-monitor"));

    verifyUnavailable(launch());
}

void AboutTest::startsAnEquivalentToolFromTheSearchPath_data()
{
    QTest::addColumn<bool>("folderWithoutTool");
    QTest::newRow("registry empty") << false;
    QTest::newRow("registry folder without the tool") << true;
}

void AboutTest::startsAnEquivalentToolFromTheSearchPath()
{
    QFETCH(bool, folderWithoutTool);
    if (folderWithoutTool) {
        m_registry->setValue(Root::LocalMachine, toolFolderKey, "MSINFO", textType,
                             storedText(QStringLiteral("C:\\Info")));
        QVERIFY(QDir().mkpath(platform::nativePath(QStringLiteral("C:\\Info"))));
    }
    // The list's order decides, and a file that cannot be run is passed over.
    QVERIFY(testsupport::writeBytes(m_searchPath + QStringLiteral("/hardinfo"), "#!/bin/sh\n"));
    putOnSearchPath(QStringLiteral("gnome-system-monitor"));
    putOnSearchPath(QStringLiteral("kinfocenter"));
    const QStringList tools = skinmaker::shell::equivalentSystemInfoTools();
    QVERIFY(tools.indexOf(QStringLiteral("hardinfo")) < tools.indexOf(QStringLiteral("kinfocenter")));
    QVERIFY(tools.indexOf(QStringLiteral("kinfocenter")) < tools.indexOf(QStringLiteral("gnome-system-monitor")));

    const Launch result = launch();
    QVERIFY(result.started);
    QCOMPARE(result.notices.size(), 0);
    QVERIFY2(result.milliseconds < 1500, qPrintable(QString::number(result.milliseconds)));
    QTRY_COMPARE(startedPrograms(), QStringList{m_searchPath + QStringLiteral("/kinfocenter")});
}

void AboutTest::reportsWhenNoEquivalentToolStarts_data()
{
    QTest::addColumn<QString>("situation");
    QTest::newRow("empty search path") << QStringLiteral("empty");
    QTest::newRow("only a file that may not be run") << QStringLiteral("not executable");
    QTest::newRow("a tool that cannot start") << QStringLiteral("broken");
}

void AboutTest::reportsWhenNoEquivalentToolStarts()
{
    QFETCH(QString, situation);
    const QString tool = m_searchPath + QStringLiteral("/hardinfo");
    if (situation == QLatin1String("not executable"))
        QVERIFY(testsupport::writeBytes(tool, "#!/bin/sh\necho started >> /dev/null\n"));
    else if (situation == QLatin1String("broken"))
        writeStub(tool, "/nonexistent/interpreter");

    verifyUnavailable(launch());
}

MORVANE_TEST_MAIN(AboutTest)
#include "tst_about.moc"
