// The background tune as the main window handles it: the music window Form4 that rewrites
// qqq.qq, and the player steps at load, from the menu and at unload.
#include "skinmaker/music/musicwindow.h"
#include "skinmaker/shell/mainwindow.h"

#include "platform/player/mediaplayer.h"

#include "recordingplayer.h"
#include "skinmakersession.h"
#include "uitest.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <csignal>

using skinmaker::music::MusicWindow;
using testsupport::RecordingPlayer;

namespace {

const QString musicSetting = QStringLiteral("qqq.qq"); // in the working folder

int selectedOption(const MusicWindow *window)
{
    for (int number = 1; number <= 8; ++number) {
        if (window->option(number)->isChecked())
            return number;
    }
    return 0;
}

} // namespace

class MusicTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_calls.clear();
        m_session.start();
    }
    void cleanup()
    {
        m_session.finish();
        QFile::remove(musicSetting);
    }

    void windowOpensWithTheStoredTuneSelected_data();
    void windowOpensWithTheStoredTuneSelected();
    void confirmStoresTheChoice_data();
    void confirmStoresTheChoice();
    void unwritableSettingKeepsTheWindowAndTheChoice();

    void loadStartsTheStoredTune_data();
    void loadStartsTheStoredTune();
    void menuRestartsAndStopsAndTheFrameReleases();
    void realProgramIsHeardAndEndsOnSigterm();

private:
    MusicWindow *openFromMenu();

    QStringList m_calls;
    const platform::PlayerOverride m_players{[this] { return std::make_unique<RecordingPlayer>(m_calls); }};
    testsupport::SkinmakerSession m_session;
};

MusicWindow *MusicTest::openFromMenu()
{
    if (!testsupport::triggerAction(m_session.form1(), "choose").isEmpty())
        return nullptr;
    return testsupport::existingWindow<MusicWindow>();
}

void MusicTest::windowOpensWithTheStoredTuneSelected_data()
{
    QTest::addColumn<QByteArray>("stored"); // "<missing>": no file at all
    QTest::addColumn<int>("selected");
    for (int number = 1; number <= 8; ++number)
        QTest::addRow("built-in %d", number) << QStringLiteral("music\\%1.mid\r\n").arg(number).toLatin1() << number;
    QTest::newRow("only the first line counts") << QByteArray("music\\3.mid\r\nmusic\\4.mid\r\n") << 3;
    QTest::newRow("edited on Linux") << QByteArray("music\\6.mid\n") << 6;
    QTest::newRow("capitals") << QByteArray("MUSIC\\3.MID\r\n") << 0;
    QTest::newRow("trailing blank") << QByteArray("music\\3.mid \r\n") << 0;
    QTest::newRow("full path from the setter") << QByteArray("D:\\music\\3.mid\r\n") << 0;
    QTest::newRow("empty line") << QByteArray("\r\n") << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("no file") << QByteArray("<missing>") << 0;
}

void MusicTest::windowOpensWithTheStoredTuneSelected()
{
    QFETCH(QByteArray, stored);
    QFETCH(int, selected);
    if (stored != "<missing>")
        QVERIFY(testsupport::writeBytes(musicSetting, stored));

    MusicWindow *window = openFromMenu();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->objectName(), QStringLiteral("Form4"));
    QCOMPARE(window->windowTitle(), QStringLiteral("选择音乐"));
    QCOMPARE(selectedOption(window), selected);
    QCOMPARE(m_session.notices().texts(), QStringList());
}

void MusicTest::confirmStoresTheChoice_data()
{
    QTest::addColumn<int>("choice");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("默认音乐5") << 5 << QByteArray("music\\5.mid\r\n");
    QTest::newRow("默认音乐8") << 8 << QByteArray("music\\8.mid\r\n");
    QTest::newRow("nothing chosen") << 0 << QByteArray("\r\n");
}

void MusicTest::confirmStoresTheChoice()
{
    QFETCH(int, choice);
    QFETCH(QByteArray, expected);
    QVERIFY(testsupport::writeBytes(musicSetting, "D:\\曲\\a.mp3\r\n"));
    QPointer<MusicWindow> window = openFromMenu();
    QVERIFY(window);
    if (choice)
        window->option(choice)->click();

    QVERIFY(testsupport::clickButton(window));

    QCOMPARE(testsupport::readBytes(musicSetting), expected);
    QCOMPARE(m_session.notices().texts(), QStringList{QStringLiteral("设置完成!请重新启动本程序以生效")});
    QCOMPARE(m_session.notices().records().first().title, QStringLiteral("提示"));
    QTRY_VERIFY(window.isNull());

    // The next opening reads the file afresh.
    window = openFromMenu();
    QVERIFY(window);
    QCOMPARE(selectedOption(window), choice);
}

