// The button options and skin information windows: their arrangement, the blocks they
// append to skin.ini, and how they behave when the write cannot be done.
#include "skinmaker/authoring/buttonoptionswindow.h"
#include "skinmaker/authoring/skininfowindow.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/widgets/look.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

using skinmaker::authoring::ButtonOptionsWindow;
using skinmaker::authoring::SkinInfoWindow;
using skinmaker::shell::MainWindow;
using testsupport::locationNotice;
using testsupport::readBytes;

namespace {

const QString buttonsNotice =
    QStringLiteral("请确定基本内容中的生成选项已经填写完毕,如果未填写完毕,将无法正确使用高级选项!");

const QStringList rowTexts{QStringLiteral("鼠标未放上去时的图片名称"), QStringLiteral("鼠标放上去时的图片名称"),
                           QStringLiteral("鼠标按下时的图片名称")};

const QByteArray emptyBasicBlock = "[main]\r\ntile=\r\nminwidth=\r\nminheight=\r\nmaxwidth=\r\n"
                                   "[menu]\r\ncolor_red=141\r\ncolor_green=166\r\ncolor_blue=204\r\nlogo=\r\n";

const QByteArray emptyButtonBlock = "[button1]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[button2]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[button3]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[button4]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[button5]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[button6]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[buttont1]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[buttont2]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[buttont3]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n"
                                    "[folder]\r\nstretch=\r\n";

const QByteArray emptySkinInfoBlock =
    "[SkinInfo]\r\nSkinName=\r\nMaker=\r\nCopyRight=\r\nTime=\r\nPreviewImage=\r\nRemark=\r\n";

QStringList boxTexts(QWidget *window)
{
    QStringList texts;
    for (int number = 1;; ++number) {
        auto *edit = window->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(number));
        if (!edit)
            return texts;
        texts << edit->text();
    }
}

int countTopLevel(const QString &name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [&](QWidget *w) { return w->objectName() == name; }));
}

// Whether two widgets of one window share a row: each one's vertical middle lies within the other.
bool onSameRow(const QWidget *a, const QWidget *b)
{
    const QRect ra(a->mapTo(a->window(), QPoint()), a->size());
    const QRect rb(b->mapTo(b->window(), QPoint()), b->size());
    return ra.top() <= rb.center().y() && rb.center().y() <= ra.bottom() && rb.top() <= ra.center().y()
        && ra.center().y() <= rb.bottom();
}

// No two named children of a widget overlap, and all lie inside it.
QString overlapProblem(QWidget *parent)
{
    const QList<QWidget *> children = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (child->objectName().isEmpty())
            continue;
        if (!parent->rect().contains(child->geometry()))
            return child->objectName() + QStringLiteral(" sticks out of ") + parent->objectName();
        for (QWidget *other : children) {
            if (other != child && !other->objectName().isEmpty() && child->geometry().intersects(other->geometry()))
                return child->objectName() + QStringLiteral(" overlaps ") + other->objectName();
        }
    }
    return {};
}

} // namespace

class SkinWindowsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void buttonOptionsWindowIsArrangedAsDesigned();
    void skinInfoWindowIsArrangedAsDesigned();

    void buttonOptionsAppendTheButtonBlock_data();
    void buttonOptionsAppendTheButtonBlock();
    void skinInfoAppendsItsBlock_data();
    void skinInfoAppendsItsBlock();
    void blocksFollowTheOrderOfTheActions();
    void locationIsReadWhenConfirmIsPressed();
    void secondConfirmWarnsOfRepeatedSections_data();
    void secondConfirmWarnsOfRepeatedSections();

    void refusedWriteKeepsTheWindowAndItsTexts_data();
    void refusedWriteKeepsTheWindowAndItsTexts();
    void closedWindowsReopenEmpty();

    void newClearsButtonOptionsWithoutShowingThem();
    void menuItemsShowOneWindowEach();

