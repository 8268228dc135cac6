// The about window: its layout and texts, the version line, how it is shown, hidden and
// destroyed, and its button that starts the system information tool (whose search
// tst_sysinfo tests).
#include "skinmaker/shell/aboutwindow.h"
#include "skinmaker/shell/program.h"
#include "skinmaker/shell/sysinfo.h"
#include "skinmaker/shell/versiontext.h"

#include "platform/core/winpath.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "sysinfosandbox.h"
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
using skinmaker::shell::AboutWindow;
using skinmaker::shell::MainWindow;

namespace {

const QString unavailable = QStringLiteral("此时系统信息不可用");

QImage cursorImage(const QCursor &cursor)
{
    return cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
}

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

private:
    testsupport::SystemInfoSandbox m_sandbox;
    std::unique_ptr<skinmaker::shell::Program> m_program;
};

void AboutTest::init()
{
    m_sandbox.setUp();
    m_program = std::make_unique<skinmaker::shell::Program>();
}

void AboutTest::cleanup()
{
    testsupport::destroyAllWindows();
    m_program.reset();
    m_sandbox.tearDown();
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
    MainWindow *main = m_program->window<MainWindow>().show();
    QVERIFY(!m_program->window<AboutWindow>().existing());
    QAction *about = main->findChild<QAction *>(QStringLiteral("about"));
    QVERIFY(about);
    QCOMPARE(about->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_A));
    TRIGGER(main, "about");

    AboutWindow *window = m_program->window<AboutWindow>().existing();
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
    AboutWindow *window = m_program->window<AboutWindow>().show();
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
    // Its left border lies just outside the window, rounded like any other position.
    QCOMPARE(picture->x(), -8);
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
    AboutWindow *window = m_program->window<AboutWindow>().show();
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
    MainWindow *main = m_program->window<MainWindow>().show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = m_program->window<AboutWindow>().existing();
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
    QCOMPARE(m_program->window<AboutWindow>().existing(), window.data());

    TRIGGER(main, "about");
    QCOMPARE(m_program->window<AboutWindow>().existing(), window.data());
    QVERIFY(window->isVisible());
    QCOMPARE(version->text(), QStringLiteral("mark"));
}

void AboutTest::frameCloseDestroysAndAboutCreatesAnew()
{
    MainWindow *main = m_program->window<MainWindow>().show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = m_program->window<AboutWindow>().existing();
    QVERIFY(window);
    window->findChild<QLabel *>(QStringLiteral("lblVersion"))->setText(QStringLiteral("mark"));

    QVERIFY(window->close());
    QTRY_VERIFY(window.isNull());
    QVERIFY(!m_program->window<AboutWindow>().existing());

    TRIGGER(main, "about");
    AboutWindow *fresh = m_program->window<AboutWindow>().existing();
    QVERIFY(fresh);
    QVERIFY(fresh->isVisible());
    FIND(QLabel, version, fresh, "lblVersion");
    QCOMPARE(version->text(), QStringLiteral("版本 3.1.4"));
}

void AboutTest::hiddenWindowDoesNotKeepTheProgramRunning()
{
    MainWindow *main = m_program->window<MainWindow>().show();
    TRIGGER(main, "about");
    QPointer<AboutWindow> window = m_program->window<AboutWindow>().existing();
    QVERIFY(window);

    // While the about window is open, closing the main window leaves the program running
    // until the about window's frame closes it.
    bool runningWithAbout = false;
    QTimer::singleShot(0, main, [main] { main->close(); });
    QTimer::singleShot(100, window, [&] {
        runningWithAbout = window->isVisible() && !main->isVisible();
        window->close();
    });
    QCOMPARE(testsupport::runEventLoop(), 0);
    QVERIFY(runningWithAbout);

    // Hidden by OK, it does not keep the program running.
    m_program->window<MainWindow>().show();
    TRIGGER(main, "about");
    window = m_program->window<AboutWindow>().existing();
    QVERIFY(window);
    QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    QVERIFY(window->isHidden());
    QTimer::singleShot(0, main, [main] { main->close(); });
    QCOMPARE(testsupport::runEventLoop(), 0);
}

void AboutTest::pictureClickShowsTheContactNotice()
{
    AboutWindow *window = m_program->window<AboutWindow>().show();
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
    AboutWindow *window = m_program->window<AboutWindow>().show();
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

    m_sandbox.putOnSearchPath(QStringLiteral("kinfocenter"));
    platform::NoticeRecorder notices;
    QTest::mouseClick(systemInfo, Qt::LeftButton);
    QCOMPARE(notices.texts(), QStringList());
    QTRY_COMPARE(m_sandbox.startedPrograms(), QStringList{m_sandbox.searchPath() + QStringLiteral("/kinfocenter")});
}

MORVANE_TEST_MAIN(AboutTest)
#include "tst_about.moc"
