// The background-music player against the real sound system: SDL's disk driver writes
// what would be heard into a file, read back here as 16-bit samples (two per frame). And the
// main program's end, which never waits for its player.
#include "skinmaker/shell/mainwindow.h"
#include "skinmaker/skinmaker.h"

#include "platform/player/backgroundplayer.h"
#include "platform/player/mediaplayer.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QSemaphore>

#include <cmath>
#include <cstring>
#include <mutex>
#include <thread>

#include <sys/resource.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

constexpr qsizetype perSecond = 2 * 44100; // samples, as the player opens the device

// Loudness (root mean square) in 16-bit steps: these notes measure about 1500; a stopped
// or finished tune 0, or 0.5 while FluidSynth runs on after the last note (its dither).
constexpr double audible = 300;
constexpr double silent = 2;

// A MIDI file playing the keys one after another, each for this many quarter notes
// (half a second each at the default tempo; 480 ticks a quarter note).
QByteArray midiTune(std::initializer_list<int> keys, int quarters)
{
    const int ticks = quarters * 480; // under 2^14: two bytes of variable length
    QByteArray events;
    for (const int key : keys) {
        events += QByteArray("\x00\x90", 2) + char(key) + char(100);
        events += QByteArray(1, char(0x80 | ticks >> 7)) + char(ticks & 0x7f) + '\x80' + char(key) + '\0';
    }
    events += QByteArray("\x00\xff\x2f\x00", 4);
    const qsizetype size = events.size();
    return QByteArray("MThd\0\0\0\x06\0\0\0\x01\x01\xe0MTrk\0\0", 20) + char(size >> 8) + char(size) + events;
}

QString outputFile()
{
    return QDir::current().absoluteFilePath(QStringLiteral("output.raw"));
}

// Sends what would be heard to a fresh file, this many times faster than real time.
// Only while no player thread runs: SDL reads the environment there.
void recordToDisk(int speed)
{
    QFile::remove(outputFile());
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(outputFile()));
    qputenv("SDL_DISKAUDIODELAY", QByteArray::number(46 / speed)); // ms per 2048 frames
}

qsizetype samplesWritten()
{
    return qsizetype(QFileInfo(outputFile()).size() / 2);
}

QList<qint16> heard()
{
    const QByteArray bytes = readBytes(outputFile());
    QList<qint16> samples(bytes.size() / 2);
    if (!samples.isEmpty())
        std::memcpy(samples.data(), bytes.constData(), size_t(samples.size()) * 2);
    return samples;
}

double rms(const QList<qint16> &sound, qsizetype from, qsizetype count, const QList<qint16> &model = {},
           qsizetype modelFrom = 0)
{
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double d = sound.at(from + i) - (model.isEmpty() ? 0 : model.at(modelFrom + i));
        sum += d * d;
    }
    return count ? std::sqrt(sum / double(count)) : 0;
}

double loudness(const QList<qint16> &sound)
{
    return rms(sound, 0, sound.size());
}

// Where in [from, to) the sound best matches the model's first 6 ms from modelFrom on.
qsizetype bestMatch(const QList<qint16> &sound, qsizetype from, qsizetype to, const QList<qint16> &model,
                    qsizetype modelFrom)
{
    qsizetype best = from;
    for (qsizetype at = from + 2; at < to; at += 2) {
        if (rms(sound, at, 512, model, modelFrom) < rms(sound, best, 512, model, modelFrom))
            best = at;
    }
    return best;
}

// The player's own reports in its debug log, from any thread: whether a tune plays, or why not.
std::mutex reportsMutex;
QString playerReports;
QtMessageHandler passOn = nullptr;

void collectPlayerReports(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (qstrcmp(context.category, "morvane.player") != 0)
        return passOn(type, context, message);
    const std::lock_guard lock(reportsMutex);
    playerReports += u'\n' + message;
}

bool playerDecided()
{
    const std::lock_guard lock(reportsMutex);
    return playerReports.contains(u"\nplaying") || playerReports.contains(u"\ncannot");
}

