// What a hostile or careless user can put into the writing windows and the skin folder:
// pasted line breaks and other invisible characters, huge pastes, links and pipes in place of
// skin.ini, pictures that may not be read. Each ends in a notice that says what is wrong, an
// unchanged file and a window that keeps what was typed.
#include "skinmaker/authoring/buttonoptionswindow.h"
#include "skinmaker/authoring/skininfowindow.h"
#include "skinmaker/shell/mainwindow.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>

#include <sys/stat.h>

using skinmaker::authoring::ButtonOptionsWindow;
using skinmaker::authoring::SkinInfoWindow;

namespace {

// Each writing action with the box a test types into and the caption its notices use.
struct Action {
    const char *menuItem; // empty: the main window's own "生成"
    const char *box;
    const char *caption;
};

Action action(const QString &name)
{
    if (name == u"Form3")
        return {"g", "Text1", "面板下部按钮图片 第一个按钮 鼠标未放上去时的图片名称"};
    if (name == u"Form5")
        return {"copyright", "Text6", "说明"};
    return {"", "Text1", "输入背景图片名称"};
}

void addActionRows(const char *what, const QList<std::pair<const char *, QString>> &values)
{
    for (const char *window : {"Form1", "Form3", "Form5"}) {
        for (const auto &[name, value] : values)
            QTest::addRow("%s, %s %s", window, what, name) << QString::fromLatin1(window) << value;
    }
}

} // namespace

class HostileInputTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_session.start(); }
    void cleanup() { m_session.finish(); }

    void invisibleCharactersAreRefusedAndNamed_data();
    void invisibleCharactersAreRefusedAndNamed();
    void hugePasteIsWrittenWhole_data();
    void hugePasteIsWrittenWhole();
    void skinIniThatIsNoOrdinaryFileIsLeftAlone_data();
    void skinIniThatIsNoOrdinaryFileIsLeftAlone();
    void skinFolderThatIsALinkIsWrittenThrough();
    void unreadablePictureIsNamedForWhatItIs_data();
    void unreadablePictureIsNamedForWhatItIs();

private:
    // Opens the action's window and returns the box the test types into.
    QLineEdit *open(const QString &window);
    QString skinIni() const { return m_session.installFile(QStringLiteral("skins/蓝天/skin.ini")); }

    testsupport::SkinmakerSession m_session;
};

QLineEdit *HostileInputTest::open(const QString &window)
{
    const Action chosen = action(window);
    QWidget *host = m_session.form1();
    if (*chosen.menuItem) {
        if (!testsupport::triggerAction(m_session.form1(), chosen.menuItem).isEmpty())
            return nullptr;
        host = window == u"Form3" ? static_cast<QWidget *>(testsupport::existingWindow<ButtonOptionsWindow>())
                                  : testsupport::existingWindow<SkinInfoWindow>();
    }
    m_session.notices().clear();
    return host ? host->findChild<QLineEdit *>(QLatin1String(chosen.box)) : nullptr;
}

void HostileInputTest::invisibleCharactersAreRefusedAndNamed_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("value");
    addActionRows("value with",
                  {
                      {"LF copied from a terminal", QStringLiteral("bg.bmp\n")},
                      {"a pasted section", QStringLiteral("logo.bmp\r\n[pasted]\r\nk=2")},
                      {"lone CR", QStringLiteral("a\rb")},
                      {"NUL", QString(QStringLiteral("a") + QChar(0) + u'b')},
                      {"line separator", QString(QStringLiteral("a") + QChar(0x2028))},
                      {"lone surrogate", QString(QStringLiteral("bg") + QChar(0xD83D))},
                  });
}

void HostileInputTest::invisibleCharactersAreRefusedAndNamed()
{
    QFETCH(QString, window);
    QFETCH(QString, value);
    QVERIFY(testsupport::writeBytes(skinIni(), "keep\r\n"));
    m_session.fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    QLineEdit *box = open(window);
    QVERIFY(box);
    box->setText(value);

    QVERIFY(testsupport::clickButton(box->window()));

    QCOMPARE(m_session.notices().texts().size(), 1);
    const QString notice = m_session.notices().texts().first();
    QVERIFY2(notice.contains(QStringLiteral("“%1”中的“U+").arg(QString::fromUtf8(action(window).caption))),
             qPrintable(notice));
    QCOMPARE(testsupport::readBytes(skinIni()), QByteArray("keep\r\n"));
    QVERIFY(box->window()->isVisible());
    QCOMPARE(box->text(), value);
}

void HostileInputTest::hugePasteIsWrittenWhole_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("value");
    addActionRows("pasting", {{"1 MiB", QString(1 << 20, u'图')}});
}

