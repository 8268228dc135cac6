// What a person sees, types and hears on a real desktop: the three programs from the output
// folder on an X server and window manager of the test's own (see DesktopSession), read by
// their stacking, the active window, geometry and the sound they play. Every wait is for what
// a person would see or hear next, never for a fixed time.
#include "desktopsession.h"
#include "uitest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>

#include <algorithm>
#include <csignal>

using testsupport::DesktopSession;

namespace {

// The longest a step may take on a loaded machine.
constexpr int patience = 30000;
// The splash counts to 100 in ticks of at least 20 milliseconds: gone sooner after the program
// started, something else closed it.
constexpr qint64 splashCount = 2000;

const QString mainTitle = QStringLiteral("Morvane V3.2");
const QString tipTitle = QStringLiteral("Morvane");
const QString splashTitle; // it has no title bar
const QString setterTitle = QStringLiteral("Morvane背景音乐添加程序");

// What the main program played, 16-bit stereo in real time (SDL's disk audio driver).
QString heardFile()
{
    return QDir::current().filePath(QStringLiteral("heard.raw"));
}

// Whether the newest half second played is silent, or audible; neither until that much was
// played. The tune played here has no silent moment that long.
bool lastHalfSecondIs(bool silent)
{
    constexpr qint64 halfSecond = 44100 * 4 / 2;
    QFile heard(heardFile());
    if (!heard.open(QIODevice::ReadOnly) || heard.size() < halfSecond || !heard.seek(heard.size() - halfSecond))
        return false;
    return (heard.read(halfSecond).count('\0') == halfSecond) == silent;
}

QSettings store()
{
    return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
}

const QString tipsAtStartKey = QStringLiteral("Options/在启动时显示提示");

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void splashLiesOnTopUntilAKeyOrAClickClosesIt_data();
    void splashLiesOnTopUntilAKeyOrAClickClosesIt();
    void enterPressesTheFocusedButton();
    void menuShortcutsWorkFromATextBox_data();
    void menuShortcutsWorkFromATextBox();
    void noticeLiesAboveItsWindowAndIsModal();
    void companionsComeUpWhereAPersonSeesThem_data();
    void companionsComeUpWhereAPersonSeesThem();

private:
    QProcess *start(const QString &program);
    // Starts the main program, waits until its splash lies on top and is active, and tells
    // whether the splash did so; with closeSplash, it then waits until the splash has gone.
    bool startMorvane(bool tipsAtStart, bool closeSplash);
    bool splashLeads() const;

    DesktopSession m_desktop;
    std::vector<std::unique_ptr<QProcess>> m_started;
    QElapsedTimer m_sinceStart;
};

void DesktopTest::initTestCase()
{
    if (const QString problem = m_desktop.start(); !problem.isEmpty())
        QSKIP(qPrintable(problem));
    // The built-in tunes, as the programs find them beside the setting file.
    QVERIFY(QFile::link(qEnvironmentVariable("MORVANE_BIN_DIR") + QStringLiteral("/music"), QStringLiteral("music")));
}

void DesktopTest::cleanup()
{
    // Companions started from the menu are not our children: end them by their windows.
    for (const quint32 window : m_desktop.stacking()) {
        if (const qint64 process = m_desktop.processOf(window); process > 0)
            ::kill(pid_t(process), SIGKILL);
    }
    for (const auto &program : m_started)
        program->waitForFinished(patience);
    m_started.clear();
    QTRY_VERIFY_WITH_TIMEOUT(m_desktop.stacking().isEmpty(), patience);
    QFile::remove(heardFile());
}

QProcess *DesktopTest::start(const QString &program)
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment environment = m_desktop.environment();
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    environment.insert(QStringLiteral("SDL_DISKAUDIOFILE"), heardFile());
    process->setProcessEnvironment(environment);
    process->setStandardErrorFile(QProcess::nullDevice());
    m_sinceStart.start();
    process->start(qEnvironmentVariable("MORVANE_BIN_DIR") + u'/' + program, QStringList());
    m_started.push_back(std::move(process));
    return m_started.back().get();
}

bool DesktopTest::splashLeads() const
{
    const QList<quint32> stack = m_desktop.stacking();
    const quint32 splash = m_desktop.window(splashTitle);
    return splash && m_desktop.window(mainTitle) && stack.last() == splash && m_desktop.activeWindow() == splash;
}