private:
    MainWindow *form1() const { return m_session.form1(); }
    void setLocation(const QString &installPath, const QString &skinName, const char *option)
    {
        m_session.fillLocation(installPath, skinName, option);
    }
    QWidget *openWindow(const QString &which);
    QWidget *existingWindow(const QString &which) const;
    void fill(QWidget *window, const QStringList &texts);
    void clickConfirm(QWidget *window) { QVERIFY(testsupport::clickButton(window)); }
    QString skinIni(const char *versionFolder = "skins", const QString &skinName = QStringLiteral("蓝天")) const;

    testsupport::SkinmakerSession m_session;
};

void SkinWindowsTest::init()
{
    m_session.start({QStringLiteral("skins/蓝天"), QStringLiteral("NewSkins/夏天")});
    QVERIFY(form1());
}

void SkinWindowsTest::cleanup()
{
    m_session.finish();
}

// Opens a window as the user does, from the main window's menu; null when that failed.
QWidget *SkinWindowsTest::openWindow(const QString &which)
{
    const QString problem =
        testsupport::triggerAction(form1(), which == u"Form3" ? QStringLiteral("g") : QStringLiteral("copyright"));
    if (!problem.isEmpty()) {
        qWarning("%s", qPrintable(problem));
        return nullptr;
    }
    QWidget *window = existingWindow(which);
    return window && window->isVisible() ? window : nullptr;
}

QWidget *SkinWindowsTest::existingWindow(const QString &which) const
{
    if (which == u"Form3")
        return testsupport::existingWindow<ButtonOptionsWindow>();
    return testsupport::existingWindow<SkinInfoWindow>();
}

void SkinWindowsTest::fill(QWidget *window, const QStringList &texts)
{
    for (int i = 0; i < texts.size(); ++i) {
        auto *edit = window->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(i + 1));
        QVERIFY(edit);
        edit->setText(texts.at(i));
    }
}

QString SkinWindowsTest::skinIni(const char *versionFolder, const QString &skinName) const
{
    return m_session.installFile(QLatin1String(versionFolder) + u'/' + skinName + QStringLiteral("/skin.ini"));
}

