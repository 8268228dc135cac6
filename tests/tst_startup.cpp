// Starting the main program: the order its windows come up in, the splash and its count, the
// tip of the day from the tips file beside the program, and the stored choice of tips at start.
// The program lives in a folder of its own (see CMakeLists.txt), so each test puts the tips
// file it needs beside it.
#include "skinmaker/core/tips.h"
#include "skinmaker/shell/program.h"
#include "skinmaker/shell/splashwindow.h"
#include "skinmaker/shell/startupsteps.h"
#include "skinmaker/shell/tipwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/random.h"
#include "platform/core/settings.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>

using platform::look::twips;
using skinmaker::shell::SplashWindow;
using skinmaker::shell::TipWindow;
using testsupport::settingsStore;
using testsupport::tipsFile;

namespace {

const QString missing = QStringLiteral("<missing>");

QString stored()
{
    return platform::settings::read(QStringLiteral("Options"), QStringLiteral("在启动时显示提示"), missing);
}

QString visibleWindows()
{
    QStringList names;
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window->isVisible())
            names << window->objectName();
    }
    names.sort();
    return names.join(u' ');
}

// One tick, as the timer's interval passing gives it.
void tick(QTimer *timer)
{
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

void saveScreenshot(QWidget *window, const QString &name)
{
    if (const QByteArray where = qgetenv("MORVANE_SCREENSHOT_DIR"); !where.isEmpty())
        window->grab().save(QFile::decodeName(where) + u'/' + name);
}

QString tipText()
{
    return testsupport::existingWindow<TipWindow>()->findChild<QLabel *>(QStringLiteral("lblTipText"))->text();
}

// Every window that is shown, copies included.
class ShowWatch : public QObject {
public:
    ShowWatch() { qApp->installEventFilter(this); }
    QStringList shown;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow())
            shown << watched->objectName();
        return false;
    }
};

} // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowsComeUpInOrder_data();
    void windowsComeUpInOrder();
    void splashLooksAsDesigned();
    void splashCountsToOneHundredThenCloses();
    void splashClosesEarlyOnlyByAKeyOrTheFrame_data();
    void splashClosesEarlyOnlyByAKeyOrTheFrame();
    void noticeDuringTheSplashOutlivesIt();
    void tipWindowShowsItsTextsAndEverySuppliedTipFits();
    void storedSettingDecidesTheTipWindow_data();
    void storedSettingDecidesTheTipWindow();
    void boxAndMenuWriteAtOnceAndTheNextStartFollows();
    void tipsFileGivesTheTips_data();
    void tipsFileGivesTheTips();

private:
    // Starts the program with the setting as given, or none stored.
    void start(const QString &setting);

    std::unique_ptr<platform::NoticeRecorder> m_notices;
    skinmaker::shell::Program *m_program = nullptr;
};

void StartUpTest::init()
{
    // No tips file and no stored setting, also after a run that ended half-way.
    for (const QString &path : {tipsFile(), settingsStore()}) {
        QFile::remove(path);
        QDir(path).removeRecursively();
    }
    m_notices = std::make_unique<platform::NoticeRecorder>();
}

void StartUpTest::cleanup()
{
    testsupport::destroyAllWindows();
    const QStringList notices = m_notices->texts();
    m_notices.reset();
    QVERIFY2(notices.isEmpty(), qPrintable(notices.join(u'\n')));
}

void StartUpTest::start(const QString &setting)
{
    if (setting != missing)
        QVERIFY(platform::settings::write(QStringLiteral("Options"), QStringLiteral("在启动时显示提示"), setting));
    m_program = new skinmaker::shell::Program(qApp);
    m_program->start();
    QVERIFY(testsupport::existingWindow<skinmaker::shell::MainWindow>()->isVisible());
}

void StartUpTest::windowsComeUpInOrder_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QString>("steps"); // each with the windows visible at that moment
    QTest::addColumn<QStringList>("shown");
    const QString loading = QStringLiteral("Form1 load () | frmTip load () | frmSplash shown (frmSplash) | "
                                           "Form1 shown (Form1 frmSplash) | frmSplash labels set (Form1 frmSplash) | "
                                           "tips setting read (Form1 frmSplash) | ");
    QTest::newRow("tips on") << QStringLiteral("1")
                             << loading
            + QStringLiteral("tips box ticked (Form1 frmSplash) | tips read (Form1 frmSplash) | "
                             "random tip (Form1 frmSplash) | frmTip shown (Form1 frmSplash frmTip) | "
                             "frmSplash shown (Form1 frmSplash frmTip) | tune started (Form1 frmSplash frmTip) | "
                             "event loop (Form1 frmSplash frmTip)")
                             << QStringList{QStringLiteral("frmSplash"), QStringLiteral("Form1"),
                                            QStringLiteral("frmTip")};
    QTest::newRow("tips off") << QStringLiteral("0")
                              << loading
            + QStringLiteral("frmTip closed unseen (Form1 frmSplash) | frmSplash shown (Form1 frmSplash) | "
                             "tune started (Form1 frmSplash) | event loop (Form1 frmSplash)")
                              << QStringList{QStringLiteral("frmSplash"), QStringLiteral("Form1")};
}

