#pragma once

#include <QLoggingCategory>

namespace platform {

// The player's debug log, silent unless switched on (QT_LOGGING_RULES=
// "morvane.player.debug=true"): why a tune does not play, and what the sound libraries said.
// A tune that does not play is no business of the user's terminal.
Q_DECLARE_LOGGING_CATEGORY(playerLog)

// Sends what SDL, SDL_mixer's decoders, FluidSynth and ALSA would write to the terminal to the
// player's debug log instead, keeps PipeWire's library quiet, and has SDL try the sound servers
// before raw ALSA (unless SDL_AUDIODRIVER says otherwise). Once is enough, before SDL's audio
// starts, on the window thread (it may set an environment variable).
void prepareSoundLibraries();

} // namespace platform
