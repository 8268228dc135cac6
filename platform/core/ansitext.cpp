#include "ansitext.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace platform::ansi {

namespace {

constexpr char codePage[] = "GBK";

bool isLoneSurrogate(char32_t character)
{
    return character >= 0xD800 && character <= 0xDFFF;
}

QString fromCharacter(char32_t character)
{
    // Not QString::fromUcs4, which takes a U+FEFF for a byte-order mark and drops it: the
    // character would then not count as unencodable and vanish from the written text.
    if (QChar::requiresSurrogates(character)) {
        const QChar pair[] = {QChar(QChar::highSurrogate(character)), QChar(QChar::lowSurrogate(character))};
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(character)));
}

QList<char32_t> unencodableCharacters(const QString &text)
{
    QList<char32_t> found;
    for (const char32_t character : characters(text)) {
        if (found.contains(character))
            continue;
        bool unencodable = isLoneSurrogate(character);
        if (!unencodable) {
            QStringEncoder encoder(codePage);
            const QByteArray encoded = encoder.encode(fromCharacter(character)); // converts only when taken
            unencodable = encoder.hasError() || encoded.isEmpty();
        }
        if (unencodable)
            found << character;
    }
    return found;
}

// What Unicode marks as ignorable in display but files as letters or marks: the Hangul
// fillers, the variation selectors and a few more, which show as nothing at all.
bool isIgnorableLetterOrMark(char32_t c)
{
    return c == 0x034F || c == 0x115F || c == 0x1160 || c == 0x17B4 || c == 0x17B5 || (c >= 0x180B && c <= 0x180D)
        || c == 0x180F || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFFA0 || (c >= 0xE0100 && c <= 0xE01EF);
}

// Characters that cannot be seen, or would hide or reorder the text around them. A space other
// than the plain one shows as a gap no one can name.
bool shownAsCodePoint(char32_t character)
{
    const QChar::Category category = QChar::category(character);
    return isLoneSurrogate(character) || category == QChar::Other_Control || category == QChar::Other_Format
        || category == QChar::Separator_Line || category == QChar::Separator_Paragraph
        || category == QChar::Other_NotAssigned || category == QChar::Other_PrivateUse
        || (category == QChar::Separator_Space && character != u' ') || isIgnorableLetterOrMark(character);
}

} // namespace

QList<char32_t> characters(const QString &text)
{
    QList<char32_t> result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            result << QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        } else {
            result << c.unicode(); // a lone surrogate stays a character of its own
        }
    }
    return result;
}

Encoded encode(const QString &text)
{
    QStringEncoder encoder(codePage);
    Encoded result;
    result.bytes = encoder.encode(text);
    bool hasLoneSurrogate = false;
    for (const char32_t character : characters(text))
        hasLoneSurrogate = hasLoneSurrogate || isLoneSurrogate(character);
    if (encoder.hasError() || hasLoneSurrogate)
        result.unencodable = unencodableCharacters(text);
    return result;
}

QString decode(const QByteArray &bytes)
{
    // Making a decoder looks the code page up, which costs several times the decoding of a
    // line: a file read line by line keeps one for each thread.
    thread_local QStringDecoder decoder(codePage);
    decoder.resetState();
    QString text = decoder.decode(bytes);
    // A lead byte at the very end waits in the decoder for its second byte and would be lost
    // without a word, so "a.mid" and a stray byte would read as "a.mid". A NUL, which no
    // character continues into, makes it come out as U+FFFD like any other broken byte.
    text += decoder.decode(QByteArrayView("\0", 1));
    text.chop(1);
    return text;
}

Encoded encodeLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String(lineEnd);
    return encode(text);
}

QList<char32_t> controlCharacters(const QString &text)
{
    QList<char32_t> found;
    for (const char32_t character : characters(text)) {
        const bool control =
            character < 0x20 || (character >= 0x7F && character <= 0x9F) || character == 0x2028 || character == 0x2029;
        if (control && !found.contains(character))
            found << character;
    }
    return found;
}

QString displayCharacter(char32_t character)
{
    if (shownAsCodePoint(character))
        return QStringLiteral("U+%1").arg(uint(character), 4, 16, QLatin1Char('0')).toUpper();
    return fromCharacter(character);
}

QString displayCharacters(const QList<char32_t> &list)
{
    // Code points stand apart from each other and from their neighbours, so "U+000AU+000D"
    // does not read as one.
    QString text;
    bool previousWasCodePoint = false;
    for (const char32_t character : list) {
        const bool codePoint = shownAsCodePoint(character);
        if (!text.isEmpty() && (codePoint || previousWasCodePoint))
            text += u' ';
        text += displayCharacter(character);
        previousWasCodePoint = codePoint;
    }
    return text;
}

QString displayCharacters(const QString &text)
{
    return displayCharacters(characters(text));
}

} // namespace platform::ansi
