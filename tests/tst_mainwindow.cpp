// The main window: its fields, menus and the generate action that writes skin.ini.
#include "skinmaker/authoring/buttonoptionswindow.h"
#include "skinmaker/authoring/checkwindow.h"
#include "skinmaker/shell/mainwindow.h"

#include "platform/core/settings.h"
#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"
#include "skinmaker/shell/program.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

using skinmaker::authoring::ButtonOptionsWindow;
using skinmaker::shell::MainWindow;
using testsupport::gbk;
using testsupport::locationNotice;
using testsupport::readBytes;

namespace {

const QByteArray emptyBlock = "[main]\r\ntile=\r\nminwidth=\r\nminheight=\r\nmaxwidth=\r\n"
                              "[menu]\r\ncolor_red=141\r\ncolor_green=166\r\ncolor_blue=204\r\nlogo=\r\n";

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void opensWithTheDesignedLook();
    void hasTheWholeMenuBar();
    void pointersAsDesigned_data();
    void pointersAsDesigned();
    void textBoxesKeepTheirEditingKeys();

    void generateWritesTheBasicBlock_data();
    void generateWritesTheBasicBlock();
    void generateAppendsAfterWhatIsThere();
    void generateReachesTheWinePrefixByDefault();
    void generateUsesTheVersionFolderAndKeepsDoubledSeparators();
    void secondGenerateWarnsOfRepeatedSections();
    void checkSkinListsFindingsAndTidies();

    void missingVersionStopsTheAction();
    void emptyInstallPathStopsTheAction();
    void unusableSkinNameStopsTheAction_data();
    void unusableSkinNameStopsTheAction();
    void charactersGbkCannotHoldStopTheAction();
    void failedWriteIsReportedAndChangesNothing();
    void noticesSayWhereADrivePathWasLookedFor_data();
    void noticesSayWhereADrivePathWasLookedFor();

    void newSkinAnsweredNoChangesNothing();
    void newSkinClearsFieldsAndButtonOptions();
    void titleBarCheckBoxOnlyEnablesItsBox();
    void tipsOnWritesTheSetting();
    void exitEndsAtOnce();
    void frameCloseKeepsOtherWindowsRunning();

private:
    MainWindow *form1() const { return m_session.form1(); }
    QLineEdit *box(const char *name) const { return m_session.box(name); }
    void fillLocation(const QString &installPath, const QString &skinName, const char *option)
    {
        m_session.fillLocation(installPath, skinName, option);
    }
    void clickGenerate() { QVERIFY(testsupport::clickButton(form1())); }

    testsupport::SkinmakerSession m_session;
};

void MainWindowTest::init()
{
    m_session.start();
    QVERIFY(form1());
    QVERIFY(form1()->isVisible());
}

void MainWindowTest::cleanup()
{
    m_session.finish();
}