// A player whose thread never comes back from opening the tune, as from a disk that stopped
// answering; and the main program as main() runs it with that player, 退出 chosen once it hangs.
struct NeverDonePlayer : platform::MediaPlayer {
    void setFileName(const QString &) override {}
    void command(platform::PlayerCommand) override
    {
        busy.release(), std::this_thread::sleep_for(std::chrono::hours(24));
    }
    static inline QSemaphore busy{0};
};

[[noreturn]] void exitWhileThePlayerHangs(int &argc, char **argv)
{
    const platform::PlayerOverride players{
        [] { return std::make_unique<platform::BackgroundPlayer>(std::make_unique<NeverDonePlayer>()); }};
    std::thread([] {
        NeverDonePlayer::busy.acquire();
        QMetaObject::invokeMethod(qApp, [] {
            std::puts("exit"), std::fflush(stdout);
            testsupport::triggerAction(testsupport::existingWindow<skinmaker::shell::MainWindow>(), "exit");
        });
    }).detach();
    skinmaker::run(argc, argv);
}

// Sends the commands in turn ("file:" and a name sets the file name) and returns the first
// that held the caller over 10 ms: all of its time if the caller slept in it (waited for a
// lock or a thread), else the time it ran. Time the shared machine gave others is no hold.
QString send(platform::MediaPlayer &player, const QStringList &commands)
{
    const auto cpuMs = [](const rusage &u) {
        return (qint64(u.ru_utime.tv_sec) + u.ru_stime.tv_sec) * 1000
            + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000;
    };
    for (const QString &command : commands) {
        rusage before{};
        rusage after{};
        getrusage(RUSAGE_THREAD, &before);
        QElapsedTimer timer;
        timer.start();
        // A name the player has no command for is never sent.
        if (command.startsWith(u"file:"))
            player.setFileName(command.mid(5));
        else if (const auto known = platform::playerCommandNamed(command))
            player.command(*known);
        const qint64 elapsed = timer.elapsed();
        getrusage(RUSAGE_THREAD, &after);
        const qint64 held = after.ru_nvcsw > before.ru_nvcsw ? elapsed : cpuMs(after) - cpuMs(before);
        if (held > 10)
            return QStringLiteral("\"%1\" held the caller %2 ms").arg(command).arg(held);
    }
    return {};
}

} // namespace

#define SEND(player, ...)                                                                                              \
    do {                                                                                                               \
        const QString slowCommand = send(player, __VA_ARGS__);                                                         \
        QVERIFY2(slowCommand.isEmpty(), qPrintable(slowCommand));                                                      \
    } while (false)

// The device writes, silence included, for as long as it is open.
#define WAIT_FOR_SAMPLES(count) QTRY_VERIFY_WITH_TIMEOUT(samplesWritten() >= (count), 20000)

class PlayerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void playsOnceStopsAndStartsAgainFromTheBeginning();
    void commandsThatCannotBeCarriedOutDoNothing_data();
    void commandsThatCannotBeCarriedOutDoNothing();
    void commandNamesAreTheControlsOwn_data();
    void commandNamesAreTheControlsOwn();
    void endsWhenTheSystemAsksWhilePlaying();
    void exitEndsTheProgramWhileThePlayerHangs();
};

void PlayerTest::initTestCase()
{
    QLoggingCategory::setFilterRules(QStringLiteral("morvane.player.debug=true"));
    passOn = qInstallMessageHandler(collectPlayerReports);
}

void PlayerTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    const std::lock_guard lock(reportsMutex);
    playerReports.clear();
    QDir().mkpath(QStringLiteral("music"));
    // Eight notes, four seconds: long enough to stop the tune while it sounds.
    QVERIFY(writeBytes(QStringLiteral("music/tune.mid"), midiTune({60, 62, 64, 65, 67, 69, 71, 72}, 1)));
    QVERIFY(writeBytes(QStringLiteral("music/junk.mid"), QByteArray("MThd, or so it says.\r\n").repeated(50)));
}

