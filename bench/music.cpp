// The background-music player as the main window uses it: the real player (SDL on the
// driver SDL_AUDIODRIVER names, with the soundfont SDL_SOUNDFONTS names), driven from this
// thread, which stands for the window's. Each command is timed on this thread: what it costs
// the window, however long the player takes to carry it out. Beside each, the plainest way Qt
// hands work to another thread, a queued call to an idle QThread, is timed the same way.
//
// Arguments: the tune, and the file SDL's disk driver writes to (to tell that it sounded).
#include "measure.h"

#include "platform/core/process.h"
#include "platform/player/mediaplayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QThread>

#include <memory>

namespace {

constexpr int cycles = 50;
// Between commands, about as long as a window takes to handle a click: the player works on
// what it was told while more arrives.
constexpr int gapMs = 15;

// Whether anything but silence reached the file.
bool sounded(const QString &output)
{
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    return bytes.count('\0') < bytes.size();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: bench_music TUNE DISK-OUTPUT\n");
        return 2;
    }
    const QString tune = arguments.at(1);
    const QString output = arguments.at(2);

    auto player = platform::makePlayer();
    QThread worker;
    worker.start();
    QObject receiver;
    receiver.moveToThread(&worker);

    QMap<QString, QList<double>> held;
    QList<double> queued;
    const auto send = [&](const QString &command) {
        QElapsedTimer timer;
        timer.start();
        if (command == u"setFileName")
            player->setFileName(tune);
        else
            player->command(*platform::playerCommandNamed(command));
        held[command] << bench::elapsedMs(timer);
        timer.restart();
        QMetaObject::invokeMethod(
            &receiver, [] {}, Qt::QueuedConnection);
        queued << bench::elapsedMs(timer);
    };

    // First the tune as the program starts it, until it is heard: the wait a user has.
    QElapsedTimer untilSound;
    untilSound.start();
    send(QStringLiteral("setFileName"));
    send(QStringLiteral("open"));
    send(QStringLiteral("play"));
    while (!sounded(output) && untilSound.elapsed() < 60000)
        QThread::msleep(5);
    const bool heard = sounded(output);
    const double firstSoundMs = bench::elapsedMs(untilSound);

    const QStringList commands{QStringLiteral("setFileName"), QStringLiteral("open"), QStringLiteral("play"),
                               QStringLiteral("prev"),        QStringLiteral("stop"), QStringLiteral("close")};
    for (int cycle = 0; cycle < cycles; ++cycle) {
        for (const QString &command : commands) {
            send(command);
            QThread::msleep(gapMs);
        }
    }

    QString worstCommand;
    double worstMs = -1;
    for (auto it = held.cbegin(); it != held.cend(); ++it) {
        const double ms = bench::worst(it.value());
        bench::print(qPrintable(u"worst_" + it.key() + u"_ms"), ms);
        if (ms > worstMs) {
            worstMs = ms;
            worstCommand = it.key();
        }
    }
    bench::print("worst_ms", worstMs);
    bench::print("worst_command", worstCommand);
    bench::print("calls_per_command", double(cycles));
    bench::print("queued_worst_ms", bench::worst(queued));
    bench::print("first_sound_ms", heard ? firstSoundMs : -1);
    // Ended as the main program ends, without waiting for the player's thread.
    platform::endProcessNow(0);
}