void StartUpTest::windowsComeUpInOrder()
{
    QFETCH(QString, setting);
    QFETCH(QString, steps);
    QFETCH(QStringList, shown);
    QVERIFY(testsupport::writeBytes(tipsFile(), "tip\r\n"));
    QStringList seen;
    const skinmaker::shell::StartUpWatch watch(
        [&seen](const QString &step) { seen << step + u" (" + visibleWindows() + u')'; });
    const ShowWatch shows;
    // Queued before the start: it runs once start-up has handed over to the event loop.
    const QObject context;
    QTimer::singleShot(0, &context, [&seen] { seen << u"event loop (" + visibleWindows() + u')'; });

    start(setting);
    QTRY_VERIFY(seen.join(u' ').contains(u"event loop"));
    QCOMPARE(seen.join(QStringLiteral(" | ")), steps);
    QCOMPARE(shows.shown, shown);
}

void StartUpTest::splashLooksAsDesigned()
{
    start(QStringLiteral("0"));
    SplashWindow *splash = testsupport::existingWindow<SplashWindow>();
    FIND(QFrame, frame, splash, "Frame1");
    FIND(QLabel, logo, frame, "imgLogo");

    const struct {
        const char *name;
        const char *text;
        int points;
    } labels[] = {
        {"lblCompanyProduct", nullptr, 18},
        {"lblProductName", "Morvane", 32},
        {"lblPlatform", "运行平台:Windows 9X/2000/XP/2003", 9},
        {"Label1", nullptr, 9},
        {"lblVersion", "版本 3.1.4", 12},
        {"lblCopyright", nullptr, 9},
        {"Label2", "正在加载", 9},
        {"Label3", "0", 9},
        {"Label4", "%", 9},
    };
    QList<QWidget *> placed{logo};
    for (const auto &row : labels) {
        auto *label = frame->findChild<QLabel *>(QLatin1String(row.name));
        QVERIFY2(label && !label->text().isEmpty(), row.name);
        if (row.text)
            QCOMPARE(label->text(), QString::fromUtf8(row.text));
        QCOMPARE(label->font().pointSize(), row.points);
        QCOMPARE(label->font().bold(), row.points > 9);
        // In a face that has the Chinese characters, never cut off, never over another.
        QVERIFY(QFontDatabase::writingSystems(QFontInfo(label->font()).family())
                    .contains(QFontDatabase::SimplifiedChinese));
        QVERIFY2(label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height(),
                 row.name);
        for (QWidget *other : placed)
            QVERIFY2(!label->geometry().intersects(other->geometry()), row.name);
        placed << label;
    }
    saveScreenshot(splash, QStringLiteral("frmSplash.png"));
}

