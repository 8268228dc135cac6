// The player's loader on any file content: examined, loaded into SDL_mixer, played a moment on
// SDL's disk driver (to nothing, as fast as it can), freed. It never crashes, and nothing
// allocates gigabytes, whatever sizes the file claims (SDL_mixer's WAV reader did).
#include "fuzzinput.h"

#include "platform/player/soundlibraries.h"
#include "platform/player/tuneloader.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <chrono>
#include <thread>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", "/dev/null");
    qputenv("SDL_DISKAUDIODELAY", "0");
    qputenv("SDL_SOUNDFONTS", "/usr/share/sounds/sf2/TimGM6mb.sf2");
    // The device stays open for every input, as the player's does while it plays.
    platform::prepareSoundLibraries();
    fuzz::require(SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 2048) == 0,
                  "the disk driver opens");
    // What a file claims may be asked for, but never gigabytes: FluidSynth allocates what a MIDI
    // event claims, up to 256 MiB, and reads into it only the bytes the file has.
    fuzz::refuseAllocationsOver(size_t(512) << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString file = fuzz::writeScratchFile(QStringLiteral("tune"), fuzz::Input(data, size).rest());
    const std::optional<platform::TuneStream> stream = platform::examineTune(file);
    Mix_Music *music = stream ? platform::loadTune(file, *stream) : nullptr;
    if (!music)
        return 0;
    Mix_PlayMusic(music, 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(5)); // SDL's audio thread decodes meanwhile
    Mix_FreeMusic(music);
    return 0;
}