void SkinWindowsTest::buttonOptionsWindowIsArrangedAsDesigned()
{
    QWidget *window = openWindow(QStringLiteral("Form3"));
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->objectName(), QStringLiteral("Form3"));
    QCOMPARE(window->windowTitle(), QStringLiteral("按钮选项"));
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->palette().color(QPalette::Window), QColor(63, 197, 254));
    QVERIFY(!window->windowIcon().isNull());
    // Fits a small screen with room for its frame.
    QVERIFY2(window->width() <= 1000 && window->height() <= 700,
             qPrintable(QStringLiteral("%1x%2").arg(window->width()).arg(window->height())));

    // Each inner frame with its boxes top to bottom, as the boxes were numbered.
    const struct {
        const char *outer;
        const char *name;
        const char *caption;
        int boxes[3];
    } innerFrames[] = {
        {"Frame1", "Frame2", "第一个按钮", {1, 2, 3}},     {"Frame1", "Frame3", "第二个按钮", {6, 5, 4}},
        {"Frame1", "Frame4", "第三个按钮", {9, 8, 7}},     {"Frame1", "Frame5", "第四个按钮", {12, 11, 10}},
        {"Frame1", "Frame6", "第五个按钮", {15, 14, 13}},  {"Frame1", "Frame7", "第六个按钮", {18, 17, 16}},
        {"Frame8", "Frame9", "第一个按钮", {21, 20, 19}},  {"Frame8", "Frame10", "第二个按钮", {22, 23, 24}},
        {"Frame8", "Frame11", "第三个按钮", {25, 26, 27}},
    };
    FIND(QGroupBox, frame1, window, "Frame1");
    FIND(QGroupBox, frame8, window, "Frame8");
    FIND(QGroupBox, frame12, window, "Frame12");
    QCOMPARE(frame1->title(), QStringLiteral("面板下部按钮图片"));
    QCOMPARE(frame8->title(), QStringLiteral("标题栏按钮图片"));
    QCOMPARE(frame12->title(), QStringLiteral("滚动条按钮图片"));

    QSet<QString> labelsSeen;
    const QGroupBox *previous = nullptr;
    for (const auto &inner : innerFrames) {
        auto *frame = window->findChild<QGroupBox *>(QLatin1String(inner.name));
        QVERIFY2(frame, inner.name);
        QCOMPARE(frame->title(), QString::fromUtf8(inner.caption));
        QCOMPARE(frame->parentWidget()->objectName(), QLatin1String(inner.outer));
        // Stacked in order within the outer frame.
        if (previous && previous->parentWidget() == frame->parentWidget())
            QVERIFY2(previous->geometry().bottom() < frame->geometry().top(), inner.name);
        previous = frame;

        const QList<QLabel *> labels = frame->findChildren<QLabel *>();
        QCOMPARE(labels.size(), 3);
        for (int row = 0; row < 3; ++row) {
            auto *edit = frame->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(inner.boxes[row]));
            QVERIFY2(edit, qPrintable(QStringLiteral("%1 row %2").arg(QLatin1String(inner.name)).arg(row)));
            QVERIFY(edit->text().isEmpty());
            if (row > 0) {
                auto *above = frame->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(inner.boxes[row - 1]));
                QVERIFY(above->geometry().bottom() < edit->geometry().top());
            }
            // The caption of the row sits left of its box.
            const auto label =
                std::find_if(labels.begin(), labels.end(), [&](QLabel *l) { return onSameRow(l, edit); });
            QVERIFY2(label != labels.end(), qPrintable(edit->objectName()));
            QCOMPARE((*label)->text(), rowTexts.at(row));
            QVERIFY((*label)->geometry().right() < edit->geometry().left());
            QVERIFY((*label)->width() >= (*label)->sizeHint().width());
            QVERIFY((*label)->objectName().startsWith(QStringLiteral("Label")));
            labelsSeen.insert((*label)->objectName());
        }
        QVERIFY2(overlapProblem(frame).isEmpty(), qPrintable(overlapProblem(frame)));
    }
    QSet<QString> expectedLabels;
    for (int number = 1; number <= 27; ++number)
        expectedLabels.insert(QStringLiteral("Label%1").arg(number));
    QCOMPARE(labelsSeen, expectedLabels);

    FIND(QLabel, label28, frame12, "Label28");
    FIND(QLineEdit, text28, frame12, "Text28");
    QCOMPARE(label28->text(), QStringLiteral("图片名称"));
    QVERIFY(onSameRow(label28, text28) && label28->geometry().right() < text28->geometry().left());
    QCOMPARE(window->findChildren<QLineEdit *>().size(), 28);

    // Frame1 on the left, Frame8 at the top right, Frame12 below it, 确定 at the bottom right.
    FIND(QPushButton, confirm, window, "Command1");
    QCOMPARE(confirm->text(), QStringLiteral("确定"));
    QCOMPARE(confirm->parentWidget(), window);
    QVERIFY(frame1->geometry().right() < frame8->geometry().left());
    QVERIFY(frame8->geometry().top() <= frame1->geometry().top() + 5);
    QVERIFY(frame8->geometry().bottom() < frame12->geometry().top());
    QVERIFY(frame12->geometry().bottom() < confirm->geometry().top());
    QVERIFY(confirm->geometry().left() > window->width() / 2);
    QVERIFY(confirm->geometry().bottom() > window->height() - 40);
    QVERIFY(confirm->geometry().right() > window->width() - 40);
    QVERIFY2(overlapProblem(window).isEmpty(), qPrintable(overlapProblem(window)));
    QVERIFY2(overlapProblem(frame1).isEmpty(), qPrintable(overlapProblem(frame1)));
    QVERIFY2(overlapProblem(frame8).isEmpty(), qPrintable(overlapProblem(frame8)));
    QVERIFY2(overlapProblem(frame12).isEmpty(), qPrintable(overlapProblem(frame12)));

    // The button shows the pointing hand; the boxes keep the field colour.
    const QCursor hand = platform::look::pointingHand();
    QCOMPARE(confirm->cursor().pixmap().toImage(), hand.pixmap().toImage());
    QCOMPARE(confirm->cursor().hotSpot(), hand.hotSpot());
    QCOMPARE(text28->palette().color(QPalette::Base), QColor(175, 231, 254));
}