void PlayerTest::playsOnceStopsAndStartsAgainFromTheBeginning()
{
    recordToDisk(4);
    auto player = platform::makePlayer();
    SEND(*player, {QStringLiteral("file:music\\tune.mid"), QStringLiteral("open"), QStringLiteral("play")});
    // Silence until the tune is loaded, which a busy machine can draw out: wait for the first sound.
    // One reading of the file: it grows between two.
    const auto firstSound = [] {
        const QList<qint16> written = heard();
        const auto sound = std::find_if(written.cbegin(), written.cend(), [](qint16 s) { return s; });
        return sound == written.cend() ? -1 : sound - written.cbegin();
    };
    QTRY_VERIFY2_WITH_TIMEOUT(firstSound() >= 0, "nothing sounded", 20000);
    const qsizetype start = firstSound();
    WAIT_FOR_SAMPLES(start + 6 * perSecond);

    // "prev" then "play" after the last note, while the tune sounds, and after "stop"
    // silenced it. All commands come first, so a slow examination cannot change the
    // situations.
    const QStringList restart{QStringLiteral("prev"), QStringLiteral("play")};
    const qsizetype afterEnd = samplesWritten();
    SEND(*player, restart);
    WAIT_FOR_SAMPLES(afterEnd + perSecond * 5 / 2);
    const qsizetype whilePlaying = samplesWritten();
    SEND(*player, restart);
    WAIT_FOR_SAMPLES(whilePlaying + perSecond * 5 / 2);
    SEND(*player, {QStringLiteral("stop")});
    const qsizetype stopped = samplesWritten();
    WAIT_FOR_SAMPLES(stopped + perSecond / 2);
    const qsizetype afterStop = samplesWritten();
    SEND(*player, restart);
    WAIT_FOR_SAMPLES(afterStop + perSecond * 5 / 2);
    SEND(*player, {QStringLiteral("close")});

    // The notes sounded once: a second after the last one, the tune had not come round.
    const QList<qint16> sound = heard();
    QCOMPARE_GT(rms(sound, start, 4 * perSecond), audible);
    QCOMPARE_LT(rms(sound, start + 5 * perSecond, perSecond), silent);
    QCOMPARE_GT(rms(sound, whilePlaying - perSecond / 4, perSecond / 4), audible);
    QCOMPARE_GT(rms(sound, stopped - perSecond / 4, perSecond / 4), audible);
    QCOMPARE_LT(rms(sound, stopped + perSecond / 4, afterStop - stopped - perSecond / 4), silent);
    // Each first second matches the first rendering sample for sample here (FluidSynth
    // renders the same events alike); a start a tenth of a second off differs by over 1.
    for (const qsizetype before : {afterEnd, whilePlaying, afterStop}) {
        const qsizetype again = bestMatch(sound, before, before + perSecond * 3 / 2, sound, start);
        QCOMPARE_LT(rms(sound, again, perSecond, sound, start) / rms(sound, start, perSecond), 0.05);
    }
}

void PlayerTest::commandNamesAreTheControlsOwn_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("command"); // -1: no command has this name
    using platform::PlayerCommand;
    QTest::newRow("open") << QStringLiteral("open") << int(PlayerCommand::Open);
    QTest::newRow("play in capitals") << QStringLiteral("PLAY") << int(PlayerCommand::Play);
    QTest::newRow("prev") << QStringLiteral("Prev") << int(PlayerCommand::Prev);
    QTest::newRow("stop") << QStringLiteral("stop") << int(PlayerCommand::Stop);
    QTest::newRow("close") << QStringLiteral("close") << int(PlayerCommand::Close);
    QTest::newRow("pause, which the control lacks") << QStringLiteral("pause") << -1;
    QTest::newRow("a typo") << QStringLiteral("stpo") << -1;
    QTest::newRow("nothing") << QString() << -1;
}

void PlayerTest::commandNamesAreTheControlsOwn()
{
    QFETCH(QString, name);
    QFETCH(int, command);
    const std::optional<platform::PlayerCommand> named = platform::playerCommandNamed(name);
    QCOMPARE(named ? int(*named) : -1, command);
    if (named)
        QCOMPARE(platform::playerCommandName(*named), name.toLower());
}

