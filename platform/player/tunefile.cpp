#include "tunefile.h"

#include <QtEndian>

#include <algorithm>

namespace platform {

namespace {

// SDL converts every tune to the device's format. With no channels or no samples a second it
// divides by zero; it keeps the channel count in 8 bits and mixes at most 8; its resampler's
// buffers grow with the ratio between the rates.
constexpr int mostChannels = 8;
constexpr quint32 lowestRate = 1000;
constexpr quint32 highestRate = 384000;
// A WAV file's parts follow one another, each with its size; real files have a handful.
constexpr int mostWaveChunks = 1000;

quint16 le16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 le32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

quint16 be16(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

QByteArray asLe32(qint64 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(quint32(qMin<qint64>(value, 0xffffffff)), bytes.data());
    return bytes;
}

TuneCheck refuse(const QString &why)
{
    return {std::nullopt, why};
}

TuneCheck whole(TuneKind kind, qint64 fileSize)
{
    return {TuneStream{kind, {}, 0, fileSize}, {}};
}

QString soundProblem(int channels, quint32 rate)
{
    if (channels < 1 || channels > mostChannels || rate < lowestRate || rate > highestRate)
        return QStringLiteral("%1 channels at %2 samples a second").arg(channels).arg(rate);
    return {};
}

// The encodings and sample sizes SDL_mixer's WAV reader decodes.
bool decodable(quint16 encoding, quint16 bits)
{
    switch (encoding) {
    case 1: // integers
        return bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case 3: // floating point
        return bits == 32 || bits == 64;
    case 6: // A-law
    case 7: // mu-law
        return bits == 8;
    }
    return false;
}

QString waveFormatProblem(const QByteArray &format)
{
    quint16 encoding = le16(format, 0);
    if (encoding == 0xfffe) // extensible: the real encoding follows the extension
        encoding = format.size() >= 40 ? le16(format, 24) : 0;
    if (!decodable(encoding, le16(format, 14)))
        return QStringLiteral("WAV encoding %1 of %2 bits").arg(encoding).arg(le16(format, 14));
    if (le16(format, 12) == 0)
        return QStringLiteral("WAV without a block size");
    return soundProblem(le16(format, 2), le32(format, 4));
}

bool looksLikeChunkName(const QByteArray &name)
{
    return name.size() == 4 && std::all_of(name.cbegin(), name.cend(), [](char c) { return c >= ' ' && c <= '~'; });
}

// SDL_mixer's WAV reader reads every LIST, smpl and id3 chunk whole into memory, however large
// the file says it is, and reads past what it allocated when the chunk's inside lies. It is
// handed a header made here instead, with the format and the sound's place, so it reads
// nothing else.
TuneCheck checkWave(qint64 fileSize, const ReadAt &read)
{
    QByteArray format;
    qint64 soundAt = -1;
    qint64 soundBytes = 0;
    qint64 at = 12;
    for (int chunk = 0; chunk < mostWaveChunks && (format.isEmpty() || soundAt < 0); ++chunk) {
        const QByteArray head = read(at, 8);
        if (head.size() < 8)
            break;
        const qint64 size = le32(head, 4);
        const qint64 body = at + 8;
        if (head.startsWith("fmt ")) {
            // SDL reads the extended format's 40 bytes where the chunk holds them, else 16.
            const qint64 kept = size >= 40 ? 40 : 16;
            format = size >= 16 ? read(body, kept) : QByteArray();
            if (format.size() < kept)
                return refuse(QStringLiteral("WAV format cut short"));
            if (const QString problem = waveFormatProblem(format); !problem.isEmpty())
                return refuse(problem);
        } else if (head.startsWith("data")) {
            soundAt = body;
            soundBytes = qMin(size, fileSize - body);
        }
        at = body + size;
        // Chunks of an odd size are followed by a padding byte, though some writers leave it out.
        if (size % 2 == 1 && !looksLikeChunkName(read(at + 1, 4)) && looksLikeChunkName(read(at, 4)))
            continue;
        at += size % 2;
    }
    if (format.isEmpty() || soundBytes <= 0)
        return refuse(QStringLiteral("WAV without a format or without sound"));
    const QByteArray header = "RIFF" + asLe32(4 + 8 + format.size() + 8 + soundBytes) + "WAVEfmt "
        + asLe32(format.size()) + format + "data" + asLe32(soundBytes);
    return {TuneStream{TuneKind::Wave, header, soundAt, soundBytes}, {}};
}

// The first page of an Ogg stream holds the first packet alone: the codec's identification.
TuneCheck checkOgg(qint64 fileSize, const ReadAt &read)
{
    const QByteArray page = read(0, 27 + 255);
    if (page.size() < 27 || !(page.at(5) & 0x02) || page.size() < 27 + uchar(page.at(26)))
        return refuse(QStringLiteral("Ogg stream without its first page"));
    const int segments = uchar(page.at(26));
    const QByteArray packet = read(27 + segments, 16);
    if (packet.startsWith("\x01vorbis") && packet.size() >= 16) {
        if (const QString problem = soundProblem(uchar(packet.at(11)), le32(packet, 12)); !problem.isEmpty())
            return refuse(problem);
        return whole(TuneKind::OggVorbis, fileSize);
    }
    if (packet.startsWith("OpusHead") && packet.size() >= 10) {
        if (const QString problem = soundProblem(uchar(packet.at(9)), 48000); !problem.isEmpty())
            return refuse(problem);
        return whole(TuneKind::OggOpus, fileSize);
    }
    return refuse(QStringLiteral("Ogg stream of neither Vorbis nor Opus"));
}

TuneCheck checkMidi(qint64 fileSize, const QByteArray &start)
{
    if (fileSize > midiSizeLimit)
        return refuse(QStringLiteral("MIDI file over %1 bytes").arg(midiSizeLimit));
    // Header length, format, track count and ticks a quarter note.
    if (start.size() < 14 || qFromBigEndian<quint32>(start.constData() + 4) < 6 || be16(start, 8) > 2
        || be16(start, 10) == 0 || be16(start, 12) == 0)
        return refuse(QStringLiteral("MIDI header out of bounds"));
    return whole(TuneKind::Midi, fileSize);
}

// SDL_mixer and mpg123 each read an ID3 tag at the start whole, at the size it claims.
TuneCheck checkMp3(qint64 fileSize, const QByteArray &start)
{
    if (start.startsWith("ID3")) {
        qint64 tagBytes = 10;
        for (int at = 6; at < 10; ++at) {
            if (uchar(start.at(at)) & 0x80)
                return refuse(QStringLiteral("ID3 tag of unreadable size"));
            tagBytes += qint64(uchar(start.at(at))) << (7 * (9 - at));
        }
        if (tagBytes > fileSize || tagBytes > tuneOpeningReadLimit)
            return refuse(QStringLiteral("ID3 tag of %1 bytes").arg(tagBytes));
    }
    return whole(TuneKind::Mp3, fileSize);
}

} // namespace

TuneCheck checkTune(qint64 fileSize, const ReadAt &read)
{
    if (fileSize > tuneSizeLimit)
        return refuse(QStringLiteral("larger than %1 bytes").arg(tuneSizeLimit));
    // The kind is told as SDL_mixer tells it, from the first 12 bytes.
    const QByteArray start = read(0, 14);
    if (start.size() < 12)
        return refuse(QStringLiteral("shorter than 12 bytes"));
    if (start.startsWith("RIFF") && start.mid(8, 4) == "WAVE")
        return checkWave(fileSize, read);
    if (start.startsWith("OggS"))
        return checkOgg(fileSize, read);
    if (start.startsWith("MThd"))
        return checkMidi(fileSize, start);
    if (start.startsWith("ID3") || (uchar(start.at(0)) == 0xff && (uchar(start.at(1)) & 0xe6) == 0xe2))
        return checkMp3(fileSize, start);
    // AIFF and FLAC among them: SDL_mixer reads their headers as carelessly as WAV's, and the
    // programs offer MIDI, MP3, WAV and Ogg.
    return refuse(QStringLiteral("no kind of tune played here"));
}

} // namespace platform