void SkinWindowsTest::skinInfoWindowIsArrangedAsDesigned()
{
    QWidget *window = openWindow(QStringLiteral("Form5"));
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->objectName(), QStringLiteral("Form5"));
    QCOMPARE(window->windowTitle(), QStringLiteral("添加版权"));
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->palette().color(QPalette::Window), QColor(63, 197, 254));
    QVERIFY(!window->windowIcon().isNull());
    QVERIFY(m_session.notices().records().isEmpty());

    const char *captions[] = {"皮肤名称", "作者", "版权", "制作时间", "预览图", "说明"};
    QWidget *above = nullptr;
    for (int row = 1; row <= 6; ++row) {
        auto *label = window->findChild<QLabel *>(QStringLiteral("Label%1").arg(row));
        auto *edit = window->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(row));
        QVERIFY(label && edit);
        QCOMPARE(label->text(), QString::fromUtf8(captions[row - 1]));
        QVERIFY(onSameRow(label, edit));
        QVERIFY(label->geometry().right() < edit->geometry().left());
        QVERIFY(edit->text().isEmpty());
        if (above)
            QVERIFY(above->geometry().bottom() < edit->geometry().top());
        above = edit;
    }
    QCOMPARE(window->findChildren<QLineEdit *>().size(), 6);

    FIND(QLabel, note, window, "Label7");
    FIND(QPushButton, confirm, window, "Command1");
    QCOMPARE(note->text(), QStringLiteral("注:以上均为可选项"));
    QCOMPARE(confirm->text(), QStringLiteral("确定"));
    QVERIFY(above->geometry().bottom() < note->geometry().top());
    QVERIFY(above->geometry().bottom() < confirm->geometry().top());
    QVERIFY(note->geometry().right() < confirm->geometry().left());
    QVERIFY(note->geometry().left() < window->width() / 4);
    QVERIFY(confirm->geometry().right() > window->width() - 40);
    QVERIFY(note->width() >= note->sizeHint().width());
    QVERIFY2(overlapProblem(window).isEmpty(), qPrintable(overlapProblem(window)));
    QCOMPARE(confirm->cursor().pixmap().toImage(), platform::look::pointingHand().pixmap().toImage());
}

void SkinWindowsTest::buttonOptionsAppendTheButtonBlock_data()
{
    QTest::addColumn<QStringList>("texts"); // Text1 to Text28
    QTest::addColumn<QByteArray>("expected");

    QStringList distinct;
    for (int number = 1; number <= 28; ++number)
        distinct << QStringLiteral("b%1.bmp").arg(number);
    distinct[3] = QStringLiteral("按下.bmp");
    distinct[27] = QStringLiteral("滚动条.bmp");
    QTest::newRow("every box distinct")
        << distinct
        << QByteArray("[button1]\r\nstretch=b1.bmp\r\nlight_stretch=b2.bmp\r\ndown_stretch=b3.bmp\r\n"
                      "[button2]\r\nstretch=b6.bmp\r\nlight_stretch=b5.bmp\r\ndown_stretch=\xb0\xb4\xcf\xc2.bmp\r\n"
                      "[button3]\r\nstretch=b9.bmp\r\nlight_stretch=b8.bmp\r\ndown_stretch=b7.bmp\r\n"
                      "[button4]\r\nstretch=b12.bmp\r\nlight_stretch=b11.bmp\r\ndown_stretch=b10.bmp\r\n"
                      "[button5]\r\nstretch=b15.bmp\r\nlight_stretch=b14.bmp\r\ndown_stretch=b13.bmp\r\n"
                      "[button6]\r\nstretch=b18.bmp\r\nlight_stretch=b17.bmp\r\ndown_stretch=b16.bmp\r\n"
                      "[buttont1]\r\nstretch=b21.bmp\r\nlight_stretch=b20.bmp\r\ndown_stretch=b19.bmp\r\n"
                      "[buttont2]\r\nstretch=b22.bmp\r\nlight_stretch=b23.bmp\r\ndown_stretch=b24.bmp\r\n"
                      "[buttont3]\r\nstretch=b25.bmp\r\nlight_stretch=b26.bmp\r\ndown_stretch=b27.bmp\r\n"
                      "[folder]\r\nstretch=\xb9\xf6\xb6\xaf\xcc\xf5.bmp\r\n");
    QTest::newRow("all boxes empty") << QStringList() << emptyButtonBlock;
    // Values go in as typed: spaces stay, nothing is added.
    QStringList spaced(28);
    spaced[0] = QStringLiteral(" up ");
    spaced[27] = QStringLiteral("bar");
    QByteArray spacedBlock = emptyButtonBlock;
    spacedBlock.replace("[button1]\r\nstretch=\r\n", "[button1]\r\nstretch= up \r\n");
    spacedBlock.replace("[folder]\r\nstretch=\r\n", "[folder]\r\nstretch=bar\r\n");
    QTest::newRow("texts as typed") << spaced << spacedBlock;
}

