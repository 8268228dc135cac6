// The background-music setter: storing the path box, picking a file in the browse window,
// and the program as the main program's menu starts it.
#include "musicsetter/browsewindow.h"
#include "musicsetter/musicpaths.h"
#include "musicsetter/musicsetter.h"
#include "musicsetter/setterwindow.h"

#include "formats/musicsetting.h"
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/core/winpath.h"
#include "platform/widgets/filesystemlists.h"
#include "platform/widgets/launcher.h"
#include "platform/widgets/notice.h"

#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>

#include <csignal>

using musicsetter::BrowseWindow;
using musicsetter::SetterWindow;

namespace {

const QByteArray oldSetting = "music\\3.mid\r\nsecond line\r\n";

// The running copies of a program, found by their executable under /proc.
QList<qint64> running(const QString &program)
{
    QList<qint64> pids;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo(QStringLiteral("/proc/%1/exe").arg(entry)).symLinkTarget() == program)
            pids << entry.toLongLong();
    }
    return pids;
}

} // namespace

class MusicSetterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void storesTheBoxAsTyped_data();
    void storesTheBoxAsTyped();
    void refusalKeepsTheFileAndTheBox_data();
    void refusalKeepsTheFileAndTheBox();
    void listsShowMusicFilesAndStayInStep();
    void pickedFileLandsInTheBox_data();
    void pickedFileLandsInTheBox();
    void menuStartsTheSetterInTheMainProgramsFolder();

private:
    SetterWindow *form1() const { return testsupport::existingWindow<SetterWindow>(); }
    QLineEdit *text1() const { return form1()->pathBox(); }
    BrowseWindow *browse();
    bool open(BrowseWindow *window, const QString &folder);
    static void press(QWidget *window)
    {
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    }
    static QStringList files(BrowseWindow *window);

    const QString m_work = platform::nativeFolderPath(QDir::currentPath()); // the process's current folder
    std::unique_ptr<platform::NoticeRecorder> m_notices;
};

void MusicSetterTest::init()
{
    for (const char *folder : {"曲子/子/空", "曲子/f.mid"})
        QVERIFY(QDir(m_work).mkpath(QString::fromUtf8(folder)));
    for (const char *file : {"曲子/a.mid", "曲子/B.MP3", "曲子/c.WAV", "曲子/d.txt", "曲子/e.mp3.bak", "曲子/子/x.wav"})
        QVERIFY(testsupport::writeBytes(QString::fromUtf8(file), "tune"));
    m_notices = std::make_unique<platform::NoticeRecorder>();
    musicsetter::start();
    QVERIFY(form1() && form1()->isVisible());
}

