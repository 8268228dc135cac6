// Starting the main program: the order its windows come up in, the splash window and its
// count, the tip of the day from the tips file beside the program, and the stored choice
// whether tips come at start. The program lives in a folder of its own (see CMakeLists.txt),
// so each test puts the tips file it needs beside it.
#include "skinmaker/core/tips.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/shell/splashwindow.h"
#include "skinmaker/shell/startupsteps.h"
#include "skinmaker/shell/tipwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/random.h"
#include "platform/core/settings.h"
#include "platform/look.h"
#include "platform/notice.h"
#include "platform/singlewindow.h"

#include "uitest.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSettings>
#include <QTimer>

#include <sys/stat.h>

using platform::look::twips;
using platform::look::twipsRect;
using skinmaker::shell::MainWindow;
using skinmaker::shell::SplashWindow;
using skinmaker::shell::TipWindow;
using Splash = platform::SingleWindow<SplashWindow>;
using Tip = platform::SingleWindow<TipWindow>;

namespace {

const QString section = QStringLiteral("Options");
const QString key = QStringLiteral("在启动时显示提示");
const QString missing = QStringLiteral("<missing>");

QString tipsFile()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("QQ.QQ"));
}

// The store's file, named after the program, as the settings layer keeps it.
QString storeFile()
{
    return QSettings(QSettings::UserScope, QCoreApplication::applicationName(), QCoreApplication::applicationName())
        .fileName();
}

QString stored()
{
    return platform::settings::read(section, key, missing);
}

// The names of the visible windows, sorted.
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

// One tick of a timer, as its interval passing would give it.
void tick(QTimer *timer)
{
    QTimerEvent event(timer->timerId());
    QCoreApplication::sendEvent(timer, &event);
}

// Notes every top-level window that is shown, copies included.
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

}  // namespace

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

    void tipWindowLooksAsDesigned();
    void storedSettingDecidesTheTipWindow_data();
    void storedSettingDecidesTheTipWindow();
    void boxAndMenuWriteAtOnceAndTheNextStartFollows();
    void tipsFileGivesTheTips_data();
    void tipsFileGivesTheTips();
    void okEnterAndEscCloseTheTipWindow_data();
    void okEnterAndEscCloseTheTipWindow();

private:
    MainWindow *form1() const { return platform::SingleWindow<MainWindow>::existing(); }
    // Starts the program with the setting as given ("<missing>": none stored).
    void start(const QString &setting);
    QString tipText() const { return Tip::existing()->findChild<QLabel *>(QStringLiteral("lblTipText"))->text(); }
    void saveScreenshot(QWidget *window, const QString &name) const;

    std::unique_ptr<platform::NoticeRecorder> m_notices;
};

void StartUpTest::init()
{
    m_notices = std::make_unique<platform::NoticeRecorder>();
    QFile::remove(tipsFile());
    QFile::remove(storeFile());
}

void StartUpTest::cleanup()
{
    testsupport::destroyAllWindows();
    QVERIFY2(m_notices->records().isEmpty(), qPrintable(m_notices->texts().join(u'\n')));
    m_notices.reset();
    QFile::remove(tipsFile());
    QDir(tipsFile()).removeRecursively();
    QFile::remove(storeFile());
    QDir(storeFile()).removeRecursively();
}

void StartUpTest::start(const QString &setting)
{
    if (setting != missing)
        QVERIFY(platform::settings::write(section, key, setting));
    skinmaker::start();
    QVERIFY(form1() && form1()->isVisible());
}

void StartUpTest::saveScreenshot(QWidget *window, const QString &name) const
{
    if (const QByteArray where = qgetenv("MORVANE_SCREENSHOT_DIR"); !where.isEmpty())
        window->grab().save(QFile::decodeName(where) + u'/' + name);
}