void SkinWindowsTest::buttonOptionsAppendTheButtonBlock()
{
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    setLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    QWidget *window = openWindow(QStringLiteral("Form3"));
    QVERIFY(window);
    fill(window, texts);
    m_session.notices().clear();

    clickConfirm(window);

    QCOMPARE(readBytes(skinIni()), expected);
    QCOMPARE(expected.count("\r\n"), 38);
    // Only the location notice: nothing confirms the write.
    QCOMPARE(m_session.notices().texts(),
             QStringList{locationNotice(m_session.install() + QStringLiteral("\\skins\\蓝天\\skin.ini"))});
    QCOMPARE(m_session.notices().records().first().title, QStringLiteral("提示"));
    QTRY_VERIFY(!testsupport::existingWindow<ButtonOptionsWindow>());
}

void SkinWindowsTest::skinInfoAppendsItsBlock_data()
{
    QTest::addColumn<QStringList>("texts"); // Text1 to Text6
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("every box distinct")
        << QStringList{QStringLiteral("蓝天皮肤"),   QStringLiteral("小明"),        QStringLiteral("(c) 2004"),
                       QStringLiteral("2004-05-01"), QStringLiteral("preview.jpg"), QStringLiteral("first try")}
        << QByteArray("[SkinInfo]\r\nSkinName=\xc0\xb6\xcc\xec\xc6\xa4\xb7\xf4\r\nMaker=\xd0\xa1\xc3\xf7\r\n"
                      "CopyRight=(c) 2004\r\nTime=2004-05-01\r\nPreviewImage=preview.jpg\r\nRemark=first try\r\n");
    QTest::newRow("all boxes empty") << QStringList() << emptySkinInfoBlock;
}

void SkinWindowsTest::skinInfoAppendsItsBlock()
{
    QFETCH(QStringList, texts);
    QFETCH(QByteArray, expected);
    setLocation(m_session.install(), QStringLiteral("夏天"), "Option2");
    QWidget *window = openWindow(QStringLiteral("Form5"));
    QVERIFY(window);
    fill(window, texts);

    clickConfirm(window);

    QCOMPARE(readBytes(skinIni("NewSkins", QStringLiteral("夏天"))), expected);
    QCOMPARE(m_session.notices().texts(),
             QStringList{locationNotice(m_session.install() + QStringLiteral("\\NewSkins\\夏天\\skin.ini"))});
    QTRY_VERIFY(!testsupport::existingWindow<SkinInfoWindow>());
}

void SkinWindowsTest::blocksFollowTheOrderOfTheActions()
{
    setLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    auto *generate = form1()->findChild<QPushButton *>(QStringLiteral("Command1"));
    QVERIFY(generate);

    QWidget *buttons = openWindow(QStringLiteral("Form3"));
    QVERIFY(buttons);
    clickConfirm(buttons);
    QTest::mouseClick(generate, Qt::LeftButton);
    QWidget *info = openWindow(QStringLiteral("Form5"));
    QVERIFY(info);
    clickConfirm(info);
    QTest::mouseClick(generate, Qt::LeftButton);
    // Running an action again adds its block again.
    QTRY_VERIFY(!testsupport::existingWindow<ButtonOptionsWindow>());
    buttons = openWindow(QStringLiteral("Form3"));
    QVERIFY(buttons);
    clickConfirm(buttons);

    QCOMPARE(readBytes(skinIni()),
             emptyButtonBlock + emptyBasicBlock + emptySkinInfoBlock + emptyBasicBlock + emptyButtonBlock);
}

