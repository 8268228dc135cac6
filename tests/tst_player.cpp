// The background-music player against the real sound system: SDL's disk driver writes
// what would be heard into a file, read back here as 16-bit samples (two per frame).
#include "platform/player/mediaplayer.h"

#include "uitest.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cmath>
#include <cstring>

#include <sys/resource.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

constexpr qsizetype perSecond = 2 * 44100; // samples, as the player opens the device

// Loudness in 16-bit steps: these notes measure about 1500; a stopped or finished tune 0,
// or 1 while FluidSynth runs on after the last note has died away (its dither).
constexpr double audibleRms = 300;
constexpr int silentPeak = 16;

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

// Eight notes, four seconds: long enough to stop it while it sounds.
const QByteArray tune = midiTune({60, 62, 64, 65, 67, 69, 71, 72}, 1);

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
    // What the driver sleeps for each 2048-frame buffer (46 ms of sound).
    qputenv("SDL_DISKAUDIODELAY", QByteArray::number(46 / speed));
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

double rms(const QList<qint16> &sound, qsizetype from, qsizetype to)
{
    double sum = 0;
    for (qsizetype i = from; i < to; ++i)
        sum += double(sound.at(i)) * sound.at(i);
    return to > from ? std::sqrt(sum / double(to - from)) : 0;
}

bool isAudible(const QList<qint16> &sound)
{
    return rms(sound, 0, sound.size()) > audibleRms;
}

int peak(const QList<qint16> &sound, qsizetype from, qsizetype to)
{
    int loudest = 0;
    for (qsizetype i = from; i < to; ++i)
        loudest = std::max(loudest, std::abs(int(sound.at(i))));
    return loudest;
}

// The summed squares of the differences between two stretches.
double mismatch(const QList<qint16> &sound, qsizetype from, const QList<qint16> &model, qsizetype modelFrom,
                qsizetype count)
{
    double sum = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const double d = sound.at(from + i) - model.at(modelFrom + i);
        sum += d * d;
    }
    return sum;
}

// The loudness of the difference between a second of each against that of the model's.
double difference(const QList<qint16> &sound, qsizetype from, const QList<qint16> &model, qsizetype modelFrom)
{
    return std::sqrt(mismatch(sound, from, model, modelFrom, perSecond) / double(perSecond))
           / rms(model, modelFrom, modelFrom + perSecond);
}

// Where in [from, to) the sound best matches the first 6 ms of the model from modelFrom.
qsizetype bestMatch(const QList<qint16> &sound, qsizetype from, qsizetype to, const QList<qint16> &model,
                    qsizetype modelFrom)
{
    qsizetype best = from;
    double bestMismatch = mismatch(sound, from, model, modelFrom, 512);
    for (qsizetype at = from + 2; at < to; at += 2) {
        if (const double m = mismatch(sound, at, model, modelFrom, 512); m < bestMismatch) {
            best = at;
            bestMismatch = m;
        }
    }
    return best;
}

// How long a call held the caller: all of it if the caller slept in it (waited for a lock
// or a thread), else the time it ran. Time the system gave other programs meanwhile does
// not count: this machine is shared.
class CallerHold {
public:
    CallerHold() { m_timer.start(); m_start = usage(); }
    qint64 milliseconds() const
    {
        const rusage now = usage();
        if (now.ru_nvcsw > m_start.ru_nvcsw)
            return m_timer.elapsed();
        const auto ms = [](const timeval &t) { return qint64(t.tv_sec) * 1000 + t.tv_usec / 1000; };
        return ms(now.ru_utime) + ms(now.ru_stime) - ms(m_start.ru_utime) - ms(m_start.ru_stime);
    }

private:
    static rusage usage()
    {
        rusage result{};
        getrusage(RUSAGE_THREAD, &result);
        return result;
    }
    QElapsedTimer m_timer;
    rusage m_start{};
};

// Sends the commands in turn ("file:" and a name sets the file name); returns the first
// that held the caller longer than a user could notice.
QString send(platform::MediaPlayer &player, const QStringList &commands)
{
    for (const QString &command : commands) {
        const CallerHold hold;
        if (command.startsWith(u"file:"))
            player.setFileName(command.mid(5));
        else
            player.command(command);
        if (hold.milliseconds() > 10)
            return QStringLiteral("\"%1\" held the caller %2 ms").arg(command).arg(hold.milliseconds());
    }
    return {};
}

} // namespace

// The device keeps writing, silence included, for as long as it is open.
#define WAIT_FOR_SAMPLES(count) QTRY_VERIFY_WITH_TIMEOUT(samplesWritten() >= (count), 20000)

