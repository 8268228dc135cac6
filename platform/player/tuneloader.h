#pragma once

#include "tunefile.h"

#include <QString>

#include <optional>

typedef struct _Mix_Music Mix_Music;

// How the player hands a tune file to SDL_mixer: checked first, then read through a stream of
// only what it may read.
namespace platform {

// What SDL_mixer may read of the file; nothing, with the reason in the player's log, when it is
// no ordinary readable file or no tune the player plays.
std::optional<TuneStream> examineTune(const QString &path);

// The tune ready to play, the sound device being open; null, with the reason in the log, when
// SDL_mixer cannot play it.
Mix_Music *loadTune(const QString &path, const TuneStream &stream);

} // namespace platform