void SkinWindowsTest::secondConfirmWarnsOfRepeatedSections_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("section");
    QTest::newRow("按钮") << QStringLiteral("Form3") << QStringLiteral("[buttont3]");
    QTest::newRow("版权") << QStringLiteral("Form5") << QStringLiteral("[SkinInfo]");
}

void SkinWindowsTest::secondConfirmWarnsOfRepeatedSections()
{
    QFETCH(QString, which);
    QFETCH(QString, section);
    setLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    const QString notice = locationNotice(m_session.install() + QStringLiteral("\\skins\\蓝天\\skin.ini"));

    for (int time = 1; time <= 2; ++time) {
        QWidget *window = openWindow(which);
        QVERIFY(window);
        m_session.notices().clear();
        clickConfirm(window);
        QTRY_VERIFY(!existingWindow(which));
        if (time == 1) {
            QCOMPARE(m_session.notices().texts(), QStringList{notice});
        } else {
            // These windows tell no success: the warning comes alone, after the write.
            QCOMPARE(m_session.notices().texts().size(), 2);
            QCOMPARE(m_session.notices().texts().first(), notice);
            QVERIFY(m_session.notices().texts().last().contains(section));
        }
    }
}

void SkinWindowsTest::locationIsReadWhenConfirmIsPressed()
{
    setLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    QWidget *buttons = openWindow(QStringLiteral("Form3"));
    QWidget *info = openWindow(QStringLiteral("Form5"));
    QVERIFY(buttons && info);
    fill(buttons, {QStringLiteral("up.bmp")});
    fill(info, {QStringLiteral("夏")});

    // The user points the main window elsewhere while both windows stay open.
    QTemporaryDir otherInstall;
    QVERIFY(QDir(otherInstall.path()).mkpath(QStringLiteral("NewSkins/夏天")));
    setLocation(otherInstall.path(), QStringLiteral("夏天"), "Option2");
    m_session.notices().clear();

    clickConfirm(buttons);
    clickConfirm(info);

    const QString newPath = otherInstall.path() + QStringLiteral("\\NewSkins\\夏天\\skin.ini");
    QCOMPARE(m_session.notices().texts(), (QStringList{locationNotice(newPath), locationNotice(newPath)}));
    QByteArray expected = emptyButtonBlock;
    expected.replace("[button1]\r\nstretch=\r\n", "[button1]\r\nstretch=up.bmp\r\n");
    expected += QByteArray(emptySkinInfoBlock).replace("SkinName=", "SkinName=\xcf\xc4");
    QCOMPARE(readBytes(otherInstall.filePath(QStringLiteral("NewSkins/夏天/skin.ini"))), expected);
    QVERIFY(!QFile::exists(skinIni()));
}

void SkinWindowsTest::refusedWriteKeepsTheWindowAndItsTexts_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("problem");

    for (const char *window : {"Form3", "Form5"}) {
        for (const char *problem : {"no version", "empty install path", "unusable skin name", "missing skin folder",
                                    "read-only file", "write breaks off", "characters gbk cannot hold"}) {
            QTest::addRow("%s, %s", window, problem) << QString::fromLatin1(window) << QString::fromLatin1(problem);
        }
    }
}