void MusicSetterTest::cleanup()
{
    testsupport::destroyAllWindows();
    m_notices.reset();
    QFile::setPermissions(QStringLiteral("qqq.qq"), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(QStringLiteral("qqq.qq"));
    QVERIFY(QDir(m_work + QStringLiteral("/曲子")).removeRecursively());
    QCOMPARE(platform::nativeFolderPath(QDir::currentPath()), m_work);
}

BrowseWindow *MusicSetterTest::browse()
{
    QTest::mouseClick(form1()->findChild<QPushButton *>(QStringLiteral("Command2")), Qt::LeftButton);
    BrowseWindow *window = testsupport::existingWindow<BrowseWindow>();
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

// Double-clicks a folder's entry in Dir1, as a user opens it, and waits until the lists have
// read what they show.
bool MusicSetterTest::open(BrowseWindow *window, const QString &folder)
{
    return testsupport::clickFolder(window->folderList(), folder) && testsupport::listsRead(window);
}

QStringList MusicSetterTest::files(BrowseWindow *window)
{
    QStringList names;
    for (int i = 0; i < window->fileList()->count(); ++i)
        names << window->fileList()->model()->index(i, 0).data().toString();
    return names;
}

void MusicSetterTest::storesTheBoxAsTyped_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pasted");
    QTest::newRow("ASCII path") << QStringLiteral("C:\\Music\\a.mid") << false;
    QTest::newRow("Chinese path, in GBK") << QStringLiteral("D:\\音乐\\春天.mp3") << false;
    QTest::newRow("empty box") << QString() << false;
    QTest::newRow("long pasted path, blanks kept")
        << QString(QStringLiteral(" /home/me/") + QString(40000, u'x') + QStringLiteral(".wav ")) << true;
}

void MusicSetterTest::storesTheBoxAsTyped()
{
    QFETCH(QString, typed);
    QFETCH(bool, pasted);
    QVERIFY(testsupport::writeBytes(QStringLiteral("qqq.qq"), oldSetting));
    text1()->clear();
    if (pasted) {
        QApplication::clipboard()->setText(typed);
        QTest::keyClick(text1(), Qt::Key_V, Qt::ControlModifier);
    } else {
        for (const QChar character : typed)
            QTest::sendKeyEvent(QTest::Click, text1(), Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
    QCOMPARE(text1()->text(), typed);

    press(form1());
    QCOMPARE(testsupport::readBytes(QStringLiteral("qqq.qq")), testsupport::gbk(typed) + "\r\n");
    QCOMPARE(formats::readMusicSetting().value_or(QStringLiteral("<nothing>")), typed);
    QCOMPARE(m_notices->records().size(), 1);
    const platform::NoticeRecord shown = m_notices->records().first();
    QCOMPARE(shown.text, QStringLiteral("设置成功!!"));
    QCOMPARE(shown.title, QStringLiteral("提示"));
    QCOMPARE(shown.icon, QMessageBox::Information);
    QCOMPARE(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QVERIFY(form1()->isVisible());
    QCOMPARE(text1()->text(), typed);
}

void MusicSetterTest::refusalKeepsTheFileAndTheBox_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("shown");
    QTest::newRow("read-only file")
        << QStringLiteral("C:\\Music\\a.mid") << true
        << QString(QStringLiteral("无法保存音乐设置到文件") + m_work
                   + QStringLiteral("/qqq.qq\n原因:文件是只读的,或没有写入的权限\n文件没有被改动,请检查后再试."));
    QTest::newRow("emoji") << QStringLiteral("D:\\音乐\\🎵.mp3") << false
                           << QStringLiteral("音乐文件的路径中含有无法保存的字符,请修改后再试:\n“🎵”");
    QTest::newRow("lone surrogate") << QString(QStringLiteral("C:\\a") + QChar(0xD83C) + QStringLiteral(".mid"))
                                    << false
                                    << QStringLiteral("音乐文件的路径中含有无法保存的字符,请修改后再试:\n“U+D83C”");
    QTest::newRow("line break") << QStringLiteral("C:\\a.mid\r\nC:\\b.mid") << false
                                << QStringLiteral(
                                       "音乐文件的路径中含有换行等控制字符,无法保存,请删除后再试:\n“U+000D U+000A”");
}

void MusicSetterTest::refusalKeepsTheFileAndTheBox()
{
    QFETCH(QString, typed);
    QFETCH(bool, readOnly);
    QFETCH(QString, shown);
    QVERIFY(testsupport::writeBytes(QStringLiteral("qqq.qq"), oldSetting));
    if (readOnly)
        QVERIFY(QFile::setPermissions(QStringLiteral("qqq.qq"), QFile::ReadOwner | QFile::ReadGroup));
    text1()->setText(typed);

    press(form1());
    QCOMPARE(testsupport::readBytes(QStringLiteral("qqq.qq")), oldSetting);
    QCOMPARE(text1()->text(), typed);
    QCOMPARE(m_notices->texts(), QStringList{shown});
    QCOMPARE(m_notices->records().first().title, QStringLiteral("提示"));
}

void MusicSetterTest::listsShowMusicFilesAndStayInStep()
{
    BrowseWindow *window = browse();
    QVERIFY(window);
    QVERIFY(!window->parentWidget());
    QCOMPARE(window->driveList()->drive(), window->driveList()->driveOf(m_work));
    QCOMPARE(window->folderList()->path(), m_work);
    QCOMPARE(window->fileList()->path(), m_work);

    const QString songs = m_work + QStringLiteral("/曲子");
    QVERIFY(open(window, songs));
    // Whatever the case of the extension; no other file, no folder named like a tune.
    QCOMPARE(files(window), (QStringList{QStringLiteral("a.mid"), QStringLiteral("B.MP3"), QStringLiteral("c.WAV")}));
    // 浏览 again brings the same window forward with its lists as they were.
    QCOMPARE(browse(), window);
    QCOMPARE(window->folderList()->path(), songs);

    // The machine may have one drive only: list a folder as a second one, and a third that is gone.
    const QString second = songs + QStringLiteral("/子");
    const QString gone = m_work + QStringLiteral("/gone");
    window->driveList()->setDrives({QStringLiteral("/"), second, gone});
    window->driveList()->showDriveOf(songs);
    QTest::keyClick(window->driveList(), Qt::Key_Down);
    QCOMPARE(window->folderList()->path(), second);
    QVERIFY(testsupport::listsRead(window));
    QCOMPARE(files(window), QStringList{QStringLiteral("x.wav")});

    // An unreadable drive, then a folder gone since it was listed: told, and the lists stay.
    const QString vanished = second + QStringLiteral("/空");
    QTest::keyClick(window->driveList(), Qt::Key_Down);
    QVERIFY(QDir(vanished).removeRecursively());
    QVERIFY(open(window, vanished));
    QCOMPARE(m_notices->texts(),
             (QStringList{QStringLiteral("无法读取") + gone + QStringLiteral("\n请选择其他驱动器或文件夹."),
                          QStringLiteral("无法读取") + vanished + QStringLiteral("\n请选择其他驱动器或文件夹.")}));
    QCOMPARE(window->driveList()->drive(), second);
    QCOMPARE(window->folderList()->path(), second);
    QCOMPARE(files(window), QStringList{QStringLiteral("x.wav")});
}

void MusicSetterTest::pickedFileLandsInTheBox_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("folder and file") << QString(m_work + QStringLiteral("/曲子")) << QStringLiteral("B.MP3")
                                     << QString(m_work + QStringLiteral("/曲子\\B.MP3"));
    QTest::newRow("no file chosen") << QString(m_work + QStringLiteral("/曲子")) << QString()
                                    << QString(m_work + QStringLiteral("/曲子\\"));
    QTest::newRow("root, no file chosen") << QStringLiteral("/") << QString() << QStringLiteral("/\\");
}

void MusicSetterTest::pickedFileLandsInTheBox()
{
    QFETCH(QString, folder);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    const QString picked = file.isEmpty() ? folder : QDir(folder).filePath(file);
    const bool madeHere = !file.isEmpty() && !QFile::exists(picked);
    if (madeHere && !testsupport::writeBytes(picked, "tune"))
        QSKIP("no music file can be put into this folder here");
    const auto removeMade = qScopeGuard([&] {
        if (madeHere)
            QFile::remove(picked);
    });

    BrowseWindow *window = browse();
    QVERIFY(window);
    QVERIFY(open(window, folder));
    if (!file.isEmpty()) {
        const QAbstractItemModel *listed = window->fileList()->model();
        const QModelIndexList items = listed->match(listed->index(0, 0), Qt::DisplayRole, file, -1, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(window->fileList()->viewport(), Qt::LeftButton, {},
                          window->fileList()->visualRect(items.first()).center());
    }
    press(window);
    QCOMPARE(text1()->text(), expected);
    QVERIFY(window->isVisible());
    QVERIFY(!QFile::exists(QStringLiteral("qqq.qq")));
    // The main program maps the stored text to a file of this system: doubled separators and all,
    // it must lead to what was picked.
    QCOMPARE(QFileInfo(platform::nativePath(expected)).canonicalFilePath(), QFileInfo(picked).canonicalFilePath());

    // A file at a root gets a doubled separator; nothing is written into the real root to see it.
    if (folder == u"/") {
        const QString atRoot = musicsetter::pickedPath(folder, QStringLiteral("a.mid"));
        QCOMPARE(atRoot, QStringLiteral("/\\a.mid"));
        QCOMPARE(platform::nativePath(atRoot), QStringLiteral("//a.mid"));
    }
}

void MusicSetterTest::menuStartsTheSetterInTheMainProgramsFolder()
{
    const QString binDir = qEnvironmentVariable("MORVANE_BIN_DIR");
    if (binDir.isEmpty())
        QSKIP("MORVANE_BIN_DIR is not set; run through CTest");
    const QString program = QFileInfo(binDir + QStringLiteral("/Morvane背景音乐添加程序")).canonicalFilePath();
    QVERIFY2(QFileInfo(program).isExecutable(), qPrintable(binDir));
    const QList<qint64> before = running(program);
    QList<qint64> started;
    const auto stopStarted = qScopeGuard([&] {
        for (const qint64 pid : std::as_const(started))
            ::kill(pid_t(pid), SIGKILL);
    });

    platform::CompanionFolders besideTheMainProgram({binDir});
    testsupport::startSkinmaker();
    TRIGGER(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "music2");
    QTRY_VERIFY_WITH_TIMEOUT((started = running(program)).size() > before.size(), 10000);
    for (const qint64 pid : before)
        started.removeAll(pid);
    QCOMPARE(started.size(), 1);
    QVERIFY(m_notices->records().isEmpty());

    const QString pidFolder = QStringLiteral("/proc/%1").arg(started.first());
    QCOMPARE(QFileInfo(pidFolder + QStringLiteral("/cwd")).symLinkTarget(), QFileInfo(m_work).canonicalFilePath());
    // It keeps running with its window open until the user closes it.
    QTest::qWait(1000);
    QVERIFY(running(program).contains(started.first()));
    QCOMPARE(::kill(pid_t(started.first()), SIGTERM), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!running(program).contains(started.first()), 10000);
    started.clear();
}

MORVANE_TEST_MAIN(MusicSetterTest)
#include "tst_musicsetter.moc"