void StartUpTest::windowsComeUpInOrder_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<QStringList>("steps");  // each with the windows visible at that moment
    QTest::addColumn<QStringList>("shown");  // every window shown, in order

    const QStringList loading{QStringLiteral("Form1 load: "),
                              QStringLiteral("frmTip load: "),
                              QStringLiteral("frmSplash shown: frmSplash"),
                              QStringLiteral("Form1 shown: Form1 frmSplash"),
                              QStringLiteral("frmSplash labels set: Form1 frmSplash"),
                              QStringLiteral("tips setting read: Form1 frmSplash")};
    QTest::newRow("tips on") << QStringLiteral("1")
                             << loading
            + QStringList{QStringLiteral("tips box ticked: Form1 frmSplash"),
                          QStringLiteral("tips read: Form1 frmSplash"),
                          QStringLiteral("random tip: Form1 frmSplash"),
                          QStringLiteral("frmTip shown: Form1 frmSplash frmTip"),
                          QStringLiteral("frmSplash shown: Form1 frmSplash frmTip"),
                          QStringLiteral("tune started: Form1 frmSplash frmTip"),
                          QStringLiteral("event loop: Form1 frmSplash frmTip")}
                             << QStringList{QStringLiteral("frmSplash"), QStringLiteral("Form1"),
                                            QStringLiteral("frmTip")};
    QTest::newRow("tips off") << QStringLiteral("0")
                              << loading
            + QStringList{QStringLiteral("frmTip closed unseen: Form1 frmSplash"),
                          QStringLiteral("frmSplash shown: Form1 frmSplash"),
                          QStringLiteral("tune started: Form1 frmSplash"),
                          QStringLiteral("event loop: Form1 frmSplash")}
                              << QStringList{QStringLiteral("frmSplash"), QStringLiteral("Form1")};
}

void StartUpTest::windowsComeUpInOrder()
{
    QFETCH(QString, setting);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    QVERIFY(testsupport::writeBytes(tipsFile(), "tip\r\n"));
    QStringList seen;
    const skinmaker::shell::StartUpWatch watch(
        [&seen](const QString &step) { seen << step + u": " + visibleWindows(); });
    const ShowWatch shows;
    // Queued before the start: it runs only once start-up has handed over to the event loop.
    const QObject context;
    QTimer::singleShot(0, &context, [&seen] { seen << u"event loop: " + visibleWindows(); });

    start(setting);
    QTRY_COMPARE(seen.size(), steps.size());
    QCOMPARE(seen, steps);
    QCOMPARE(shows.shown, shown);
    QCOMPARE(Tip::existing() != nullptr, setting == u"1");
}

void StartUpTest::splashLooksAsDesigned()
{
    start(QStringLiteral("0"));
    SplashWindow *splash = Splash::existing();
    QVERIFY(splash && splash->isVisible());
    QCOMPARE(splash->size(), QSize(twips(7380), twips(4245)));
    // No title bar, no place in the task bar.
    QCOMPARE(splash->windowFlags(), Qt::Tool | Qt::FramelessWindowHint);
    QCOMPARE(splash->cursor().shape(), Qt::WaitCursor);
    QCOMPARE(splash->palette().color(QPalette::Window), QColor(Qt::white));
    QCOMPARE(splash->geometry().center(), splash->screen()->availableGeometry().center());

    FIND(QFrame, frame, splash, "Frame1");
    QCOMPARE(frame->geometry(), twipsRect(120, 60, 7080, 4050));
    FIND(QLabel, logo, frame, "imgLogo");
    QCOMPARE(logo->size(), QSize(twips(1815), twips(2385)));
    QVERIFY(logo->hasScaledContents());

    const struct {
        const char *name;
        const char *text;
        int points;
        bool bold;
    } labels[] = {
        {"lblCompanyProduct", nullptr, 18, true},
        {"lblProductName", "Morvane", 32, true},
        {"lblPlatform", "运行平台:Windows 9X/2000/XP/2003", 9, false},
        {"Label1", nullptr, 9, false},
        {"lblVersion", "版本 3.1.4", 12, true},
        {"lblCopyright", nullptr, 9, false},
        {"Label2", "正在加载", 9, false},
        {"Label3", "0", 9, false},
        {"Label4", "%", 9, false},
    };
    QList<QLabel *> placed{logo};
    for (const auto &row : labels) {
        auto *label = frame->findChild<QLabel *>(QLatin1String(row.name));
        QVERIFY2(label, row.name);
        if (row.text)
            QCOMPARE(label->text(), QString::fromUtf8(row.text));
        QVERIFY2(!label->text().isEmpty(), row.name);
        QCOMPARE(label->font().pointSize(), row.points);
        QCOMPARE(label->font().bold(), row.bold);
        // Drawn in a face that has the Chinese characters, and never cut off.
        QVERIFY(QFontDatabase::writingSystems(QFontInfo(label->font()).family())
                    .contains(QFontDatabase::SimplifiedChinese));
        QVERIFY2(label->sizeHint().width() <= label->width() && label->sizeHint().height() <= label->height(),
                 row.name);
        for (QLabel *other : placed)
            QVERIFY2(!label->geometry().intersects(other->geometry()), row.name);
        placed << label;
    }
    auto *version = frame->findChild<QLabel *>(QStringLiteral("lblVersion"));
    QVERIFY(version->alignment() & Qt::AlignRight);
    saveScreenshot(splash, QStringLiteral("frmSplash.png"));
}