void SkinWindowsTest::refusedWriteKeepsTheWindowAndItsTexts()
{
    QFETCH(QString, window);
    QFETCH(QString, problem);
    const bool buttons = window == u"Form3";
    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");

    const QPointer<QWidget> form = openWindow(window);
    QVERIFY(form);
    QStringList texts;
    for (int number = 1; number <= (buttons ? 28 : 6); ++number)
        texts << QStringLiteral("名%1.bmp").arg(number);
    const QString file = skinIni();
    QVERIFY(testsupport::writeBytes(file, QByteArray(100, 'o')));
    std::optional<testsupport::FileSizeLimit> limit;
    const char *version = "Option1";
    QString installPath = m_session.install();
    QString skinName = QStringLiteral("蓝天");
    QString expectedNotice;
    if (problem == u"no version") {
        version = nullptr;
        expectedNotice = QStringLiteral("请选择版本!");
    } else if (problem == u"empty install path") {
        installPath.clear();
        expectedNotice = QStringLiteral("您没有输入路径");
    } else if (problem == u"unusable skin name") {
        skinName = QStringLiteral("..");
        expectedNotice = QStringLiteral("生成的QQ皮肤名称不能用作文件夹名称!");
    } else if (problem == u"missing skin folder") {
        skinName = QStringLiteral("秋天");
        expectedNotice = QStringLiteral("无法写入文件");
    } else if (problem == u"read-only file") {
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        expectedNotice = QStringLiteral("无法写入文件");
    } else if (problem == u"write breaks off") {
        limit.emplace(150);
        expectedNotice = QStringLiteral("无法写入文件");
    } else {
        // Text4 feeds the pressed image of the second panel button, Text2 the author.
        texts[buttons ? 3 : 1] = QStringLiteral("x") + smile;
        expectedNotice = QStringLiteral("以下内容含有无法保存的字符");
    }
    fill(form, texts);
    setLocation(installPath, skinName, version);
    const auto before = testsupport::snapshot(m_session.install());
    m_session.notices().clear();

    clickConfirm(form);
    limit.reset();

    QVERIFY2(!m_session.notices().texts().isEmpty() && m_session.notices().texts().last().startsWith(expectedNotice),
             qPrintable(m_session.notices().texts().join(u'|')));
    if (problem == u"characters gbk cannot hold") {
        const QString caption =
            buttons ? QStringLiteral("面板下部按钮图片 第二个按钮 鼠标按下时的图片名称") : QStringLiteral("作者");
        QVERIFY2(m_session.notices().texts().last().contains(caption)
                     && m_session.notices().texts().last().contains(smile),
                 qPrintable(m_session.notices().texts().last()));
    }
    QCOMPARE(testsupport::snapshot(m_session.install()), before);
    // The window stays, with everything the user typed, once the events the click posted have run.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY2(form && existingWindow(window) == form, "the window was closed");
    QVERIFY(form->isVisible());
    QCOMPARE(boxTexts(form), texts);

    // Once the location is put right, the same click writes and closes the window.
    QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    QVERIFY(QDir(m_session.install()).mkpath(QStringLiteral("NewSkins/夏天")));
    setLocation(m_session.install(), QStringLiteral("夏天"), "Option2");
    if (problem == u"characters gbk cannot hold")
        form->findChild<QLineEdit *>(buttons ? QStringLiteral("Text4") : QStringLiteral("Text2"))
            ->setText(QStringLiteral("x"));
    clickConfirm(form);
    QTRY_VERIFY(!existingWindow(window));
    const QByteArray written = readBytes(skinIni("NewSkins", QStringLiteral("夏天")));
    QVERIFY(written.startsWith(buttons ? "[button1]\r\nstretch=" : "[SkinInfo]\r\nSkinName="));
    QCOMPARE(written.count("\r\n"), buttons ? 38 : 7);
    QCOMPARE(readBytes(file), QByteArray(100, 'o'));
}

void SkinWindowsTest::closedWindowsReopenEmpty()
{
    setLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    for (const QString &which : {QStringLiteral("Form3"), QStringLiteral("Form5")}) {
        // After a write the window is gone; opened again, it is empty.
        QWidget *window = openWindow(which);
        QVERIFY(window);
        fill(window, {QStringLiteral("a.bmp"), QStringLiteral("b.bmp")});
        clickConfirm(window);
        QTRY_VERIFY(!existingWindow(which));
        window = openWindow(which);
        QVERIFY(window);
        for (const QString &text : boxTexts(window))
            QVERIFY(text.isEmpty());

        // Closing by the frame writes nothing and forgets what was typed.
        const QByteArray written = readBytes(skinIni());
        fill(window, {QStringLiteral("c.bmp")});
        QVERIFY(window->close());
        QTRY_VERIFY(!existingWindow(which));
        QCOMPARE(readBytes(skinIni()), written);
        window = openWindow(which);
        QVERIFY(window);
        QVERIFY(boxTexts(window).first().isEmpty());
        QVERIFY(window->close());
        QTRY_VERIFY(!existingWindow(which));
    }
    const QByteArray emptyButton1 = "[button1]\r\nstretch=\r\nlight_stretch=\r\ndown_stretch=\r\n";
    QVERIFY(emptyButtonBlock.startsWith(emptyButton1));
    const QByteArray first = "[button1]\r\nstretch=a.bmp\r\nlight_stretch=b.bmp\r\ndown_stretch=\r\n"
        + emptyButtonBlock.mid(emptyButton1.size());
    QByteArray second = emptySkinInfoBlock;
    second.replace("SkinName=\r\nMaker=\r\n", "SkinName=a.bmp\r\nMaker=b.bmp\r\n");
    QCOMPARE(readBytes(skinIni()), first + second);
}

