#include "tuneloader.h"

#include "soundlibraries.h"

#include <QFile>
#include <QFileInfo>

#include <SDL_mixer.h>

#include <cstring>
#include <limits>
#include <memory>

namespace platform {

namespace {

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

// The source is shared with loadTune(), which ends its opening once SDL_mixer has the tune:
// FluidSynth closes the SDL stream as soon as it has read the file.
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

std::optional<TuneStream> examineTune(const QString &path)
{
    // Only an ordinary file: a pipe or a device would hold the player's thread.
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

Mix_Music *loadTune(const QString &path, const TuneStream &stream)
{
    // The kind of tune comes from the file's content, not its name: the setter program
    // stores whatever path the user typed.
    const auto source = std::make_shared<TuneSource>();
    source->stream = stream;
    source->file.setFileName(path);
    SDL_RWops *input = source->file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? openStream(source) : nullptr;
    Mix_Music *music = input ? Mix_LoadMUSType_RW(input, musicType(stream.kind), SDL_TRUE) : nullptr;
    if (music)
        source->opening = false;
    else
        qCDebug(playerLog) << "cannot play" << path << Mix_GetError();
    return music;
}

} // namespace platform
