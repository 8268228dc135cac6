#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// What every fuzz target shares: taking parameters off the front of libFuzzer's input, text
// from raw UTF-16 so that any code unit (a lone surrogate too) can occur, a scratch file for
// the readers, and the check that turns a broken invariant into a crash libFuzzer keeps.
namespace fuzz {

class Input {
public:
    Input(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    // 0 once the input is used up, so every input is valid.
    uint8_t takeByte();
    uint16_t takeWord();
    int32_t takeInt();
    // The remaining bytes, without a copy: libFuzzer's buffer has exactly their size, so
    // AddressSanitizer sees a read past the end.
    QByteArray rest() const;
    // The remaining bytes as UTF-16 code units, little-endian; an odd last byte is dropped.
    QString restAsText() const;
    // The remaining bytes repeated up to this many times, no longer than limit: a short input
    // then makes a file large enough to cross a reader's chunks and caps.
    QByteArray restRepeated(int times, qsizetype limit) const;

private:
    const uint8_t *m_data;
    size_t m_size;
};

// Makes a fresh temporary folder and points HOME, the XDG folders and WINEPREFIX into it,
// so no target reads or writes a real user's files, and silences Qt's warnings. Call once,
// from LLVMFuzzerInitialize.
void isolate();
QString scratchFolder();

// Writes the bytes to a file in the scratch folder, replacing what it held; returns its path.
QString writeScratchFile(const QString &name, const QByteArray &bytes);

// A broken invariant: says which and aborts, so libFuzzer saves the input as a crash.
void require(bool holds, const char *invariant);

// From the call on, a single allocation of more bytes anywhere in the process (libraries too)
// is a broken invariant.
void refuseAllocationsOver(size_t limit);

// What a reader of all lines under a byte cap must have made of a file's content: no line
// holds CR or LF, a final CR LF starts no empty line, a line the cap cuts is left out, and
// nothing past the cap is used.
void requireLinesWithinCap(const QStringList &lines, const QByteArray &content, qint64 cap);

} // namespace fuzz