void StartUpTest::splashCountsToOneHundredThenCloses()
{
    start(QStringLiteral("0"));
    QPointer<SplashWindow> splash = Splash::existing();
    FIND(QTimer, timer, splash.data(), "Timer1");
    FIND(QLabel, counter, splash.data(), "Label3");
    QCOMPARE(timer->interval(), 20);
    // It counts by itself from the start...
    QTRY_VERIFY(counter->text() != u"0");
    // ...in whole steps, and closes in the very tick that writes 100.
    for (int next = counter->text().toInt() + 1; next < 100; ++next) {
        tick(timer);
        QCOMPARE(counter->text(), QString::number(next));
        QVERIFY(splash->isVisible());
    }
    tick(timer);
    QCOMPARE(counter->text(), QStringLiteral("100"));
    QVERIFY(!splash->isVisible());
    QVERIFY(!timer->isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(splash.isNull());

    // Closed, it does not come back, also when the main window's load steps ask for it again.
    form1()->load();
    QVERIFY(!Splash::existing());
    QVERIFY(form1()->isVisible());
}

void StartUpTest::splashClosesEarlyOnlyByAKeyOrTheFrame_data()
{
    QTest::addColumn<int>("key");  // pressed on the splash, or 0
    QTest::addColumn<QString>("clicked");  // what is clicked instead
    QTest::addColumn<bool>("closes");
    QTest::newRow("letter key") << int(Qt::Key_A) << QString() << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << QString() << true;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << QString() << true;
    QTest::newRow("free area of the frame") << 0 << QStringLiteral("Frame1") << true;
    QTest::newRow("product name") << 0 << QStringLiteral("lblProductName") << false;
    QTest::newRow("counter") << 0 << QStringLiteral("Label3") << false;
    QTest::newRow("logo") << 0 << QStringLiteral("imgLogo") << false;
}

void StartUpTest::splashClosesEarlyOnlyByAKeyOrTheFrame()
{
    QFETCH(int, key);
    QFETCH(QString, clicked);
    QFETCH(bool, closes);
    start(QStringLiteral("1"));
    SplashWindow *splash = Splash::existing();
    QTRY_COMPARE(QApplication::activeWindow(), splash);

    if (key) {
        QTest::keyClick(splash, Qt::Key(key));
    } else {
        auto *target = splash->findChild<QWidget *>(clicked);
        QVERIFY(target);
        // The frame's free area lies below the logo, left of the credit lines.
        const QPoint at = clicked == u"Frame1" ? QPoint(twips(240), twips(3600)) : target->rect().center();
        QVERIFY(target->childAt(at) == nullptr);
        QTest::mouseClick(target, Qt::LeftButton, {}, at);
    }
    QCOMPARE(splash->isVisible(), !closes);
    // The other windows are not touched.
    QVERIFY(form1()->isVisible());
    QVERIFY(Tip::existing()->isVisible());
}

void StartUpTest::noticeDuringTheSplashOutlivesIt()
{
    // A real box this time, raised while the splash is the active window.
    m_notices.reset();
    start(QStringLiteral("0"));
    QPointer<SplashWindow> splash = Splash::existing();
    QTRY_COMPARE(QApplication::activeWindow(), splash.data());
    bool ownedBySplash = true;
    bool outlivedIt = false;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        ownedBySplash = box->parent() == splash;
        if (!ownedBySplash) {
            // The count reaches 100 while the box is open.
            splash->findChild<QLabel *>(QStringLiteral("Label3"))->setText(QStringLiteral("99"));
            tick(splash->findChild<QTimer *>(QStringLiteral("Timer1")));
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            outlivedIt = splash.isNull() && box->isVisible();
        }
        box->accept();
    });
    platform::notice(QStringLiteral("提示"));
    m_notices = std::make_unique<platform::NoticeRecorder>();
    QVERIFY(!ownedBySplash);
    QVERIFY(outlivedIt);
}