void StartUpTest::splashCountsToOneHundredThenCloses()
{
    start(QStringLiteral("0"));
    QPointer<SplashWindow> splash = testsupport::existingWindow<SplashWindow>();
    FIND(QTimer, timer, splash.data(), "Timer1");
    FIND(QLabel, counter, splash.data(), "Label3");
    QCOMPARE(timer->interval(), 20);
    // It counts by itself, in whole steps, and closes in the very tick that writes 100.
    QTRY_VERIFY(counter->text() != u"0");
    for (int next = counter->text().toInt() + 1; next <= 100; ++next) {
        QCOMPARE(splash->isVisible(), true);
        tick(timer);
        QCOMPARE(counter->text(), QString::number(next));
    }
    QVERIFY(!splash->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(splash.isNull());
    // Closed, it stays closed, also when the main window's load steps ask for it again.
    m_program->loadMainWindow();
    QVERIFY(!testsupport::existingWindow<SplashWindow>());
}

void StartUpTest::splashClosesEarlyOnlyByAKeyOrTheFrame_data()
{
    QTest::addColumn<int>("key"); // pressed on the splash, or 0 for a click instead
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<bool>("closes");
    QTest::newRow("letter key") << int(Qt::Key_A) << QString() << true;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << QString() << true;
    QTest::newRow("free area of the frame") << 0 << QStringLiteral("Frame1") << true;
    QTest::newRow("product name") << 0 << QStringLiteral("lblProductName") << false;
    QTest::newRow("logo") << 0 << QStringLiteral("imgLogo") << false;
}

void StartUpTest::splashClosesEarlyOnlyByAKeyOrTheFrame()
{
    QFETCH(int, key);
    QFETCH(QString, clicked);
    QFETCH(bool, closes);
    start(QStringLiteral("1"));
    SplashWindow *splash = testsupport::existingWindow<SplashWindow>();
    QTRY_COMPARE(QApplication::activeWindow(), splash);
    if (key) {
        QTest::keyClick(splash, Qt::Key(key));
    } else {
        auto *target = splash->findChild<QWidget *>(clicked);
        // The frame's free area lies below the logo.
        const QPoint at = clicked == u"Frame1" ? QPoint(twips(240), twips(3600)) : target->rect().center();
        QVERIFY(!target->childAt(at));
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
    }
    QCOMPARE(splash->isVisible(), !closes);
    QVERIFY(testsupport::existingWindow<skinmaker::shell::MainWindow>()->isVisible()
            && testsupport::existingWindow<TipWindow>()->isVisible());
}

void StartUpTest::noticeDuringTheSplashOutlivesIt()
{
    // A real box, raised while the splash is the active window, and open when the count ends.
    m_notices.reset();
    start(QStringLiteral("0"));
    QPointer<SplashWindow> splash = testsupport::existingWindow<SplashWindow>();
    QTRY_COMPARE(QApplication::activeWindow(), splash.data());
    bool outlivedIt = false;
    QTimer::singleShot(0, splash, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box && box->parent() != splash) { // otherwise closing the splash deletes the open box
            splash->findChild<QLabel *>(QStringLiteral("Label3"))->setText(QStringLiteral("99"));
            tick(splash->findChild<QTimer *>(QStringLiteral("Timer1")));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            outlivedIt = splash.isNull() && box->isVisible();
        }
        if (box)
            box->accept();
    });
    platform::notice(QStringLiteral("提示"));
    m_notices = std::make_unique<platform::NoticeRecorder>();
    QVERIFY(outlivedIt);
}

void StartUpTest::tipWindowShowsItsTextsAndEverySuppliedTipFits()
{
    const QString supplied = qEnvironmentVariable("MORVANE_BIN_DIR") + QStringLiteral("/QQ.QQ");
    QVERIFY(QFile::copy(supplied, tipsFile()));
    const QStringList tips =
        platform::textfile::readAllLines(supplied, skinmaker::core::tipsByteLimit).value_or(QStringList());
    QCOMPARE(tips.size(), 30);
    // Draws that walk through the tips in file order.
    int drawn = 0;
    const platform::random::Override numbers(
        [&] { return (float(drawn++ % tips.size()) + 0.5f) / float(tips.size()); });
    start(missing);
    TipWindow *tip = testsupport::existingWindow<TipWindow>();
    QCOMPARE(tip->windowTitle(), QStringLiteral("Morvane"));
    for (const auto &[name, text] :
         {std::pair{"Label1", "您知道吗..."}, std::pair{"cmdOK", "确定"}, std::pair{"cmdNextTip", "下一条提示(&N)"},
          std::pair{"chkLoadTipsAtStartup", "在启动时显示提示(&S)"}})
        QCOMPARE(tip->findChild<QWidget *>(QLatin1String(name))->property("text").toString(), QString::fromUtf8(text));

    FIND(QLabel, text, tip, "lblTipText");
    FIND(QPushButton, nextTip, tip, "cmdNextTip");
    const QString longest = *std::max_element(tips.begin(), tips.end(),
                                              [](const QString &a, const QString &b) { return a.size() < b.size(); });
    for (const QString &expected : tips) {
        QCOMPARE(tipText(), expected);
        QVERIFY2(text->heightForWidth(text->width()) <= text->height(), qPrintable(expected));
        if (expected == longest)
            saveScreenshot(tip, QStringLiteral("frmTip.png"));
        QTest::mouseClick(nextTip, Qt::LeftButton);
    }
}

void StartUpTest::storedSettingDecidesTheTipWindow_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("nothing stored") << missing << true << QStringLiteral("1");
    QTest::newRow("off") << QStringLiteral("0") << false << QStringLiteral("0");
    QTest::newRow("another number") << QStringLiteral("2") << true << QStringLiteral("1");
    QTest::newRow("no number") << QStringLiteral("abc") << true << QStringLiteral("1");
    // A folder where the store's file belongs: it can be neither read nor written, even by root.
    QTest::newRow("store unusable") << QStringLiteral("<folder>") << true << missing;
}

