// The reference for the start-up: the barest Qt Widgets program with a main window, built with
// the same settings as the main program and watched by the same probe. Built a second time
// with BENCH_LINK_PLAYER, it also makes the main program's music player without telling it
// anything: the player's libraries are loaded at the start, but no sound is made.
#include "probe.h"

#ifdef BENCH_LINK_PLAYER
#include "platform/player/mediaplayer.h"
#endif

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    bench::ShownAndIdleProbe probe(QStringLiteral("bare"));
#ifdef BENCH_LINK_PLAYER
    const auto player = platform::makePlayer();
#endif
    QMainWindow window;
    window.setObjectName(QStringLiteral("bare"));
    window.show();
    return application.exec();
}