void StartUpTest::tipWindowLooksAsDesigned()
{
    // The tips supplied with the program, drawn one after the other.
    const QString supplied = qEnvironmentVariable("MORVANE_BIN_DIR") + QStringLiteral("/QQ.QQ");
    QVERIFY(QFile::copy(supplied, tipsFile()));
    const std::optional<QStringList> tips = skinmaker::core::readTips(supplied);
    QVERIFY(tips && tips->size() > 1);
    qsizetype drawn = 0;
    const platform::random::Override numbers(
        [&] { return float((drawn++ % tips->size()) + 0.5) / float(tips->size()); });
    start(missing);
    TipWindow *tip = Tip::existing();
    QVERIFY(tip && tip->isVisible());
    QCOMPARE(tip->windowTitle(), QStringLiteral("Morvane"));
    QCOMPARE(tip->size(), QSize(twips(5685), twips(3285)));
    QCOMPARE(tip->minimumSize(), tip->maximumSize());
    QVERIFY(!tip->windowIcon().isNull());

    const struct {
        const char *name;
        const char *text;
        QRect twips;
    } controls[] = {
        {"Picture1", nullptr, {120, 120, 3735, 2715}},
        {"Label1", "您知道吗...", {540, 180, 2655, 255}},
        {"lblTipText", nullptr, {180, 840, 3255, 1635}},
        {"cmdOK", "确定", {4080, 120, 1455, 375}},
        {"cmdNextTip", "下一条提示(&N)", {4080, 600, 1455, 375}},
        {"chkLoadTipsAtStartup", "在启动时显示提示(&S)", {120, 2940, 2055, 315}},
    };
    for (const auto &row : controls) {
        auto *control = tip->findChild<QWidget *>(QLatin1String(row.name));
        QVERIFY2(control, row.name);
        QCOMPARE(control->geometry(), twipsRect(row.twips.x(), row.twips.y(), row.twips.width(), row.twips.height()));
        if (row.text)
            QCOMPARE(control->property("text").toString(), QString::fromUtf8(row.text));
    }
    FIND(QLabel, panel, tip, "Picture1");
    FIND(QLabel, text, panel, "lblTipText");
    FIND(QPushButton, ok, tip, "cmdOK");
    FIND(QPushButton, nextTip, tip, "cmdNextTip");
    QVERIFY(ok->isDefault());

    // Every supplied tip fits the tip area whole.
    QString longest;
    for (qsizetype n = 0; n < tips->size(); ++n) {
        QCOMPARE(tipText(), tips->at(n));
        QVERIFY2(text->heightForWidth(text->width()) <= text->height(), qPrintable(tipText()));
        if (tipText().size() > longest.size())
            longest = tipText();
        QTest::mouseClick(nextTip, Qt::LeftButton);
    }

    // The penguin over the window and its buttons, the arrow over the panel and the box.
    const QImage penguin = QPixmap(QStringLiteral(":/platform/penguin-16.png")).toImage();
    for (QWidget *widget : {static_cast<QWidget *>(tip), static_cast<QWidget *>(ok), static_cast<QWidget *>(nextTip)})
        QCOMPARE(widget->cursor().pixmap().toImage(), penguin);
    for (QWidget *widget : {static_cast<QWidget *>(panel), static_cast<QWidget *>(tip->startUpBox())})
        QCOMPARE(widget->cursor().shape(), Qt::ArrowCursor);

    // A white panel with the bulb in its top-left corner.
    text->setText(longest);
    const QImage shot = tip->grab().toImage();
    QCOMPARE(QColor(shot.pixel(panel->mapTo(tip, QPoint(panel->width() - 6, twips(600))))), QColor(Qt::white));
    const QImage bulb = QPixmap(QStringLiteral(":/skinmaker/tip-bulb.png")).toImage();
    QImage bulbOnWhite(bulb.size(), QImage::Format_RGB32);
    bulbOnWhite.fill(Qt::white);
    QPainter(&bulbOnWhite).drawImage(0, 0, bulb);
    const QRect corner(panel->mapTo(tip, panel->contentsRect().topLeft()), bulb.size());
    QCOMPARE(shot.copy(corner).convertToFormat(QImage::Format_RGB32), bulbOnWhite);
    saveScreenshot(tip, QStringLiteral("frmTip.png"));
}