void MainWindowTest::opensWithTheDesignedLook()
{
    MainWindow *window = form1();
    QCOMPARE(window->windowTitle(), QStringLiteral("Morvane V3.2"));
    QCOMPARE(window->centralWidget()->size(), QSize(688, 445));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(window->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(window->palette().color(QPalette::Window), QColor(63, 197, 254));
    QCOMPARE(box("Text1")->palette().color(QPalette::Base), QColor(175, 231, 254));
    QVERIFY(!window->windowIcon().isNull());

    const struct {
        const char *name;
        const char *title;
        QRect twips;
    } frames[] = {
        {"Frame1", "背景", {120, 120, 10095, 735}},    {"Frame2", "宽度与高度", {120, 960, 10095, 735}},
        {"Frame3", "标题栏", {120, 1800, 10095, 735}}, {"Frame4", "菜单", {120, 2640, 10095, 1335}},
        {"Frame5", "生成", {120, 4080, 10095, 2535}},
    };
    for (const auto &frame : frames) {
        auto *group = window->findChild<QGroupBox *>(QLatin1String(frame.name));
        QVERIFY2(group, frame.name);
        QCOMPARE(group->title(), QString::fromUtf8(frame.title));
        QCOMPARE(
            group->geometry(),
            platform::look::twipsRect(frame.twips.x(), frame.twips.y(), frame.twips.width(), frame.twips.height()));
    }

    // Each caption sits in its own frame, left of its box.
    const struct {
        const char *label;
        const char *caption;
        const char *box;
        const char *frame;
    } rows[] = {
        {"Label1", "输入背景图片名称", "Text1", "Frame1"},   {"Label2", "高度", "Text2", "Frame2"},
        {"Label4", "宽度 (小)", "Text4", "Frame2"},          {"Label3", "宽度(大)", "Text3", "Frame2"},
        {"Label5", "标题栏按钮图片名称", "Text5", "Frame3"}, {"Label6", "主菜单中logo图片名称", "Text6", "Frame4"},
        {"Label8", "QQ安装路径", "Text7", "Frame5"},         {"Label7", "生成的QQ皮肤名称:", "Text8", "Frame5"},
    };
    for (const auto &row : rows) {
        auto *label = window->findChild<QLabel *>(QLatin1String(row.label));
        QLineEdit *edit = box(row.box);
        QVERIFY2(label && edit, row.label);
        QCOMPARE(label->text(), QString::fromUtf8(row.caption));
        QCOMPARE(label->parentWidget()->objectName(), QLatin1String(row.frame));
        QCOMPARE(edit->parentWidget()->objectName(), QLatin1String(row.frame));
        QVERIFY(label->geometry().right() <= edit->geometry().left());
        QVERIFY(edit->text().isEmpty() == (qstrcmp(row.box, "Text7") != 0));
    }
    // The size row reads 高度, 宽度 (小), 宽度(大) from left to right.
    QVERIFY(box("Text2")->x() < box("Text4")->x());
    QVERIFY(box("Text4")->x() < box("Text3")->x());

    QCOMPARE(box("Text7")->text(), QStringLiteral("C:\\Program Files\\Tencent\\qq"));
    QVERIFY(!box("Text5")->isEnabled());
    FIND(QRadioButton, option1, window, "Option1");
    FIND(QRadioButton, option2, window, "Option2");
    QCOMPARE(option1->text(), QStringLiteral("2003及其之前的版本"));
    QCOMPARE(option2->text(), QStringLiteral("2004"));
    QVERIFY(!option1->isChecked() && !option2->isChecked());
    QVERIFY(option1->x() < option2->x());
    FIND(QCheckBox, check1, window, "Check1");
    QCOMPARE(check1->text(), QStringLiteral("有标题栏"));
    QVERIFY(!check1->isChecked());
    FIND(QPushButton, generate, window, "Command1");
    QCOMPARE(generate->text(), QStringLiteral("生成"));
    FIND(QPushButton, browse, window, "Command2");
    QCOMPARE(browse->text(), QStringLiteral("浏览"));
    FIND(QLabel, label9, window, "Label9");
    QVERIFY(label9->text().startsWith(QStringLiteral("(在QQ的安装目录下有一个skins文件夹")));
    FIND(QLabel, label10, window, "Label10");
    QVERIFY(label10->text().startsWith(QStringLiteral("选择你的QQ的版本")));

    // Nothing overlaps another control in the same frame, and everything fits its frame.
    for (QGroupBox *frame : window->findChildren<QGroupBox *>()) {
        const QList<QWidget *> controls = frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
        for (QWidget *control : controls) {
            QVERIFY2(frame->rect().contains(control->geometry()), qPrintable(control->objectName()));
            for (QWidget *other : controls) {
                if (other != control && !other->objectName().isEmpty() && !control->objectName().isEmpty())
                    QVERIFY2(!control->geometry().intersects(other->geometry()),
                             qPrintable(control->objectName() + QStringLiteral(" overlaps ") + other->objectName()));
            }
        }
    }
}

void MainWindowTest::pointersAsDesigned_data()
{
    QTest::addColumn<QString>("control"); // "" for the window's own background
    QTest::addColumn<bool>("windowPointer");
    QTest::newRow("background") << QString() << true;
    for (const char *name : {"Command1", "Command2", "Check1"})
        QTest::newRow(name) << QString::fromLatin1(name) << true;
    for (const char *name : {"Frame1", "Frame5", "Label1", "Label9", "Option1", "Option2"})
        QTest::newRow(name) << QString::fromLatin1(name) << false;
}

void MainWindowTest::pointersAsDesigned()
{
    QFETCH(QString, control);
    QFETCH(bool, windowPointer);
    QWidget *widget = control.isEmpty() ? form1() : form1()->findChild<QWidget *>(control);
    QVERIFY(widget);
    const bool showsWindowPointer = widget->cursor().shape() == Qt::BitmapCursor
        && widget->cursor().pixmap().toImage() == platform::look::mainCursor().pixmap().toImage();
    QCOMPARE(showsWindowPointer, windowPointer);
    QVERIFY(form1()->menuBar()->cursor().shape() != Qt::BitmapCursor);
}

void MainWindowTest::hasTheWholeMenuBar()
{
    const QList<QAction *> topLevel = form1()->menuBar()->actions();
    QStringList names;
    for (QAction *action : topLevel)
        names << action->objectName() + u'=' + action->text();
    QCOMPARE(names,
             (QStringList{QStringLiteral("file=文件[&F]"), QStringLiteral("qw=控制[&C]"), QStringLiteral("ga=高级[&S]"),
                          QStringLiteral("tool=工具[T]"), QStringLiteral("help=帮助[&H]")}));

    const struct {
        const char *menu;
        const char *name;
        const char *caption;
        QKeySequence shortcut;
    } items[] = {
        {"file", "new", "新建", QKeySequence(QStringLiteral("Ctrl+N"))},
        {"file", "exit", "退出", QKeySequence(QStringLiteral("Ctrl+E"))},
        {"qw", "sh", "启动显示每日提示", QKeySequence()},
        {"music", "choose", "选择音乐", QKeySequence(QStringLiteral("Ctrl+C"))},
        {"music", "start", "开始播放", QKeySequence(QStringLiteral("Ctrl+P"))},
        {"music", "stop", "停止播放", QKeySequence(QStringLiteral("Ctrl+F12"))},
        {"ga", "ASSDFGHJKL", "预览", QKeySequence(QStringLiteral("Ctrl+F1"))},
        {"ga", "g", "按钮", QKeySequence(QStringLiteral("Ctrl+B"))},
        {"ga", "copyright", "版权", QKeySequence(QStringLiteral("Ctrl+Shift+F1"))},
        {"tool", "music2", "背景音乐添加程序", QKeySequence(QStringLiteral("Ctrl+M"))},
        {"help", "hhh", "帮助", QKeySequence(QStringLiteral("Ctrl+H"))},
        {"help", "about", "关于", QKeySequence(QStringLiteral("Ctrl+A"))},
    };
    for (const auto &item : items) {
        auto *menu = form1()->findChild<QMenu *>(QLatin1String(item.menu));
        QVERIFY2(menu, item.menu);
        QAction *action = nullptr;
        for (QAction *candidate : menu->actions()) {
            if (candidate->objectName() == QLatin1String(item.name))
                action = candidate;
        }
        QVERIFY2(action, item.name);
        QCOMPARE(action->text(), QString::fromUtf8(item.caption));
        QCOMPARE(action->shortcut(), item.shortcut);
        QVERIFY(action->isEnabled() && action->isVisible() && !action->isChecked());
    }
    auto *music = form1()->findChild<QMenu *>(QStringLiteral("music"));
    QCOMPARE(music->menuAction()->text(), QStringLiteral("音乐"));
    QVERIFY(form1()->findChild<QMenu *>(QStringLiteral("qw"))->actions().contains(music->menuAction()));
}

void MainWindowTest::textBoxesKeepTheirEditingKeys()
{
    form1()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form1()));
    auto *about = form1()->findChild<QAction *>(QStringLiteral("about"));
    auto *newSkin = form1()->findChild<QAction *>(QStringLiteral("new"));
    QSignalSpy aboutSpy(about, &QAction::triggered);
    QSignalSpy newSpy(newSkin, &QAction::triggered);

    QLineEdit *text1 = box("Text1");
    text1->setText(QStringLiteral("bg.bmp"));
    text1->setFocus();
    QTest::keyClick(text1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(text1->selectedText(), QStringLiteral("bg.bmp"));
    QCOMPARE(aboutSpy.count(), 0);

    // Elsewhere in the window the menu shortcuts act.
    auto *generate = form1()->findChild<QPushButton *>(QStringLiteral("Command1"));
    generate->setFocus();
    QTest::keyClick(generate, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(newSpy.count(), 1);
    QCOMPARE(m_session.notices().texts(), QStringList{QStringLiteral("新建将会清空未生成的内容,是否继续?")});
}

void MainWindowTest::generateWritesTheBasicBlock_data()
{
    QTest::addColumn<QStringList>("texts"); // Text1, Text2, Text3, Text4, Text6
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("all boxes empty") << QStringList{{}, {}, {}, {}, {}} << emptyBlock;
    QTest::newRow("distinct values cross as designed")
        << QStringList{QStringLiteral("bg.bmp"), QStringLiteral("high 2"), QStringLiteral("wide 3"),
                       QStringLiteral("narrow 4"), QStringLiteral("logo.bmp")}
        << QByteArray("[main]\r\ntile=bg.bmp\r\nminwidth=narrow 4\r\nminheight=wide 3\r\nmaxwidth=high 2\r\n"
                      "[menu]\r\ncolor_red=141\r\ncolor_green=166\r\ncolor_blue=204\r\nlogo=logo.bmp\r\n");
    QTest::newRow("chinese values in gbk")
        << QStringList{QStringLiteral("蓝天.jpg"), QStringLiteral(" 12 "), QString(), QString(), QStringLiteral("标志")}
        << QByteArray("[main]\r\ntile=\xc0\xb6\xcc\xec.jpg\r\nminwidth=\r\nminheight=\r\nmaxwidth= 12 \r\n"
                      "[menu]\r\ncolor_red=141\r\ncolor_green=166\r\ncolor_blue=204\r\nlogo=\xb1\xea\xd6\xbe\r\n");
}

void MainWindowTest::generateWritesTheBasicBlock()
{
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    const char *names[] = {"Text1", "Text2", "Text3", "Text4", "Text6"};
    for (int i = 0; i < 5; ++i)
        box(names[i])->setText(texts.at(i));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");

    clickGenerate();

    const QString windowsPath = m_session.install() + QStringLiteral("\\skins\\蓝天\\skin.ini");
    QCOMPARE(m_session.notices().texts(), (QStringList{locationNotice(windowsPath), QStringLiteral("生成成功!")}));
    for (const platform::NoticeRecord &record : m_session.notices().records()) {
        QCOMPARE(record.title, QStringLiteral("提示"));
        QCOMPARE(record.icon, QMessageBox::Information);
        QCOMPARE(record.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
    QCOMPARE(readBytes(m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"))), expected);
    // The boxes keep their texts for the next click.
    QCOMPARE(box("Text1")->text(), texts.at(0));
}

void MainWindowTest::generateAppendsAfterWhatIsThere()
{
    const QString file = m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"));
    QVERIFY(testsupport::writeBytes(file, "[SkinInfo]\r\nRemark=no line end"));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");

    clickGenerate();
    clickGenerate();

    QCOMPARE(readBytes(file), QByteArray("[SkinInfo]\r\nRemark=no line end") + emptyBlock + emptyBlock);
    // The second one also warns of the repeated sections (secondGenerateWarnsOfRepeatedSections).
    QCOMPARE(m_session.notices().texts().filter(QRegularExpression(QStringLiteral("^生成成功!"))).size(), 2);
}

void MainWindowTest::generateReachesTheWinePrefixByDefault()
{
    // The default install path is the QQ client in the user's Wine prefix.
    const QString skinFolder =
        qEnvironmentVariable("WINEPREFIX") + QStringLiteral("/drive_c/Program Files/Tencent/qq/NewSkins/夏天");
    QVERIFY(QDir().mkpath(skinFolder));
    fillLocation(MainWindow::defaultInstallPath, QStringLiteral("夏天"), "Option2");

    clickGenerate();

    QCOMPARE(
        m_session.notices().texts().first(),
        QStringLiteral("您要生成的文件为C:\\Program Files\\Tencent\\qq\\NewSkins\\夏天\\skin.ini如果确认无误请点确定"));
    QCOMPARE(readBytes(skinFolder + QStringLiteral("/skin.ini")), emptyBlock);
    QVERIFY(QDir(skinFolder).removeRecursively());
}

void MainWindowTest::generateUsesTheVersionFolderAndKeepsDoubledSeparators()
{
    fillLocation(m_session.install() + u'\\', QStringLiteral("蓝天"), "Option2");
    clickGenerate();
    const QString windowsPath = m_session.install() + QStringLiteral("\\\\NewSkins\\蓝天\\skin.ini");
    QCOMPARE(m_session.notices().texts().first(), locationNotice(windowsPath));
    QCOMPARE(readBytes(m_session.installFile(QStringLiteral("NewSkins/蓝天/skin.ini"))), emptyBlock);
    QVERIFY(!QFileInfo::exists(m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"))));
}

void MainWindowTest::secondGenerateWarnsOfRepeatedSections()
{
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    const QString successNotice = QStringLiteral("生成成功!");

    clickGenerate();
    QCOMPARE(m_session.notices().texts().last(), successNotice);

    clickGenerate();
    const QStringList lines = m_session.notices().texts().last().split(u'\n');
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(), successNotice);
    QVERIFY2(lines.last().contains(QStringLiteral("[main]")) && lines.last().contains(QStringLiteral("[menu]")),
             qPrintable(lines.last()));
    // Appending itself is unchanged.
    QCOMPARE(readBytes(m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"))), emptyBlock + emptyBlock);
}

void MainWindowTest::checkSkinListsFindingsAndTidies()
{
    const QString file = m_session.installFile(QStringLiteral("NewSkins/蓝天/skin.ini"));
    QVERIFY(testsupport::writeBytes(file, "[main]\r\ntile=gone.bmp\r\n[main]\r\ntile=new.bmp\r\n"));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option2");

    TRIGGER(form1(), "checkskin");
    auto *window = testsupport::existingWindow<skinmaker::authoring::CheckWindow>();
    QVERIFY(window && window->isVisible());
    // The missing picture, the later [main] and its tile.
    QTRY_COMPARE(window->table()->rowCount(), 3);
    QCOMPARE(window->table()->item(0, 3)->text(), QStringLiteral("gone.bmp"));

    m_session.notices().clear();
    m_session.notices().queueAnswer(QMessageBox::Yes);
    FIND(QPushButton, tidy, window, "整理");
    QTest::mouseClick(tidy, Qt::LeftButton);
    // It asked first, naming the value that will take effect.
    QVERIFY(m_session.notices().records().first().buttons.testFlag(QMessageBox::No));
    QVERIFY(m_session.notices().records().first().text.contains(QStringLiteral("new.bmp")));
    QCOMPARE(readBytes(file), QByteArray("[main]\r\ntile=new.bmp\r\n"));
    QCOMPARE(readBytes(file + QStringLiteral(".bak")),
             QByteArray("[main]\r\ntile=gone.bmp\r\n[main]\r\ntile=new.bmp\r\n"));
    // Checked again: only new.bmp, which is missing too, is left.
    QTRY_COMPARE(window->table()->rowCount(), 1);
    QCOMPARE(window->table()->item(0, 3)->text(), QStringLiteral("new.bmp"));
}

void MainWindowTest::missingVersionStopsTheAction()
{
    fillLocation(m_session.install(), QStringLiteral("蓝天"), nullptr);
    const auto before = testsupport::snapshot(m_session.install());
    clickGenerate();
    QCOMPARE(m_session.notices().texts(), QStringList{QStringLiteral("请选择版本!")});
    QCOMPARE(m_session.notices().records().first().title, QStringLiteral("提示"));
    QCOMPARE(testsupport::snapshot(m_session.install()), before);
}

void MainWindowTest::emptyInstallPathStopsTheAction()
{
    // Otherwise the file would land in \skins at the root of the current drive.
    fillLocation(QString(), QStringLiteral("蓝天"), "Option1");
    clickGenerate();
    QCOMPARE(m_session.notices().texts(), QStringList{QStringLiteral("您没有输入路径")});
    QVERIFY(!QFileInfo::exists(QStringLiteral("/skins")));
}

void MainWindowTest::unusableSkinNameStopsTheAction_data()
{
    QTest::addColumn<QString>("skinName");
    QTest::newRow("empty") << QString();
    QTest::newRow("dot") << QStringLiteral(".");
    QTest::newRow("dot dot") << QStringLiteral("..");
    QTest::newRow("backslash") << QStringLiteral("..\\..\\x");
    QTest::newRow("slash") << QStringLiteral("蓝天/x");
    QTest::newRow("colon") << QStringLiteral("a:b");
    QTest::newRow("star") << QStringLiteral("a*");
    QTest::newRow("question mark") << QStringLiteral("a?");
    QTest::newRow("quote") << QStringLiteral("a\"b");
    QTest::newRow("angle brackets") << QStringLiteral("<a>");
    QTest::newRow("bar") << QStringLiteral("a|b");
    QTest::newRow("control character") << QStringLiteral("a\tb");
    // Invisible, or reordering what the user reads: "skin\u202Egpj" shows as another name.
    QTest::newRow("DEL") << QStringLiteral("a\x7f");
    QTest::newRow("next line U+0085") << QString(QStringLiteral("a") + QChar(0x85));
    QTest::newRow("line separator") << QString(QStringLiteral("a") + QChar(0x2028));
    QTest::newRow("right-to-left override") << QString(QStringLiteral("skin") + QChar(0x202E) + QStringLiteral("gpj"));
}

void MainWindowTest::unusableSkinNameStopsTheAction()
{
    QFETCH(QString, skinName);
    fillLocation(m_session.install(), skinName, "Option1");
    const auto before = testsupport::snapshot(m_session.install());
    clickGenerate();
    QCOMPARE(m_session.notices().texts().size(), 1);
    QVERIFY(m_session.notices().texts().first().startsWith(QStringLiteral("生成的QQ皮肤名称不能用作文件夹名称!")));
    QCOMPARE(testsupport::snapshot(m_session.install()), before);
}

void MainWindowTest::charactersGbkCannotHoldStopTheAction()
{
    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");
    const QString file = m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"));
    QVERIFY(testsupport::writeBytes(file, "keep\r\n"));
    box("Text1")->setText(QStringLiteral("bg") + smile + QStringLiteral(".bmp"));
    box("Text6")->setText(QStringLiteral("标志.bmp"));
    box("Text3")->setText(QString::fromUtf8("\xe1\x84\x80"));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");

    clickGenerate();

    QCOMPARE(m_session.notices().texts().size(), 1);
    const QString text = m_session.notices().texts().first();
    QVERIFY2(text.contains(QStringLiteral("输入背景图片名称")) && text.contains(smile), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("宽度(大)")) && text.contains(QString::fromUtf8("\xe1\x84\x80")),
             qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("主菜单中logo图片名称")));
    QCOMPARE(readBytes(file), QByteArray("keep\r\n"));
}

void MainWindowTest::failedWriteIsReportedAndChangesNothing()
{
    // The skin folder was never made: nothing is created anywhere.
    fillLocation(m_session.install(), QStringLiteral("秋天"), "Option1");
    const auto before = testsupport::snapshot(m_session.install());
    clickGenerate();
    QCOMPARE(m_session.notices().texts().size(), 2);
    QVERIFY(
        m_session.notices().texts().at(1).contains(m_session.install() + QStringLiteral("\\skins\\秋天\\skin.ini")));
    QVERIFY(m_session.notices().texts().at(1).contains(QStringLiteral("皮肤文件夹不存在")));
    QVERIFY(!m_session.notices().texts().contains(QStringLiteral("生成成功!")));
    QCOMPARE(testsupport::snapshot(m_session.install()), before);

    // A read-only skin.ini keeps its text.
    m_session.notices().clear();
    const QString file = m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"));
    QVERIFY(testsupport::writeBytes(file, "[main]\r\n"));
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    clickGenerate();
    QCOMPARE(m_session.notices().texts().size(), 2);
    QVERIFY(m_session.notices().texts().at(1).contains(QStringLiteral("只读")));
    QCOMPARE(readBytes(file), QByteArray("[main]\r\n"));

    // A write that breaks half-way (a full disk) leaves no half block behind.
    m_session.notices().clear();
    const QString full = m_session.installFile(QStringLiteral("NewSkins/蓝天/skin.ini"));
    QVERIFY(testsupport::writeBytes(full, QByteArray(100, 'o')));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option2");
    {
        testsupport::FileSizeLimit limit(150);
        clickGenerate();
    }
    QCOMPARE(m_session.notices().texts().size(), 2);
    QVERIFY(m_session.notices().texts().at(1).startsWith(QStringLiteral("无法写入文件")));
    QCOMPARE(readBytes(full), QByteArray(100, 'o'));
}

void MainWindowTest::noticesSayWhereADrivePathWasLookedFor_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("wine");
    for (const char *action : {"generate", "preview"}) {
        QTest::addRow("%s, Wine without the skin", action) << QString::fromLatin1(action) << true;
        QTest::addRow("%s, no Wine at all", action) << QString::fromLatin1(action) << false;
    }
}

void MainWindowTest::noticesSayWhereADrivePathWasLookedFor()
{
    QFETCH(QString, action);
    QFETCH(bool, wine);
    const QByteArray savedPrefix = qgetenv("WINEPREFIX");
    const auto restore = qScopeGuard([&] { qputenv("WINEPREFIX", savedPrefix); });
    const QString prefix = m_session.installFile(QStringLiteral("wine"));
    if (wine)
        QVERIFY(QDir().mkpath(prefix + QStringLiteral("/drive_c")));
    qputenv("WINEPREFIX", QFile::encodeName(prefix));
    fillLocation(MainWindow::defaultInstallPath, QStringLiteral("蓝天"), "Option1");
    box("Text1")->setText(QStringLiteral("bg.bmp"));

    if (action == u"generate")
        clickGenerate();
    else
        TRIGGER(form1(), "ASSDFGHJKL");

    QCOMPARE(m_session.notices().texts().size(), 2);
    const QString notice = m_session.notices().texts().at(1);
    QVERIFY2(notice.contains(QStringLiteral("(在本机上的位置:") + prefix
                             + QStringLiteral("/drive_c/Program Files/Tencent/qq/skins/蓝天/")),
             qPrintable(notice));
    QCOMPARE(notice.contains(QStringLiteral("原因:找不到Wine的C盘(") + prefix + QStringLiteral("/drive_c)")), !wine);
}

void MainWindowTest::newSkinAnsweredNoChangesNothing()
{
    box("Text1")->setText(QStringLiteral("bg.bmp"));
    box("Text7")->setText(QStringLiteral("D:\\QQ"));
    ButtonOptionsWindow *form3 = m_session.program().window<ButtonOptionsWindow>().get();
    form3->box(4)->setText(QStringLiteral("down.bmp"));

    m_session.notices().queueAnswer(QMessageBox::No);
    TRIGGER(form1(), "new");

    QCOMPARE(m_session.notices().records().size(), 1);
    const platform::NoticeRecord &question = m_session.notices().records().first();
    QCOMPARE(question.text, QStringLiteral("新建将会清空未生成的内容,是否继续?"));
    QCOMPARE(question.title, QStringLiteral("提示"));
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.icon, QMessageBox::Information);
    QCOMPARE(box("Text1")->text(), QStringLiteral("bg.bmp"));
    QCOMPARE(box("Text7")->text(), QStringLiteral("D:\\QQ"));
    QCOMPARE(form3->box(4)->text(), QStringLiteral("down.bmp"));
}

void MainWindowTest::newSkinClearsFieldsAndButtonOptions()
{
    FIND(QCheckBox, check1, form1(), "Check1");
    FIND(QRadioButton, option2, form1(), "Option2");
    QTest::mouseClick(check1, Qt::LeftButton);
    option2->setChecked(true);
    const char *names[] = {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text8"};
    for (const char *name : names)
        box(name)->setText(QLatin1String(name));
    box("Text7")->setText(QStringLiteral("/home/me/qq"));
    QCOMPARE(testsupport::existingWindow<ButtonOptionsWindow>(), nullptr);

    m_session.notices().queueAnswer(QMessageBox::Yes);
    TRIGGER(form1(), "new");

    for (const char *name : names)
        QVERIFY2(box(name)->text().isEmpty(), name);
    QCOMPARE(box("Text7")->text(), QStringLiteral("C:\\Program Files\\Tencent\\qq"));
    QVERIFY(option2->isChecked());
    QVERIFY(check1->isChecked());
    QVERIFY(box("Text5")->isEnabled());

    // The never-opened button options window now exists, hidden and empty.
    ButtonOptionsWindow *form3 = testsupport::existingWindow<ButtonOptionsWindow>();
    QVERIFY(form3);
    QVERIFY(!form3->isVisible());
    for (int number = 1; number <= ButtonOptionsWindow::boxCount; ++number)
        QVERIFY(form3->box(number)->text().isEmpty());

    // An open one is cleared in place and stays as it was shown.
    form3->show();
    form3->box(28)->setText(QStringLiteral("scroll.bmp"));
    form3->box(1)->setText(QStringLiteral("up.bmp"));
    m_session.notices().queueAnswer(QMessageBox::Yes);
    TRIGGER(form1(), "new");
    QCOMPARE(testsupport::existingWindow<ButtonOptionsWindow>(), form3);
    QVERIFY(form3->box(28)->text().isEmpty() && form3->box(1)->text().isEmpty());
    QVERIFY(form3->isVisible());
}

void MainWindowTest::titleBarCheckBoxOnlyEnablesItsBox()
{
    FIND(QCheckBox, check1, form1(), "Check1");
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(check1->isChecked());
    QVERIFY(box("Text5")->isEnabled());
    QTest::mouseClick(check1, Qt::LeftButton);
    QVERIFY(!check1->isChecked());
    QVERIFY(box("Text5")->isEnabled());

    // The title-bar box feeds nothing: the block stays the ten basic lines.
    box("Text5")->setText(QStringLiteral("title.bmp"));
    fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    clickGenerate();
    QCOMPARE(readBytes(m_session.installFile(QStringLiteral("skins/蓝天/skin.ini"))), emptyBlock);
}

void MainWindowTest::tipsOnWritesTheSetting()
{
    const QString key = QStringLiteral("在启动时显示提示");
    QVERIFY(platform::settings::write(QStringLiteral("Options"), key, QStringLiteral("0")));
    TRIGGER(form1(), "sh");
    QCOMPARE(platform::settings::read(QStringLiteral("Options"), key, QString()), QStringLiteral("1"));
    TRIGGER(form1(), "sh");
    QCOMPARE(platform::settings::read(QStringLiteral("Options"), key, QString()), QStringLiteral("1"));
    QVERIFY(m_session.notices().records().isEmpty());
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::count_if(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); }), 1);
}

void MainWindowTest::exitEndsAtOnce()
{
    m_session.program().window<ButtonOptionsWindow>().show();
    QTimer::singleShot(0, form1(), [this] { TRIGGER(form1(), "exit"); });
    QCOMPARE(testsupport::runEventLoop(), 0);
    QVERIFY(form1()->isVisible());
    QVERIFY(m_session.notices().records().isEmpty());
}

void MainWindowTest::frameCloseKeepsOtherWindowsRunning()
{
    QSignalSpy closedByFrame(form1(), &MainWindow::closedByFrame);

    // A window the user opened keeps the program running after the main window closes,
    // and can still read the main window's fields.
    ButtonOptionsWindow *form3 = m_session.program().window<ButtonOptionsWindow>().show();
    bool runningWithForm3 = false;
    QTimer::singleShot(0, form1(), [this] { form1()->close(); });
    QTimer::singleShot(100, form3, [&] {
        runningWithForm3 = form3->isVisible() && form1() && !form1()->isVisible()
            && form1()->location().installPath == MainWindow::defaultInstallPath;
        form3->close();
    });
    QCOMPARE(testsupport::runEventLoop(), 0);
    QVERIFY(runningWithForm3);
    QCOMPARE(closedByFrame.count(), 1);

    // A window that exists only hidden does not keep it running.
    skinmaker::shell::Program *again = testsupport::startSkinmaker();
    QVERIFY(again->window<ButtonOptionsWindow>().get()->isHidden());
    MainWindow *main = again->window<MainWindow>().existing();
    QTimer::singleShot(0, main, [main] { main->close(); });
    QCOMPARE(testsupport::runEventLoop(), 0);
}

MORVANE_TEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