void HostileInputTest::hugePasteIsWrittenWhole()
{
    QFETCH(QString, window);
    QFETCH(QString, value);
    m_session.fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    QLineEdit *box = open(window);
    QVERIFY(box);
    QApplication::clipboard()->setText(value);
    box->paste();
    QCOMPARE(box->text().size(), value.size());

    QVERIFY(testsupport::clickButton(box->window()));

    QVERIFY(testsupport::readBytes(skinIni()).contains(QByteArray("=" + testsupport::gbk(value) + "\r\n")));
}

void HostileInputTest::skinIniThatIsNoOrdinaryFileIsLeftAlone_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("link to a file elsewhere") << QStringLiteral("link") << QStringLiteral("skin.ini是一个链接");
    QTest::newRow("link to nowhere") << QStringLiteral("dangling") << QStringLiteral("skin.ini是一个链接");
    QTest::newRow("pipe") << QStringLiteral("fifo") << QStringLiteral("不是一个普通的文件");
    QTest::newRow("write-only file") << QStringLiteral("write-only") << QStringLiteral("不允许读取");
}

void HostileInputTest::skinIniThatIsNoOrdinaryFileIsLeftAlone()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    // A file the user cares about, outside the skin folder.
    const QString elsewhere = m_session.installFile(QStringLiteral("bashrc"));
    QVERIFY(testsupport::writeBytes(elsewhere, "alias ll='ls -l'\n"));
    if (kind == u"link")
        QVERIFY(QFile::link(elsewhere, skinIni()));
    else if (kind == u"dangling")
        QVERIFY(QFile::link(m_session.installFile(QStringLiteral("created-by-us")), skinIni()));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(skinIni()).constData(), 0666), 0);
    else
        QVERIFY(testsupport::writeBytes(skinIni(), "old\r\n") && QFile::setPermissions(skinIni(), QFile::WriteOwner));
    const auto before = testsupport::snapshot(m_session.install());
    m_session.fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");

    QVERIFY(testsupport::clickButton(m_session.form1()));

    QCOMPARE(m_session.notices().texts().size(), 2);
    QVERIFY2(m_session.notices().texts().at(1).contains(reason), qPrintable(m_session.notices().texts().at(1)));
    QCOMPARE(testsupport::snapshot(m_session.install()), before);
}

void HostileInputTest::skinFolderThatIsALinkIsWrittenThrough()
{
    // A QQ installation moved elsewhere and linked back: the skin folder is a link, and that is fine.
    QVERIFY(QDir(m_session.install()).mkpath(QStringLiteral("moved/蓝天")));
    QVERIFY(QDir(m_session.installFile(QStringLiteral("skins"))).removeRecursively());
    QVERIFY(
        QFile::link(m_session.installFile(QStringLiteral("moved")), m_session.installFile(QStringLiteral("skins"))));
    m_session.fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");

    QVERIFY(testsupport::clickButton(m_session.form1()));

    QCOMPARE(m_session.notices().texts().last(), QStringLiteral("生成成功!"));
    QVERIFY(
        testsupport::readBytes(m_session.installFile(QStringLiteral("moved/蓝天/skin.ini"))).startsWith("[main]\r\n"));
}

void HostileInputTest::unreadablePictureIsNamedForWhatItIs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("picture nobody may read") << QStringLiteral("mode 000") << QStringLiteral("文件无法打开");
    QTest::newRow("folder that may not be entered") << QStringLiteral("closed folder") << QStringLiteral("无法进入");
}

void HostileInputTest::unreadablePictureIsNamedForWhatItIs()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString folder = m_session.installFile(QStringLiteral("skins/蓝天"));
    const QString picture = folder + QStringLiteral("/bg.bmp");
    QImage(8, 8, QImage::Format_RGB32).save(picture, "BMP");
    const auto reopen = qScopeGuard([&] {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(picture, QFile::ReadOwner | QFile::WriteOwner);
    });
    QVERIFY(QFile::setPermissions(kind == u"mode 000" ? picture : folder,
                                  kind == u"mode 000" ? QFile::Permissions() : QFile::ReadOwner | QFile::WriteOwner));
    m_session.fillLocation(m_session.install(), QStringLiteral("蓝天"), "Option1");
    m_session.box("Text1")->setText(QStringLiteral("bg.bmp"));

    TRIGGER(m_session.form1(), "ASSDFGHJKL");

    QCOMPARE(m_session.notices().texts().size(), 2);
    QVERIFY2(m_session.notices().texts().at(1).contains(QStringLiteral("原因:") + reason),
             qPrintable(m_session.notices().texts().at(1)));
}

MORVANE_TEST_MAIN(HostileInputTest)
#include "tst_hostileinput.moc"