void StartUpTest::storedSettingDecidesTheTipWindow_data()
{
    QTest::addColumn<QString>("setting");  // "<unwritable>": a store that can be neither read nor written
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("storedAfter");
    QTest::newRow("nothing stored") << missing << true << QStringLiteral("1");
    QTest::newRow("on") << QStringLiteral("1") << true << QStringLiteral("1");
    QTest::newRow("off") << QStringLiteral("0") << false << QStringLiteral("0");
    QTest::newRow("another number") << QStringLiteral("2") << true << QStringLiteral("1");
    QTest::newRow("no number") << QStringLiteral("abc") << true << QStringLiteral("1");
    QTest::newRow("store unwritable") << QStringLiteral("<unwritable>") << true << missing;
}

void StartUpTest::storedSettingDecidesTheTipWindow()
{
    QFETCH(QString, setting);
    QFETCH(bool, shown);
    QFETCH(QString, storedAfter);
    if (setting == u"<unwritable>") {
        // A folder where the store's file belongs: even root can neither read nor replace it.
        QVERIFY(QDir().mkpath(storeFile()));
        setting = missing;
    }
    start(setting);
    QVERIFY(Splash::existing()->isVisible());
    QCOMPARE(Tip::existing() != nullptr, shown);
    if (shown) {
        QVERIFY(Tip::existing()->isVisible());
        QVERIFY(Tip::existing()->startUpBox()->isChecked());
    }
    QCOMPARE(stored(), storedAfter);
}

void StartUpTest::boxAndMenuWriteAtOnceAndTheNextStartFollows()
{
    const auto restart = [this] {
        testsupport::destroyAllWindows();
        skinmaker::start();
        return Tip::existing();
    };
    start(missing);
    QCheckBox *box = Tip::existing()->startUpBox();
    QTest::mouseClick(box, Qt::LeftButton);
    QVERIFY(!box->isChecked());
    QCOMPARE(stored(), QStringLiteral("0"));
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(stored(), QStringLiteral("1"));
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(stored(), QStringLiteral("0"));

    QVERIFY(!restart());
    TRIGGER(form1(), "sh");
    QCOMPARE(stored(), QStringLiteral("1"));

    // Back on: sh ticks the open window's box the user had cleared.
    TipWindow *tip = restart();
    QVERIFY(tip && tip->isVisible());
    QTest::mouseClick(tip->startUpBox(), Qt::LeftButton);
    QCOMPARE(stored(), QStringLiteral("0"));
    TRIGGER(form1(), "sh");
    QVERIFY(tip->startUpBox()->isChecked());
    QCOMPARE(stored(), QStringLiteral("1"));
    QVERIFY(restart());
}