void StartUpTest::storedSettingDecidesTheTipWindow()
{
    QFETCH(QString, setting);
    QFETCH(bool, shown);
    QFETCH(QString, storedAfter);
    if (setting == u"<folder>") {
        QVERIFY(QDir().mkpath(settingsStore()));
        setting = missing;
    }
    start(setting);
    QVERIFY(testsupport::existingWindow<SplashWindow>()->isVisible());
    QCOMPARE(testsupport::existingWindow<TipWindow>() && testsupport::existingWindow<TipWindow>()->isVisible()
                 && testsupport::existingWindow<TipWindow>()->startUpBox()->isChecked(),
             shown);
    QCOMPARE(stored(), storedAfter);
}

void StartUpTest::boxAndMenuWriteAtOnceAndTheNextStartFollows()
{
    const auto restart = [] {
        testsupport::destroyAllWindows();
        skinmaker::start();
        return testsupport::existingWindow<TipWindow>();
    };
    start(missing);
    QCheckBox *box = testsupport::existingWindow<TipWindow>()->startUpBox();
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(stored(), QStringLiteral("0"));
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(stored(), QStringLiteral("1"));
    QTest::mouseClick(box, Qt::LeftButton);
    // Enter and Esc press 确定, from wherever the focus is; closing writes nothing.
    QPointer<TipWindow> closing = testsupport::existingWindow<TipWindow>();
    QTest::keyClick(closing->findChild<QPushButton *>(QStringLiteral("cmdNextTip")), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closing.isNull());
    QCOMPARE(stored(), QStringLiteral("0"));

    QVERIFY(!restart());
    TRIGGER(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "sh");
    QCOMPARE(stored(), QStringLiteral("1"));
    TipWindow *tip = restart();
    QVERIFY(tip && tip->isVisible());
    // sh ticks the box of the open window again.
    QTest::mouseClick(tip->startUpBox(), Qt::LeftButton);
    TRIGGER(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "sh");
    QVERIFY(tip->startUpBox()->isChecked());
    QCOMPARE(stored(), QStringLiteral("1"));
    closing = tip;
    QTest::keyClick(tip->startUpBox(), Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(closing.isNull());
}

void StartUpTest::tipsFileGivesTheTips_data()
{
    QTest::addColumn<QByteArray>("file"); // "<missing>", "<folder>" and "<pipe>" put no file there
    QTest::addColumn<float>("nextDraw"); // the first draw is 0: the first tip
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("next");
    const float highest = 1.0f - 0x1p-24f;
    const QString a = QStringLiteral("a"), b = QStringLiteral("b"), none;
    QTest::newRow("one line") << QByteArray("only\r\n") << highest << QStringLiteral("only") << QStringLiteral("only");
    QTest::newRow("empty line is a tip") << QByteArray("a\r\n\r\nb\r\n") << 0.5f << a << none;
    QTest::newRow("final CR LF adds none") << QByteArray("a\r\nb\r\n") << highest << a << b;
    QTest::newRow("last line without CR LF") << QByteArray("a\r\nb") << highest << a << b;
    QTest::newRow("GBK Chinese") << testsupport::gbk(QStringLiteral("第一条\r\n第二条\r\n")) << 0.5f
                                 << QStringLiteral("第一条") << QStringLiteral("第二条");
    for (const char *nothing : {"", "<missing>", "<folder>", "<pipe>"})
        QTest::newRow(*nothing ? nothing : "empty file") << QByteArray(nothing) << 0.5f << none << none;
}

void StartUpTest::tipsFileGivesTheTips()
{
    QFETCH(QByteArray, file);
    QFETCH(float, nextDraw);
    QFETCH(QString, first);
    QFETCH(QString, next);
    if (file == "<folder>")
        QVERIFY(QDir().mkpath(tipsFile()));
    else if (file == "<pipe>")
        QCOMPARE(::mkfifo(QFile::encodeName(tipsFile()).constData(), 0666), 0);
    else if (file != "<missing>")
        QVERIFY(testsupport::writeBytes(tipsFile(), file));
    QList<float> draws{0.0f, nextDraw};
    const platform::random::Override numbers([&draws] { return draws.takeFirst(); });

    start(missing);
    QCOMPARE(tipText(), first);
    QTest::mouseClick(testsupport::existingWindow<TipWindow>()->findChild<QPushButton *>(QStringLiteral("cmdNextTip")),
                      Qt::LeftButton);
    QCOMPARE(tipText(), next);
}

MORVANE_TEST_MAIN(StartUpTest)
#include "tst_startup.moc"
