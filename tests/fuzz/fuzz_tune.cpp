// The background-music player's loader on any file content, as the player uses it: the file is
// examined, loaded into SDL_mixer, played for a moment on SDL's disk driver (writing to
// nothing, as fast as it can) and freed. It never crashes, and nothing it sets going makes a
// single allocation past what opening a tune may read, however large the sizes the file claims.
#include "fuzzinput.h"

#include "platform/player/soundlibraries.h"
#include "platform/player/tuneloader.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sanitizer/allocator_interface.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace {

// FluidSynth keeps the soundfont's samples in one block, 5.6 MB for TimGM6mb; nothing else
// comes near.
constexpr size_t allocationLimit = size_t(platform::tuneOpeningReadLimit);

void refuseLargeAllocation(const volatile void *, size_t size)
{
    if (size <= allocationLimit)
        return;
    std::fprintf(stderr, "\n*** invariant broken: an allocation of %zu bytes passes the limit of %zu\n", size,
                 allocationLimit);
    std::abort();
}

void ignoreFree(const volatile void *)
{
}

}  // namespace

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
    __sanitizer_install_malloc_and_free_hooks(refuseLargeAllocation, ignoreFree);
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
    // SDL's audio thread decodes meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Mix_FreeMusic(music);
    return 0;
}