void MusicTest::unwritableSettingKeepsTheWindowAndTheChoice()
{
    QVERIFY(testsupport::writeBytes(musicSetting, "music\\2.mid\r\n"));
    QVERIFY(QFile::setPermissions(musicSetting, QFile::ReadOwner));
    MusicWindow *window = openFromMenu();
    QVERIFY(window);
    window->option(7)->click();

    QVERIFY(testsupport::clickButton(window));

    QCOMPARE(testsupport::readBytes(musicSetting), QByteArray("music\\2.mid\r\n"));
    QCOMPARE(m_session.notices().texts().size(), 1);
    const QString notice = m_session.notices().texts().first();
    QVERIFY2(notice.startsWith(QStringLiteral("无法保存音乐设置到文件")) && notice.contains(QStringLiteral("qqq.qq"))
                 && notice.contains(QStringLiteral("只读")),
             qPrintable(notice));
    QVERIFY(window->isVisible());
    QCOMPARE(selectedOption(window), 7);
}

void MusicTest::loadStartsTheStoredTune_data()
{
    QTest::addColumn<QByteArray>("stored"); // "<missing>": no file at all
    QTest::addColumn<QString>("name");
    QTest::newRow("built-in") << QByteArray("music\\3.mid\r\nignored\r\n") << QStringLiteral("music\\3.mid");
    QTest::newRow("setter's full path, GBK")
        << testsupport::gbk(QStringLiteral("D:\\曲\\a.mp3\r\n")) << QStringLiteral("D:\\曲\\a.mp3");
    QTest::newRow("capitals, unchanged") << QByteArray("MUSIC\\3.MID\r\n") << QStringLiteral("MUSIC\\3.MID");
    QTest::newRow("empty line") << QByteArray("\r\n") << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("no file") << QByteArray("<missing>") << QString();
}

void MusicTest::loadStartsTheStoredTune()
{
    QFETCH(QByteArray, stored);
    QFETCH(QString, name);
    m_session.finish();
    if (stored != "<missing>")
        QVERIFY(testsupport::writeBytes(musicSetting, stored));
    m_calls.clear();

    m_session.start();

    QCOMPARE(m_calls, (QStringList{QStringLiteral("name:") + name, QStringLiteral("open"), QStringLiteral("play")}));
    QCOMPARE(m_session.notices().texts(), QStringList());
}

void MusicTest::menuRestartsAndStopsAndTheFrameReleases()
{
    m_calls.clear();
    TRIGGER(m_session.form1(), "start");
    QCOMPARE(m_calls, (QStringList{QStringLiteral("prev"), QStringLiteral("play")}));
    m_calls.clear();
    TRIGGER(m_session.form1(), "stop");
    QCOMPARE(m_calls, QStringList{QStringLiteral("stop")});
    m_calls.clear();
    // A tune chosen now waits for the next start: nothing reaches the player.
    MusicWindow *window = openFromMenu();
    QVERIFY(window);
    window->option(4)->click();
    QVERIFY(testsupport::clickButton(window));
    QCOMPARE(m_calls, QStringList());

    QVERIFY(m_session.form1()->close());
    QCOMPARE(m_calls, QStringList{QStringLiteral("close")});
}

void MusicTest::realProgramIsHeardAndEndsOnSigterm()
{
    const QString binDir = qEnvironmentVariable("MORVANE_BIN_DIR");
    if (binDir.isEmpty())
        QSKIP("MORVANE_BIN_DIR is not set; run through CTest");
    // A working folder like the program's own: the default setting and the built-in tunes.
    const QTemporaryDir work;
    QVERIFY(QFile::copy(binDir + QStringLiteral("/qqq.qq"), work.filePath(QStringLiteral("qqq.qq"))));
    QVERIFY(QFile::link(binDir + QStringLiteral("/music"), work.filePath(QStringLiteral("music"))));
    const QString sound = work.filePath(QStringLiteral("sound.raw"));

    QProcess morvane;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("disk"));
    environment.insert(QStringLiteral("SDL_DISKAUDIOFILE"), sound);
    morvane.setProcessEnvironment(environment);
    morvane.setWorkingDirectory(work.path());
    morvane.start(binDir + QStringLiteral("/Morvane"), {});
    QVERIFY(morvane.waitForStarted());
    const auto stop = qScopeGuard([&] {
        morvane.kill();
        morvane.waitForFinished();
    });

    // Heard within a few seconds of the start: some 16-bit sample well above silence.
    const auto audible = [&] {
        const QByteArray bytes = testsupport::readBytes(sound);
        const auto *samples = reinterpret_cast<const qint16 *>(bytes.constData());
        for (qsizetype i = 0; i < bytes.size() / 2; ++i) {
            if (qAbs(int(samples[i])) > 1000)
                return true;
        }
        return false;
    };
    QTRY_VERIFY_WITH_TIMEOUT(audible(), 8000);

    // A logout or a plain kill ends it while the tune plays.
    QCOMPARE(::kill(pid_t(morvane.processId()), SIGTERM), 0);
    QVERIFY(morvane.waitForFinished(3000));
    QCOMPARE(morvane.exitStatus(), QProcess::CrashExit);
}

MORVANE_TEST_MAIN(MusicTest)
#include "tst_music.moc"