void PlayerTest::commandsThatCannotBeCarriedOutDoNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<bool>("sounds");

    // The first row shows that this procedure hears a tune that does play.
    QTest::newRow("a tune") << QStringLiteral("music\\tune.mid") << QByteArray("disk") << true;
    QTest::newRow("empty name") << QString() << QByteArray("disk") << false;
    QTest::newRow("missing file") << QStringLiteral("music\\none.mid") << QByteArray("disk") << false;
    QTest::newRow("no music in the file") << QStringLiteral("music\\junk.mid") << QByteArray("disk") << false;
    QTest::newRow("folder") << QStringLiteral("music") << QByteArray("disk") << false;
    QTest::newRow("no sound device") << QStringLiteral("music\\tune.mid") << QByteArray("none-such") << false;
    QTest::newRow("silent sound device") << QStringLiteral("music\\tune.mid") << QByteArray("dummy") << false;
}

void PlayerTest::commandsThatCannotBeCarriedOutDoNothing()
{
    QFETCH(QString, fileName);
    QFETCH(QByteArray, driver);
    QFETCH(bool, sounds);

    recordToDisk(4);
    qputenv("SDL_AUDIODRIVER", driver);
    {
        auto player = platform::makePlayer();
        SEND(*player,
             {QStringLiteral("play"), QStringLiteral("prev"), QStringLiteral("stop"),
              QStringLiteral("file:") + fileName, QStringLiteral("open"), QStringLiteral("play")});
        // However long a busy machine draws it out: first the player's word, then the sound.
        QTRY_VERIFY_WITH_TIMEOUT(playerDecided(), 20000);
        if (sounds)
            QTRY_VERIFY_WITH_TIMEOUT(loudness(heard()) > audible, 20000);
        SEND(*player,
             {QStringLiteral("stop"), QStringLiteral("prev"), QStringLiteral("play"), QStringLiteral("pause"),
              QStringLiteral("close"), QStringLiteral("play")});
    }
    QCOMPARE(loudness(heard()) > audible, sounds);
}

void PlayerTest::endsWhenTheSystemAsksWhilePlaying()
{
    QVERIFY(writeBytes(QStringLiteral("music/long.mid"), midiTune({60, 67, 72}, 16)));
    recordToDisk(1);
    QProcess program;
    // First a file that is no music, which must not be heard of either.
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--play"), QStringLiteral("music\\junk.mid"), QStringLiteral("music\\long.mid")});
    // Only a sounding tune shows that SDL is up, with whatever it did to the signals.
    QTRY_VERIFY_WITH_TIMEOUT(loudness(heard()) > audible, 5000);

    program.terminate();
    const bool ended = program.waitForFinished(2000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(ended, "the playing program outlived SIGTERM");

    // Nothing reaches the user's terminal.
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), QString());
}

void PlayerTest::exitEndsTheProgramWhileThePlayerHangs()
{
    QProcess program;
    program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--exit-while-the-player-hangs")});
    const auto stop = qScopeGuard([&] { program.kill(), program.waitForFinished(); });
    QVERIFY2(program.waitForReadyRead(20000), "退出 was never chosen");
    QVERIFY2(program.waitForFinished(2000), "the program waited for its player");
    QVERIFY(program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0);
}

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], "--exit-while-the-player-hangs") == 0)
        exitWhileThePlayerHangs(argc, argv);
    // Run with "--play" and file names, the test program opens and plays them in turn, the
    // last that plays sounding on, in its event loop until it is ended.
    if (argc > 2 && qstrcmp(argv[1], "--play") == 0) {
        QCoreApplication application(argc, argv);
        const auto player = platform::makePlayer();
        for (int file = 2; file < argc; ++file) {
            player->setFileName(QString::fromLocal8Bit(argv[file]));
            player->command(platform::PlayerCommand::Open);
            player->command(platform::PlayerCommand::Play);
        }
        return application.exec();
    }
    testsupport::IsolatedEnvironment environment;
    QApplication application(argc, argv);
    PlayerTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_player.moc"
