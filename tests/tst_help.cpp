// The help program: its window, its five topics and the program file itself.
#include "help/help.h"
#include "help/helpwindow.h"

#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "uitest.h"

#include <QApplication>

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <csignal>

using help::HelpWindow;

namespace {

const QString introduction = QStringLiteral("这是一个制作QQ皮肤的工具,比以前的2个版本有了许多改进,");

const QString howToText = QStringLiteral(
    "本程序有8个默认音乐，都保存在本程序中“music”文件夹中。可以选择默认的音乐，除了这8个默认音乐之外，用户还可以使用“Mo"
    "rvane背景音乐添加程序”来自行添加音乐。在运行本程序前，先打开你的QQ文件夹中的skins这个文件夹，这个文件夹中存放着你"
    "的QQ的所有皮肤，在它里面新建一个文件夹，名字为你的QQ皮肤名字，例如，你想要制作的皮肤的名称为“你好”，那么，这个文件"
    "夹的名称为“你好”。然后将你制作QQ皮肤所用到的所有图片都放在那里。然后在本程序中“输入背景图片名称”选项中输入的的背景"
    "图片的名称（需要扩展名，图片必须是JPG格式的），在“宽度与高度”选项中输入你的图片的宽与高（可以省略），在“标题栏”选"
    "项中选择是否需要标题栏，如果需要，输入标题栏图片的名称。在“菜单”选项中输入菜单LOGO图片名称（LOGO图片为QQ菜单中左边"
    "的图片），在“皮肤路径”中输入你刚才新建的文件夹的完整路径，点“生成”就可以了。");

struct Button {
    const char *name;
    const char *caption;
};

// Top to bottom in the frame.
const Button buttons[] = {
    {"Command1", "程序简介"}, {"Command2", "如何使用"}, {"Command3", "破解说明"},
    {"Command5", "赞助作者"}, {"Command6", "软件信息"},
};

} // namespace

class HelpTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensEmptyWithItsFiveTopics();
    void buttonsAreEqualAndEvenlySpaced();
    void eachButtonShowsItsTopic();
    void topicsReplaceEachOtherAndNeverAccumulate();
    void howToTextIsTheExactParagraph();
    void everyTopicFitsTheTextArea();
    void startsMinimizedWhenAsked();
    void programFileCarriesItsName();
    void survivesAFileSizeLimit();

private:
    HelpWindow *form1() const { return testsupport::existingWindow<HelpWindow>(); }
    QLabel *label1() const { return form1()->findChild<QLabel *>(QStringLiteral("Label1")); }
    QString click(const char *name);

    std::unique_ptr<platform::NoticeRecorder> m_notices;
};

void HelpTest::init()
{
    m_notices = std::make_unique<platform::NoticeRecorder>();
    help::start();
    QVERIFY(form1());
    QVERIFY(form1()->isVisible());
    QVERIFY(label1());
}

void HelpTest::cleanup()
{
    testsupport::destroyAllWindows();
    // Clicks show nothing but the text: no box ever appears.
    QVERIFY2(m_notices->records().isEmpty(), qPrintable(m_notices->texts().join(u'\n')));
    m_notices.reset();
}

// Clicks the button like a user and returns what the text area then shows.
QString HelpTest::click(const char *name)
{
    auto *button = form1()->findChild<QPushButton *>(QLatin1String(name));
    if (!button) {
        QTest::qFail(qPrintable(QStringLiteral("no button %1").arg(QLatin1String(name))), __FILE__, __LINE__);
        return {};
    }
    QTest::mouseClick(button, Qt::LeftButton);
    return label1()->text();
}