#define SEND(player, ...)                                                            \
    do {                                                                             \
        const QString slowCommand = send(player, __VA_ARGS__);                       \
        QVERIFY2(slowCommand.isEmpty(), qPrintable(slowCommand));                    \
    } while (false)

class PlayerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void playsOnceStopsAndStartsAgainFromTheBeginning();
    void commandsThatCannotBeCarriedOutDoNothing_data();
    void commandsThatCannotBeCarriedOutDoNothing();
    void endsWhenTheSystemAsksWhilePlaying();
};

void PlayerTest::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QDir().mkpath(QStringLiteral("music"));
    QVERIFY(writeBytes(QStringLiteral("music/tune.mid"), tune));
    QVERIFY(writeBytes(QStringLiteral("music/junk.mid"), QByteArray("MThd, or so it says.\r\n").repeated(50)));
}

void PlayerTest::playsOnceStopsAndStartsAgainFromTheBeginning()
{
    recordToDisk(4);
    auto player = platform::makePlayer();
    SEND(*player, {QStringLiteral("file:music\\tune.mid"), QStringLiteral("open"), QStringLiteral("play")});

    // The notes sound; a second after the last one, the tune has not come round again.
    WAIT_FOR_SAMPLES(perSecond);
    QList<qint16> first = heard();
    const qsizetype start = std::find_if(first.cbegin(), first.cend(), [](qint16 s) { return s; }) - first.cbegin();
    QVERIFY2(start < first.size(), "nothing sounded");
    WAIT_FOR_SAMPLES(start + 6 * perSecond);
    first = heard();
    QCOMPARE_GT(rms(first, start, start + 4 * perSecond), audibleRms);
    QCOMPARE_LE(peak(first, start + 5 * perSecond, start + 6 * perSecond), silentPeak);

    // "prev" then "play" starts from the beginning after the last note, while the tune
    // sounds, and after "stop" silenced it. The commands come first and the sound is
    // examined afterwards, so that a slow examination cannot change the situations.
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

    const QList<qint16> sound = heard();
    QCOMPARE_GT(rms(sound, whilePlaying - perSecond / 4, whilePlaying), audibleRms);
    QCOMPARE_GT(rms(sound, stopped - perSecond / 4, stopped), audibleRms);
    QCOMPARE_LE(peak(sound, stopped + perSecond / 4, afterStop), silentPeak);
    // The first seconds match sample for sample here, as FluidSynth renders the same
    // events alike; a start a tenth of a second off differs by over 1.
    for (const qsizetype before : {afterEnd, whilePlaying, afterStop}) {
        const qsizetype again = bestMatch(sound, before, before + perSecond * 3 / 2, sound, start);
        QCOMPARE_LT(difference(sound, again, sound, start), 0.05);
    }
}

void PlayerTest::commandsThatCannotBeCarriedOutDoNothing_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QByteArray>("driver");
    QTest::addColumn<bool>("audible");

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
    QFETCH(bool, audible);

    recordToDisk(4);
    qputenv("SDL_AUDIODRIVER", driver);
    {
        auto player = platform::makePlayer();
        SEND(*player, {QStringLiteral("play"), QStringLiteral("prev"), QStringLiteral("stop"),
                       QStringLiteral("file:") + fileName, QStringLiteral("open"), QStringLiteral("play")});
        QTest::qWait(400);
        QCOMPARE(isAudible(heard()), audible);
        SEND(*player, {QStringLiteral("stop"), QStringLiteral("prev"), QStringLiteral("play"),
                       QStringLiteral("pause"), QStringLiteral("close"), QStringLiteral("play")});
    }
    QCOMPARE(isAudible(heard()), audible);
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
    QTRY_VERIFY_WITH_TIMEOUT(isAudible(heard()), 5000);

    program.terminate();
    const bool ended = program.waitForFinished(2000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    QVERIFY2(ended, "the playing program outlived SIGTERM");

    // Nothing reaches the user's terminal but the disk driver's notes of where it writes.
    QStringList lines = QString::fromLocal8Bit(program.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    lines.removeIf([](const QString &line) { return line.contains(u"SDL disk i/o") || line.contains(u"Writing to"); });
    QCOMPARE(lines, QStringList());
}

int main(int argc, char *argv[])
{
    // Run with "--play" and file names, the test program plays them in turn in its event
    // loop until it is ended.
    if (argc > 2 && qstrcmp(argv[1], "--play") == 0) {
        QCoreApplication application(argc, argv);
        const auto player = platform::makePlayer();
        for (int file = 2; file < argc; ++file) {
            player->setFileName(QString::fromLocal8Bit(argv[file]));
            player->command(QStringLiteral("open"));
            player->command(QStringLiteral("play"));
            QThread::msleep(300); // time to play it, or to fail to
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
