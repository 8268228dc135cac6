// The fair reference for the start-up: a bare main window that, like the main program, plays a
// background tune, with nothing but plain SDL2_mixer on a thread of its own, started once the
// window is shown, as the main program starts its tune. Argument: the tune; the soundfont is the
// one SDL_SOUNDFONTS names, which the runner sets for the main program too.
#include "probe.h"

#include <QApplication>
#include <QMainWindow>

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <thread>

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_start_bare_tune TUNE\n");
        return 2;
    }
    const QByteArray tune = argv[1];
    QApplication application(argc, argv);
    bench::ShownAndIdleProbe probe(QStringLiteral("bare"));
    QMainWindow window;
    window.setObjectName(QStringLiteral("bare"));
    window.show();
    std::thread([tune] {
        // Else SDL turns the runner's SIGTERM into a quit event nobody reads.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
            return;
        // Debian's SDL_mixer would otherwise name its own default over SDL_SOUNDFONTS.
        Mix_SetSoundFonts(SDL_getenv("SDL_SOUNDFONTS"));
        if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, 2048) != 0)
            return;
        if (Mix_Music *music = Mix_LoadMUS(tune.constData()))
            Mix_PlayMusic(music, 0);
    }).detach();
    return application.exec();
}