void StartUpTest::tipsFileGivesTheTips_data()
{
    QTest::addColumn<QByteArray>("file");  // "<missing>", "<folder>" and "<pipe>" put no file there
    QTest::addColumn<float>("firstDraw");
    QTest::addColumn<float>("nextDraw");  // the draw of 下一条提示
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("next");

    const float last = 1.0f - 0x1p-24f;  // the largest r below 1
    const QString a = QStringLiteral("a");
    const QString b = QStringLiteral("b");
    const QString none;
    QTest::newRow("one line, lowest and highest draw")
        << QByteArray("only\r\n") << 0.0f << last << QStringLiteral("only") << QStringLiteral("only");
    QTest::newRow("empty line is a tip") << QByteArray("a\r\n\r\nb\r\n") << 0.0f << 0.5f << a << none;
    QTest::newRow("final CR LF adds none") << QByteArray("a\r\nb\r\n") << last << 0.0f << b << a;
    QTest::newRow("last line without CR LF") << QByteArray("a\r\nb") << 0.0f << last << a << b;
    QTest::newRow("GBK Chinese") << testsupport::gbk(QStringLiteral("第一条\r\n第二条\r\n")) << 0.0f << 0.5f
                                 << QStringLiteral("第一条") << QStringLiteral("第二条");
    QTest::newRow("empty file") << QByteArray() << 0.0f << 0.5f << none << none;
    QTest::newRow("missing") << QByteArray("<missing>") << 0.0f << 0.5f << none << none;
    QTest::newRow("folder") << QByteArray("<folder>") << 0.0f << 0.5f << none << none;
    QTest::newRow("pipe") << QByteArray("<pipe>") << 0.0f << 0.5f << none << none;
}

void StartUpTest::tipsFileGivesTheTips()
{
    QFETCH(QByteArray, file);
    QFETCH(float, firstDraw);
    QFETCH(float, nextDraw);
    QFETCH(QString, first);
    QFETCH(QString, next);
    if (file == "<folder>")
        QVERIFY(QDir().mkpath(tipsFile()));
    else if (file == "<pipe>")
        QCOMPARE(::mkfifo(QFile::encodeName(tipsFile()).constData(), 0666), 0);
    else if (file != "<missing>")
        QVERIFY(testsupport::writeBytes(tipsFile(), file));
    QList<float> draws{firstDraw, nextDraw};
    const platform::random::Override numbers([&draws] { return draws.takeFirst(); });

    QElapsedTimer clock;
    clock.start();
    start(missing);
    QVERIFY(clock.elapsed() < 1000);
    QVERIFY(Tip::existing()->isVisible());
    QCOMPARE(tipText(), first);
    FIND(QPushButton, nextTip, Tip::existing(), "cmdNextTip");
    QTest::mouseClick(nextTip, Qt::LeftButton);
    QCOMPARE(tipText(), next);
}

void StartUpTest::okEnterAndEscCloseTheTipWindow_data()
{
    QTest::addColumn<int>("key");  // pressed in the window, or 0 for a click on 确定
    QTest::newRow("确定") << 0;
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void StartUpTest::okEnterAndEscCloseTheTipWindow()
{
    QFETCH(int, key);
    start(QStringLiteral("1"));
    QPointer<TipWindow> tip = Tip::existing();
    FIND(QPushButton, nextTip, tip.data(), "cmdNextTip");
    // The keys work wherever the focus is in the window, here on the other button.
    nextTip->setFocus();
    if (key)
        QTest::keyClick(nextTip, Qt::Key(key));
    else
        QTest::mouseClick(tip->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(tip.isNull());
    // Closing writes nothing.
    QCOMPARE(stored(), QStringLiteral("1"));
}

MORVANE_TEST_MAIN(StartUpTest)
#include "tst_startup.moc"
