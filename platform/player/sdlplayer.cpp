#include "sdlplayer.h"

#include "soundlibraries.h"
#include "tuneloader.h"

#include "platform/core/winpath.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <SDL.h>
#include <SDL_mixer.h>

#include <mutex>

namespace platform {

namespace {

// SDL_mixer has one music channel per process, for the player that opened the device.
std::mutex deviceMutex;
bool deviceInUse = false;

// Room for about 46 ms of sound: enough against gaps on a busy machine, and "stop" is
// still heard at once.
constexpr int deviceBufferFrames = 2048;

// General MIDI soundfonts, the best first: the system's default set (Debian chooses it
// through its alternatives; an uncompressed one loads fastest), then TimGM6mb.
const char *const systemSoundFonts[] = {
    "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf3/default-GM.sf3",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",
};

bool isFile(const QByteArray &path)
{
    return QFileInfo(QFile::decodeName(path)).isFile();
}

// The soundfonts for MIDI tunes: the user's SDL_SOUNDFONTS when any of its files exists,
// else the system's. Only existing files are named, because FluidSynth loads every one.
QByteArray soundFonts()
{
    QByteArray userList = qgetenv("SDL_SOUNDFONTS");
#ifndef Q_OS_WIN
    userList.replace(':', ';'); // SDL_mixer takes both as separators here
#endif
    QByteArrayList chosen;
    for (const QByteArray &path : userList.split(';')) {
        if (!path.isEmpty() && isFile(path))
            chosen << path;
    }
    if (!chosen.isEmpty())
        return chosen.join(';');
    for (const char *font : systemSoundFonts) {
        if (isFile(font))
            return font;
    }
    return {};
}

} // namespace

SdlPlayer::SdlPlayer(QString applicationName) : m_applicationName(std::move(applicationName))
{
    prepareSoundLibraries();
}

SdlPlayer::~SdlPlayer()
{
    close();
    // SDL keeps an error buffer for each thread that called it, and frees it by itself
    // only on threads it started.
    if (m_calledSdl)
        SDL_TLSCleanup();
}

void SdlPlayer::command(PlayerCommand command)
{
    switch (command) {
    case PlayerCommand::Open:
        return open();
    case PlayerCommand::Play:
        return play();
    case PlayerCommand::Prev:
        return prev();
    case PlayerCommand::Stop:
        return stop();
    case PlayerCommand::Close:
        return close();
    }
}

void SdlPlayer::open()
{
    close();
    const QString path = nativePath(m_fileName);
    // Checked first, so that a wrong name or a file that is no tune never touches the sound
    // system.
    m_tune = examineTune(path);
    if (!m_tune || !openDevice())
        return;
    m_openedFile = path;
    if (!load())
        close();
}

void SdlPlayer::play()
{
    if (!m_music)
        return;
    if (m_paused) {
        Mix_ResumeMusic();
        m_paused = false;
    }
    if (Mix_PlayingMusic())
        return;
    // Played to its end: "play" starts it again.
    if (!m_atBeginning) {
        unload();
        if (!load())
            return;
    }
    if (Mix_PlayMusic(m_music, 0) == 0) {
        m_atBeginning = false;
        qCDebug(playerLog) << "playing" << m_openedFile;
    } else {
        qCDebug(playerLog) << "cannot play" << m_openedFile << Mix_GetError();
    }
}

void SdlPlayer::prev()
{
    if (!m_music || m_atBeginning)
        return;
    // A MIDI cannot be rewound, and halting it and playing again goes on mid-tune, so the
    // way back to the beginning is to load the tune afresh.
    unload();
    load();
}

void SdlPlayer::stop()
{
    if (!m_music || m_paused || !Mix_PlayingMusic())
        return;
    // Paused rather than halted, so that "play" goes on where the tune stopped.
    Mix_PauseMusic();
    m_paused = true;
}

void SdlPlayer::close()
{
    unload();
    closeDevice();
}

bool SdlPlayer::openDevice()
{
    {
        const std::lock_guard lock(deviceMutex);
        if (deviceInUse)
            return false;
        deviceInUse = true;
    }
    m_calledSdl = true;
    // SDL would turn SIGINT and SIGTERM into quit events that nobody here reads, and the
    // program would no longer end when the system asks it to. Over any environment value.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    // The name the desktop's sound settings show for our stream.
    if (!m_applicationName.isEmpty())
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, m_applicationName.toUtf8().constData());

    bool opened = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (opened) {
        // Debian's SDL_mixer names its own default soundfont at every opening of the device
        // unless one is set, and that default would win over SDL_SOUNDFONTS.
        const QByteArray fonts = soundFonts();
        Mix_SetSoundFonts(fonts.isEmpty() ? nullptr : fonts.constData());
        opened = Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, deviceBufferFrames) == 0;
        if (!opened)
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    if (!opened) {
        qCDebug(playerLog) << "cannot open" << m_fileName << "- no sound device:" << SDL_GetError();
        const std::lock_guard lock(deviceMutex);
        deviceInUse = false;
        return false;
    }
    m_deviceOpen = true;
    return true;
}

void SdlPlayer::closeDevice()
{
    if (!m_deviceOpen)
        return;
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    m_deviceOpen = false;
    const std::lock_guard lock(deviceMutex);
    deviceInUse = false;
}

bool SdlPlayer::load()
{
    m_music = loadTune(m_openedFile, *m_tune);
    m_atBeginning = true;
    m_paused = false;
    return m_music;
}

void SdlPlayer::unload()
{
    if (m_music) {
        Mix_FreeMusic(m_music);
        m_music = nullptr;
    }
    m_paused = false;
}

} // namespace platform
