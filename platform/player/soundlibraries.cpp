#include "soundlibraries.h"

#include <SDL.h>
#include <fluidsynth.h>

#include <cstdarg>
#include <mutex>

#ifdef MORVANE_QUIET_LINUX_SOUND
#include <alsa/asoundlib.h>
#include <dlfcn.h>
#include <mpg123.h>
#endif

namespace platform {

Q_LOGGING_CATEGORY(playerLog, "morvane.player", QtInfoMsg)

namespace {

// Sound servers first, then ALSA, then the rest of SDL's own list. Without a server or a sound
// card each attempt fails; ALSA's failure is the one that talks, into the log below.
constexpr char driverOrder[] = "pulseaudio,pipewire,alsa,sndio,jack,dsp";

void logFromFluidSynth(int, const char *message, void *)
{
    qCDebug(playerLog) << "FluidSynth:" << message;
}

void logFromSdl(void *, int, SDL_LogPriority, const char *message)
{
    qCDebug(playerLog) << "SDL:" << message;
}

#ifdef MORVANE_QUIET_LINUX_SOUND
void logFromAlsa(const char *, int, const char *function, int, const char *format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const QString message = QString::vasprintf(format, arguments);
    va_end(arguments);
    qCDebug(playerLog) << "ALSA:" << function << message;
}
#endif

} // namespace

void prepareSoundLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
            fluid_set_log_function(level, logFromFluidSynth, nullptr);
        SDL_LogSetOutputFunction(logFromSdl, nullptr);
        SDL_SetHint(SDL_HINT_AUDIODRIVER, driverOrder);
        // PipeWire's library writes to the terminal when no server answers, and offers no way to
        // take its words instead; the user's own PIPEWIRE_DEBUG still counts.
        if (qEnvironmentVariableIsEmpty("PIPEWIRE_DEBUG"))
            qputenv("PIPEWIRE_DEBUG", "0");
#ifdef MORVANE_QUIET_LINUX_SOUND
        snd_lib_error_set_handler(logFromAlsa);
#endif
    });
}

} // namespace platform

#ifdef MORVANE_QUIET_LINUX_SOUND
// SDL_mixer makes its MP3 decoders with mpg123_new and never asks them to keep quiet, so mpg123
// writes its complaints about a damaged file ("Giving up searching valid MPEG header…") to the
// terminal. The program's own mpg123_new comes before the library's (the dynamic linker looks in
// the executable first): it makes the decoder through the library's and switches it to quiet.
extern "C" mpg123_handle *mpg123_new(const char *decoder, int *error)
{
    using Make = mpg123_handle *(*)(const char *, int *);
    static const auto make = reinterpret_cast<Make>(dlsym(RTLD_NEXT, "mpg123_new"));
    if (!make) {
        if (error)
            *error = MPG123_ERR;
        return nullptr;
    }
    mpg123_handle *decoderHandle = make(decoder, error);
    if (decoderHandle)
        mpg123_param(decoderHandle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    return decoderHandle;
}
#endif
