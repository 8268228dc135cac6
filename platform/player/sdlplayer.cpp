#include "sdlplayer.h"

#include "soundlibraries.h"

#include "platform/core/winpath.h"

#include <QByteArrayList>
#include <QFile>
#include <QFileInfo>

#include <SDL.h>

#include <cstring>
#include <limits>
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

// What SDL_mixer may read of the file, or nothing, with the reason in the log. Only an
// ordinary file: a pipe or a device would hold the player's thread.
std::optional<TuneStream> examine(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        qCDebug(playerLog) << "cannot open" << path << "- no such file, or not readable";
        return std::nullopt;
    }
    const TuneCheck check = checkTune(file.size(), [&file](qint64 offset, qint64 length) {
        return file.seek(offset) ? file.read(length) : QByteArray();
    });
    if (!check.stream)
        qCDebug(playerLog) << "cannot open" << path << "-" << qUtf8Printable(check.refusal);
    return check.stream;
}

// The bytes of a TuneStream as SDL_mixer reads them. While the tune is being opened, at most
// tuneOpeningReadLimit of them are handed out; past that the file seems to end, and the decoder
// gives up instead of reading a claimed gigabyte of tags into memory.
struct TuneSource {
    TuneStream stream;
    QFile file;
    qint64 position = 0;
    qint64 openingBudget = tuneOpeningReadLimit;
    bool opening = true;

    qint64 size() const { return stream.header.size() + stream.fileBytes; }

    qint64 read(char *into, qint64 wanted)
    {
        wanted = qMax<qint64>(0, qMin(wanted, size() - position));
        if (opening)
            wanted = qMin(wanted, openingBudget);
        const qint64 headerSize = stream.header.size();
        qint64 done = qBound<qint64>(0, headerSize - position, wanted);
        if (done > 0)
            std::memcpy(into, stream.header.constData() + position, size_t(done));
        if (done < wanted && file.seek(stream.fileOffset + position + done - headerSize))
            done += qMax<qint64>(0, file.read(into + done, wanted - done));
        position += done;
        if (opening)
            openingBudget -= done;
        return done;
    }
};

// The source is shared with the player, which ends its opening; FluidSynth closes the SDL
// stream as soon as it has read the file.
std::shared_ptr<TuneSource> &sourceOf(SDL_RWops *stream)
{
    return *static_cast<std::shared_ptr<TuneSource> *>(stream->hidden.unknown.data1);
}

SDL_RWops *openStream(const std::shared_ptr<TuneSource> &source)
{
    SDL_RWops *stream = SDL_AllocRW();
    if (!stream)
        return nullptr;
    stream->type = SDL_RWOPS_UNKNOWN;
    stream->hidden.unknown.data1 = new std::shared_ptr<TuneSource>(source);
    stream->size = [](SDL_RWops *self) -> Sint64 { return sourceOf(self)->size(); };
    stream->seek = [](SDL_RWops *self, Sint64 offset, int whence) -> Sint64 {
        TuneSource &tune = *sourceOf(self);
        const Sint64 base = whence == RW_SEEK_SET ? 0 : whence == RW_SEEK_CUR ? tune.position : tune.size();
        if (offset < -base || offset > std::numeric_limits<Sint64>::max() - base)
            return SDL_SetError("seek out of the tune");
        tune.position = base + offset;
        return tune.position;
    };
    stream->read = [](SDL_RWops *self, void *into, size_t size, size_t count) -> size_t {
        if (size == 0 || count > size_t(std::numeric_limits<qint64>::max()) / size)
            return 0;
        return size_t(sourceOf(self)->read(static_cast<char *>(into), qint64(size * count))) / size;
    };
    stream->write = [](SDL_RWops *, const void *, size_t, size_t) -> size_t { return 0; };
    stream->close = [](SDL_RWops *self) -> int {
        delete &sourceOf(self);
        SDL_FreeRW(self);
        return 0;
    };
    return stream;
}

Mix_MusicType musicType(TuneKind kind)
{
    switch (kind) {
    case TuneKind::Wave:
        return MUS_WAV;
    case TuneKind::OggVorbis:
        return MUS_OGG;
    case TuneKind::OggOpus:
        return MUS_OPUS;
    case TuneKind::Mp3:
        return MUS_MP3;
    case TuneKind::Midi:
        break;
    }
    return MUS_MID;
}

} // namespace

SdlPlayer::SdlPlayer(QString applicationName)
    : m_applicationName(std::move(applicationName))
{
}

SdlPlayer::~SdlPlayer()
{
    close();
    // SDL keeps an error buffer for each thread that called it, and frees it by itself
    // only on threads it started.
    if (m_calledSdl)
        SDL_TLSCleanup();
}

void SdlPlayer::command(const QString &command)
{
    const QString name = command.toLower();
    if (name == u"open")
        open();
    else if (name == u"play")
        play();
    else if (name == u"prev")
        prev();
    else if (name == u"stop")
        stop();
    else if (name == u"close")
        close();
}

void SdlPlayer::open()
{
    close();
    const QString path = nativePath(m_fileName);
    // Checked first, so that a wrong name or a file that is no tune never touches the sound
    // system.
    m_tune = examine(path);
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
    prepareSoundLibraries();
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
    // The kind of tune comes from the file's content, not its name: the setter program
    // stores whatever path the user typed.
    const auto source = std::make_shared<TuneSource>();
    source->stream = *m_tune;
    source->file.setFileName(m_openedFile);
    SDL_RWops *stream = source->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? openStream(source) : nullptr;
    m_music = stream ? Mix_LoadMUSType_RW(stream, musicType(m_tune->kind), SDL_TRUE) : nullptr;
    if (m_music)
        source->opening = false;
    else
        qCDebug(playerLog) << "cannot play" << m_openedFile << Mix_GetError();
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
