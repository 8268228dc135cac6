#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Text in the system's ANSI code page: GBK, CR LF line ends, no byte-order mark. Every file
// the programs share (skin.ini, qqq.qq, QQ.QQ) has this form; textfile.h reads and writes them.
namespace platform::ansi {

inline constexpr char lineEnd[] = "\r\n";

struct Encoded {
    QByteArray bytes;
    // The characters GBK cannot hold, each once, in the order they first occur. A lone half
    // of a surrogate pair counts: the encoder would drop it without a word. (A list, not a
    // string: in a string a lone high and a lone low half would join into another character.)
    QList<char32_t> unencodable;
    bool ok() const { return unencodable.isEmpty(); }
};

Encoded encode(const QString &text);
// Bytes that form no GBK character come out as U+FFFD, a lead byte left at the very end too.
QString decode(const QByteArray &bytes);

// Every line followed by CR LF, encoded as one piece.
Encoded encodeLines(const QStringList &lines);

// The characters that would break a one-line value apart or hide in it: C0 controls (line
// breaks, NUL, tab), DEL, C1 controls and the Unicode line and paragraph separators. Each
// once, in the order they first occur.
QList<char32_t> controlCharacters(const QString &text);

// Splits a text into its characters, a surrogate pair being one character.
QList<char32_t> characters(const QString &text);

// A character as a notice can show it: itself when it can be seen, else its code point as
// "U+000A", so a line break, a lone surrogate, a Hangul filler or a space other than the plain
// one is named rather than printed.
QString displayCharacter(char32_t character);
QString displayCharacters(const QString &text);
QString displayCharacters(const QList<char32_t> &characters);

} // namespace platform::ansi
