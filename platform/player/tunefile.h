#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

// Which files the background-music player hands to SDL_mixer, and what of them: the decoders
// trust the numbers in a file's header, so a damaged or crafted one could make them divide by
// zero or read gigabytes into memory. Qt Core only.
namespace platform {

// The kinds of tune the player plays, each told by the file's first bytes.
enum class TuneKind { Wave, OggVorbis, OggOpus, Mp3, Midi };

// A larger file is no tune anyone sets as background music: an hour and a half of CD-quality
// WAV. A MIDI file is read whole and grows tenfold as its notes are taken in; real ones stay
// far below their limit.
inline constexpr qint64 tuneSizeLimit = qint64(1) << 30;
inline constexpr qint64 midiSizeLimit = qint64(4) << 20;
// What the decoders may read while they open a tune (headers, tags, comments). The sound itself
// is read while it plays, a little at a time.
inline constexpr qint64 tuneOpeningReadLimit = qint64(32) << 20;

// What SDL_mixer reads of a tune: a header made here, where the file's own is replaced, and
// then a stretch of the file.
struct TuneStream {
    TuneKind kind = TuneKind::Midi;
    QByteArray header;
    qint64 fileOffset = 0;
    qint64 fileBytes = 0;
};

struct TuneCheck {
    std::optional<TuneStream> stream;
    QString refusal; // why the file is not played, when it is not
};

// Returns up to length bytes of the file from offset on; fewer at its end.
using ReadAt = std::function<QByteArray(qint64 offset, qint64 length)>;

// Reads what it needs of a file of this size and tells what SDL_mixer may be handed, or why
// the file is not played.
TuneCheck checkTune(qint64 fileSize, const ReadAt &read);

} // namespace platform