bool DesktopTest::startMorvane(bool tipsAtStart, bool closeSplash)
{
    store().setValue(tipsAtStartKey, QString::number(int(tipsAtStart)));
    m_desktop.takeActivationRequests();
    start(QStringLiteral("Morvane"));
    // The windows shown after the splash each ask for the focus as they come up. Once the
    // window manager has handled that, the splash must lie on top, active, until it closes.
    QList<quint32> asked;
    const QStringList shownAfter = tipsAtStart ? QStringList{mainTitle, tipTitle} : QStringList{mainTitle};
    const bool cameUp = QTest::qWaitFor(
        [&] {
            asked << m_desktop.takeActivationRequests();
            return std::all_of(shownAfter.begin(), shownAfter.end(),
                               [&](const QString &title) { return asked.contains(m_desktop.window(title)); });
        },
        patience);
    const bool leads = cameUp && m_desktop.windowManagerCaughtUp()
        && QTest::qWaitFor([&] { return splashLeads() || !m_desktop.window(splashTitle); }, patience) && splashLeads();
    // Closed by a key where it can take one, else by the end of its count.
    if (closeSplash && leads)
        m_desktop.press(QStringLiteral("Escape"));
    if (closeSplash && !QTest::qWaitFor([&] { return !m_desktop.window(splashTitle); }, patience))
        qWarning("the splash did not close");
    return leads;
}

void DesktopTest::splashLiesOnTopUntilAKeyOrAClickClosesIt_data()
{
    QTest::addColumn<QString>("key"); // or none: a click on the free area of its frame
    QTest::newRow("a key") << QStringLiteral("a");
    QTest::newRow("a click on its frame") << QString();
}

void DesktopTest::splashLiesOnTopUntilAKeyOrAClickClosesIt()
{
    QFETCH(QString, key);
    QVERIFY2(startMorvane(true, false), "the splash never lay on top of the program's windows, active");
    QVERIFY(m_desktop.window(tipTitle));
    if (m_sinceStart.elapsed() > splashCount / 2)
        QSKIP("the machine is too slow to tell a close by the user from the end of the count");

    if (key.isEmpty()) // below the logo, left of the labels
        m_desktop.click(m_desktop.geometry(m_desktop.window(splashTitle)).topLeft() + QPoint(24, 244));
    else
        m_desktop.press(key);
    QTRY_VERIFY_WITH_TIMEOUT(!m_desktop.window(splashTitle), patience);
    QVERIFY2(m_sinceStart.elapsed() < splashCount, "the splash closed at the end of its count, not at once");

    // The tip of the day lies above the main window and takes the keys again.
    const quint32 tip = m_desktop.window(tipTitle);
    QVERIFY(m_desktop.stacking().indexOf(tip) > m_desktop.stacking().indexOf(m_desktop.window(mainTitle)));
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), tip, patience);
}

void DesktopTest::enterPressesTheFocusedButton()
{
    startMorvane(true, true);
    const quint32 tip = m_desktop.window(tipTitle);
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), tip, patience);
    // Tab takes the focus from 确定 to 下一条提示(N); Enter presses that and the window stays,
    // so the box's key S then reaches the box, which writes the setting at once.
    m_desktop.press(QStringLiteral("Tab"));
    m_desktop.press(QStringLiteral("Return"));
    m_desktop.press(QStringLiteral("alt+s"));
    QTRY_COMPARE_WITH_TIMEOUT(store().value(tipsAtStartKey).toString(), QStringLiteral("0"), patience);
    QCOMPARE(m_desktop.window(tipTitle), tip);
}

void DesktopTest::menuShortcutsWorkFromATextBox_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Ctrl+E ends the program") << QStringLiteral("ctrl+e");
    QTest::newRow("Ctrl+F1 opens the preview, which first shows its notice") << QStringLiteral("ctrl+F1");
    QTest::newRow("Ctrl+F12 stops the tune") << QStringLiteral("ctrl+F12");
    QTest::newRow("Ctrl+P plays it again") << QStringLiteral("ctrl+p");
}