void SkinWindowsTest::newClearsButtonOptionsWithoutShowingThem()
{
    QCOMPARE(testsupport::existingWindow<ButtonOptionsWindow>(), nullptr);
    QWidget *info = openWindow(QStringLiteral("Form5"));
    QVERIFY(info);
    fill(info, {QStringLiteral("keep me")});

    m_session.notices().queueAnswer(QMessageBox::Yes);
    TRIGGER(form1(), "new");

    ButtonOptionsWindow *hidden = testsupport::existingWindow<ButtonOptionsWindow>();
    QVERIFY(hidden);
    QVERIFY(!hidden->isVisible());
    QCOMPARE(countTopLevel(QStringLiteral("Form3")), 1);
    // The skin information window is not part of what a new skin clears.
    QCOMPARE(boxTexts(info).first(), QStringLiteral("keep me"));

    // A hidden window keeps what it was given; the next new clears it again, still hidden.
    hidden->box(6)->setText(QStringLiteral("six"));
    m_session.notices().queueAnswer(QMessageBox::Yes);
    TRIGGER(form1(), "new");
    QVERIFY(hidden->box(6)->text().isEmpty());
    QVERIFY(!hidden->isVisible());

    // The menu item then shows that same window, empty.
    QWidget *shown = openWindow(QStringLiteral("Form3"));
    QCOMPARE(shown, hidden);
    for (const QString &text : boxTexts(shown))
        QVERIFY(text.isEmpty());
    QCOMPARE(boxTexts(shown).size(), 28);
}

void SkinWindowsTest::menuItemsShowOneWindowEach()
{
    // The reminder comes first, before the window shows.
    bool shownDuringNotice = true;
    m_session.notices().setOnNotice([&](const platform::NoticeRecord &) {
        auto *window = testsupport::existingWindow<ButtonOptionsWindow>();
        shownDuringNotice = window && window->isVisible();
    });
    QWidget *first = openWindow(QStringLiteral("Form3"));
    QVERIFY(first);
    QVERIFY(!shownDuringNotice);
    m_session.notices().setOnNotice({});
    fill(first, {QStringLiteral("one")});

    QWidget *second = openWindow(QStringLiteral("Form3"));
    QCOMPARE(second, first);
    QCOMPARE(countTopLevel(QStringLiteral("Form3")), 1);
    QCOMPARE(boxTexts(second).first(), QStringLiteral("one"));
    QCOMPARE(m_session.notices().texts(), (QStringList{buttonsNotice, buttonsNotice}));
    for (const platform::NoticeRecord &record : m_session.notices().records()) {
        QCOMPARE(record.title, QStringLiteral("提示"));
        QCOMPARE(record.icon, QMessageBox::Information);
        QCOMPARE(record.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    // The skin information window comes without a notice, also only once.
    m_session.notices().clear();
    QWidget *info = openWindow(QStringLiteral("Form5"));
    fill(info, {QStringLiteral("name")});
    QCOMPARE(openWindow(QStringLiteral("Form5")), info);
    QCOMPARE(countTopLevel(QStringLiteral("Form5")), 1);
    QCOMPARE(boxTexts(info).first(), QStringLiteral("name"));
    QVERIFY(m_session.notices().records().isEmpty());
    // Both stay open side by side with the main window: none is modal.
    QVERIFY(first->isVisible() && info->isVisible() && form1()->isVisible());
    QVERIFY(!first->isModal() && !info->isModal());
}

MORVANE_TEST_MAIN(SkinWindowsTest)
#include "tst_skinwindows.moc"