void HelpTest::opensEmptyWithItsFiveTopics()
{
    HelpWindow *window = form1();
    QCOMPARE(window->windowTitle(), QStringLiteral("帮助"));
    QCOMPARE(platform::programTitle(), QStringLiteral("帮助"));
    QCOMPARE(window->palette().color(QPalette::Window), QColor(63, 197, 254));
    QVERIFY(!window->windowIcon().isNull());

    QLabel *label = label1();
    QVERIFY(label->text().isEmpty());
    QVERIFY(label->wordWrap());
    QCOMPARE(label->textInteractionFlags(), Qt::NoTextInteraction);
    QCOMPARE(label->textFormat(), Qt::PlainText);
    // What the user sees: the area and the frame on the window's blue.
    const QImage shot = window->grab().toImage();
    QCOMPARE(shot.pixelColor(label->geometry().center()), QColor(63, 197, 254));
    QCOMPARE(shot.pixelColor(label->geometry().bottomRight() - QPoint(2, 2)), QColor(63, 197, 254));

    FIND(QGroupBox, frame1, window, "Frame1");
    QCOMPARE(frame1->title(), QStringLiteral("选项"));
    // The text area stands right of the frame and is nearly as high as it.
    QCOMPARE(label->parentWidget(), window);
    QVERIFY(label->x() > frame1->geometry().right());
    QVERIFY(label->height() >= frame1->height() * 9 / 10);
    QVERIFY(label->height() <= frame1->height());

    const QList<QPushButton *> all = window->findChildren<QPushButton *>();
    QCOMPARE(all.size(), 5);
    const QCursor hand = platform::look::pointingHand();
    for (const Button &expected : buttons) {
        auto *button = window->findChild<QPushButton *>(QLatin1String(expected.name));
        QVERIFY2(button, expected.name);
        QCOMPARE(button->text(), QString::fromUtf8(expected.caption));
        QCOMPARE(button->parentWidget(), frame1);
        QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(button->cursor().hotSpot(), hand.hotSpot());
        QCOMPARE(button->cursor().pixmap().toImage(), hand.pixmap().toImage());
    }
}

void HelpTest::buttonsAreEqualAndEvenlySpaced()
{
    FIND(QGroupBox, frame1, form1(), "Frame1");
    QList<QRect> places;
    for (const Button &expected : buttons) {
        auto *button = form1()->findChild<QPushButton *>(QLatin1String(expected.name));
        QVERIFY2(button, expected.name);
        QVERIFY(button->isVisible());
        places << button->geometry();
    }
    const int gap = places[1].top() - places[0].bottom();
    QVERIFY(gap > 0);
    for (int i = 0; i < places.size(); ++i) {
        QCOMPARE(places[i].size(), places[0].size());
        QCOMPARE(places[i].left(), places[0].left());
        QVERIFY(frame1->contentsRect().contains(places[i]));
        if (i > 0)
            QCOMPARE(places[i].top() - places[i - 1].bottom(), gap);
    }
    // The column keeps clear of the frame's caption and sits in the middle of the frame.
    QVERIFY(places.first().top() > frame1->fontMetrics().height());
    QVERIFY(qAbs(places.first().left() - (frame1->width() - places.first().right() - 1)) <= 2);
}

void HelpTest::eachButtonShowsItsTopic()
{
    QCOMPARE(click("Command1"), introduction);
    QCOMPARE(click("Command2"), howToText);

    // The author's own note: who writes, and where questions go.
    const QString personal = click("Command3");
    QVERIFY(personal.contains(QStringLiteral("morvane@example.com")));
    QVERIFY(personal.contains(u'我'));

    // Sponsoring: a postal address, and the wish for free web space.
    const QString sponsor = click("Command5");
    QVERIFY(sponsor.contains(QStringLiteral("赞助")));
    QVERIFY(sponsor.contains(QStringLiteral("邮编")));
    QVERIFY(sponsor.contains(QStringLiteral("免费的网页空间")));

    // This version: asked for after the last one, blue, comments by e-mail.
    const QString version = click("Command6");
    QVERIFY(version.contains(QStringLiteral("上一个版本")));
    QVERIFY(version.contains(QStringLiteral("蓝色")));
    QVERIFY(version.contains(QStringLiteral("morvane@example.com")));

    const QStringList texts{introduction, howToText, personal, sponsor, version};
    QCOMPARE(QSet<QString>(texts.begin(), texts.end()).size(), 5);
    // Contacts are placeholders only: the one e-mail address anywhere is ours under example.com.
    for (const QString &text : texts) {
        const qsizetype at = text.indexOf(u'@');
        if (at >= 0)
            QCOMPARE(text.mid(at), QStringLiteral("@example.com"));
    }
}