void DesktopTest::menuShortcutsWorkFromATextBox()
{
    QFETCH(QString, key);
    QVERIFY(testsupport::writeBytes(QStringLiteral("qqq.qq"), "music\\1.mid\r\n"));
    // Text1 has the focus once the splash has gone.
    startMorvane(false, true);
    QProcess *morvane = m_started.back().get();
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), m_desktop.window(mainTitle), patience);
    QTRY_VERIFY_WITH_TIMEOUT(lastHalfSecondIs(false), patience);
    if (key == u"ctrl+p") {
        m_desktop.press(QStringLiteral("ctrl+F12"));
        QTRY_VERIFY_WITH_TIMEOUT(lastHalfSecondIs(true), patience);
    }

    m_desktop.press(key);
    if (key == u"ctrl+e")
        QTRY_COMPARE_WITH_TIMEOUT(morvane->state(), QProcess::NotRunning, patience);
    else if (key == u"ctrl+F1")
        QTRY_VERIFY_WITH_TIMEOUT(m_desktop.window(QStringLiteral("提示")), patience);
    else
        QTRY_VERIFY_WITH_TIMEOUT(lastHalfSecondIs(key == u"ctrl+F12"), patience);
}

void DesktopTest::noticeLiesAboveItsWindowAndIsModal()
{
    startMorvane(false, true);
    const quint32 form1 = m_desktop.window(mainTitle);
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), form1, patience);
    m_desktop.press(QStringLiteral("ctrl+b")); // its notice comes before the button options
    quint32 notice = 0;
    QTRY_VERIFY_WITH_TIMEOUT((notice = m_desktop.window(QStringLiteral("提示"))) != 0, patience);
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), notice, patience);
    QCOMPARE(m_desktop.stacking().last(), notice);
    QCOMPARE(m_desktop.transientFor(notice), form1);
    QVERIFY(m_desktop.hasState(notice, "_NET_WM_STATE_MODAL"));
}

void DesktopTest::companionsComeUpWhereAPersonSeesThem_data()
{
    QTest::addColumn<QString>("program"); // started directly, or none: from the main program's menu
    QTest::addColumn<QString>("keys"); // then pressed, space between keys
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("the setter, and its browse window by Tab and Enter")
        << QStringLiteral("Morvane背景音乐添加程序") << QStringLiteral("Tab Return")
        << QStringList{setterTitle, QStringLiteral("浏览")};
    QTest::newRow("the help program") << QStringLiteral("帮助") << QString() << QStringList{QStringLiteral("帮助")};
    QTest::newRow("the setter from the menu, minimised")
        << QString() << QStringLiteral("ctrl+m") << QStringList{setterTitle};
    QTest::newRow("the help program from the menu, minimised")
        << QString() << QStringLiteral("ctrl+h") << QStringList{QStringLiteral("帮助")};
}

void DesktopTest::companionsComeUpWhereAPersonSeesThem()
{
    QFETCH(QString, program);
    QFETCH(QString, keys);
    QFETCH(QStringList, titles);
    if (program.isEmpty())
        startMorvane(false, true);
    else
        start(program);
    const QString keysGoTo = program.isEmpty() ? mainTitle : titles.first();
    QTRY_VERIFY_WITH_TIMEOUT(m_desktop.window(keysGoTo), patience);
    QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), m_desktop.window(keysGoTo), patience);
    for (const QString &key : keys.split(u' ', Qt::SkipEmptyParts))
        m_desktop.press(key);

    for (const QString &title : titles) {
        quint32 window = 0;
        QTRY_VERIFY_WITH_TIMEOUT((window = m_desktop.window(title)) != 0, patience);
        if (program.isEmpty()) {
            // Minimised as asked, and pointed out by the desktop, which shows it nowhere else.
            QVERIFY(m_desktop.isIconic(window));
            QTRY_VERIFY_WITH_TIMEOUT(m_desktop.hasState(window, "_NET_WM_STATE_DEMANDS_ATTENTION"), patience);
            continue;
        }
        if (title == titles.last())
            QTRY_COMPARE_WITH_TIMEOUT(m_desktop.activeWindow(), window, patience);
        QVERIFY2(m_desktop.isViewable(window) && m_desktop.screen().contains(m_desktop.geometry(window)),
                 qPrintable(title));
    }
}

MORVANE_TEST_MAIN(DesktopTest)
#include "tst_desktop.moc"
