#pragma once

#include "mediaplayer.h"
#include "tunefile.h"

#include <optional>

// As SDL_mixer declares it, whose header the users of this one need not find.
typedef struct _Mix_Music Mix_Music;

namespace platform {

// The player on SDL2_mixer. Every call does its work before returning (loading a MIDI
// loads the whole soundfont), so the main window reaches it through a BackgroundPlayer.
// SDL_mixer plays one tune per process: while one of these has the sound device open,
// "open" on another does nothing.
class SdlPlayer final : public MediaPlayer {
public:
    explicit SdlPlayer(QString applicationName);
    ~SdlPlayer() override;
    SdlPlayer(const SdlPlayer &) = delete;
    SdlPlayer &operator=(const SdlPlayer &) = delete;

    void setFileName(const QString &name) override { m_fileName = name; }
    void command(PlayerCommand command) override;

private:
    void open();
    void play();
    void prev();
    void stop();
    void close();

    bool openDevice();
    void closeDevice();
    bool load();
    void unload();

    QString m_applicationName;
    QString m_fileName;
    QString m_openedFile; // the native name of the file "open" prepared
    std::optional<TuneStream> m_tune; // what SDL_mixer reads of it
    Mix_Music *m_music = nullptr;
    bool m_calledSdl = false;
    bool m_deviceOpen = false;
    bool m_atBeginning = false; // loaded and not played since
    bool m_paused = false;
};

} // namespace platform