void HelpTest::topicsReplaceEachOtherAndNeverAccumulate()
{
    QCOMPARE(click("Command2"), howToText);
    QCOMPARE(click("Command1"), introduction);

    // Any order, any repetition: the area shows the last button's text and nothing else.
    QHash<QByteArray, QString> first;
    for (const Button &button : buttons)
        first.insert(button.name, click(button.name));
    const char *sequence[] = {"Command6", "Command6", "Command2", "Command3", "Command1", "Command5",
                              "Command2", "Command2", "Command6", "Command3", "Command5", "Command1"};
    for (const char *name : sequence)
        QCOMPARE(click(name), first.value(name));

    // Buttons stay as they were.
    for (const Button &button : buttons) {
        auto *control = form1()->findChild<QPushButton *>(QLatin1String(button.name));
        QCOMPARE(control->text(), QString::fromUtf8(button.caption));
        QVERIFY(control->isEnabled());
    }
}

void HelpTest::howToTextIsTheExactParagraph()
{
    const QString text = click("Command2");
    QCOMPARE(text.size(), 409);
    QCOMPARE(text.toUtf8(), howToText.toUtf8());
    QCOMPARE(text.count(QStringLiteral("“")), 10);
    QCOMPARE(text.count(QStringLiteral("”")), 10);
    QVERIFY(!text.contains(u'\n'));
}

void HelpTest::everyTopicFitsTheTextArea()
{
    QLabel *label = label1();
    for (const Button &button : buttons) {
        const QString text = click(button.name);
        QVERIFY(!text.isEmpty());
        // Wrapped at the area's width, the whole text fits its height: nothing is cut off.
        const int needed = label->heightForWidth(label->width());
        QVERIFY2(needed > 0 && needed <= label->height(),
                 qPrintable(QStringLiteral("%1 needs %2 of %3 pixels")
                                .arg(QLatin1String(button.name))
                                .arg(needed)
                                .arg(label->height())));
    }
}

void HelpTest::startsMinimizedWhenAsked()
{
    QVERIFY(!form1()->isMinimized());
    testsupport::destroyAllWindows();

    qputenv("MORVANE_START_MINIMIZED", "1");
    help::start();
    QVERIFY(form1());
    QVERIFY(form1()->isMinimized());
    // The request is used up: programs we start do not inherit it.
    QVERIFY(!qEnvironmentVariableIsSet("MORVANE_START_MINIMIZED"));
    QVERIFY(label1()->text().isEmpty());
}

void HelpTest::programFileCarriesItsName()
{
    QCOMPARE(QByteArray(help::version), QByteArray("3.00"));

    const QString binDir = qEnvironmentVariable("MORVANE_BIN_DIR");
    if (binDir.isEmpty())
        QSKIP("MORVANE_BIN_DIR is not set; run through CTest");
#ifdef Q_OS_WIN
    const QFileInfo program(binDir + QStringLiteral("/帮助.exe"));
#else
    const QFileInfo program(binDir + QStringLiteral("/帮助"));
#endif
    QVERIFY2(program.isFile() && program.isExecutable(), qPrintable(program.filePath()));

    // The real program starts and keeps its window open until it is closed.
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(program.filePath(), {});
    QVERIFY2(process.waitForStarted(5000), qPrintable(process.errorString()));
    QVERIFY(!process.waitForFinished(1500));
    QCOMPARE(process.state(), QProcess::Running);
    process.kill();
    process.waitForFinished(5000);
}

void HelpTest::survivesAFileSizeLimit()
{
    // Started, the program ignores the signal a write past the user's file-size limit raises,
    // so such a write fails with an error instead of ending it.
    struct sigaction action {};
    QCOMPARE(::sigaction(SIGXFSZ, nullptr, &action), 0);
    QVERIFY(action.sa_handler == SIG_IGN);
}

MORVANE_TEST_MAIN(HelpTest)
#include "tst_help.moc"
