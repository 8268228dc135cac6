// GBK text, both ways. Any bytes decode, to no more UTF-16 units than bytes (the line readers'
// targets count on it), and none is lost at the end. Text that encodes without complaint reads back unchanged; when it
// does not, the characters named are exactly those GBK cannot hold, lone surrogates among them. The control characters
// found are all there are, and a notice naming characters shows none that cannot be seen as itself.
#include "fuzzinput.h"

#include "platform/core/ansitext.h"

#include <QSet>

using namespace platform::ansi;

namespace {

bool isSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDFFF;
}

// Characters that leave no mark of their own or hide and reorder the text around them: the
// unassigned, private, control and format ones, separators other than the plain space, and
// what Unicode calls default-ignorable (the Hangul fillers, variation selectors and the like).
bool isInvisible(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Other_Control:
    case QChar::Other_Format:
    case QChar::Other_Surrogate:
    case QChar::Other_PrivateUse:
    case QChar::Other_NotAssigned:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    case QChar::Separator_Space:
        return c != u' ';
    default:
        break;
    }
    // Default_Ignorable_Code_Point (Unicode's DerivedCoreProperties) outside the categories above.
    return c == 0x034F || c == 0x115F || c == 0x1160 || c == 0x17B4 || c == 0x17B5 || (c >= 0x180B && c <= 0x180F)
        || c == 0x3164 || (c >= 0xFE00 && c <= 0xFE0F) || c == 0xFFA0 || (c >= 0xE0100 && c <= 0xE01EF);
}

bool isControl(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Separator_Line
        || category == QChar::Separator_Paragraph;
}

QString textOf(char32_t c)
{
    return c > 0xFFFF ? QString::fromUcs4(&c, 1) : QString(QChar(char16_t(c)));
}

void checkDecoding(const QByteArray &bytes)
{
    const QString text = decode(bytes);
    fuzz::require(text.size() <= bytes.size(), "no byte decodes to more than one UTF-16 unit");
    // A line decoded alone reads as it does within its file: no byte waits for more.
    fuzz::require(decode(bytes + "\r\n") == text + u"\r\n", "a line end after any bytes only adds itself");
}

void checkEncoding(const QString &text, const QList<char32_t> &all)
{
    const Encoded encoded = encode(text);
    if (encoded.ok()) {
        fuzz::require(decode(encoded.bytes) == text, "text that encodes without complaint reads back unchanged");
        return;
    }
    const QList<char32_t> &named = encoded.unencodable;
    const QSet<char32_t> namedSet(named.begin(), named.end());
    fuzz::require(namedSet.size() == named.size(), "each unencodable character is named once");
    for (const char32_t c : named) {
        fuzz::require(all.contains(c), "only characters of the text are named");
        fuzz::require(!encode(textOf(c)).ok(), "a named character cannot be encoded on its own either");
    }
    for (const char32_t c : all)
        fuzz::require(!isSurrogate(c) || namedSet.contains(c), "a lone surrogate is named");

    // Without the named characters the text encodes and reads back: none was left unnamed.
    QString rest;
    for (const char32_t c : all) {
        if (!namedSet.contains(c))
            rest += textOf(c);
    }
    const Encoded restEncoded = encode(rest);
    fuzz::require(restEncoded.ok() && decode(restEncoded.bytes) == rest,
                  "the text without the named characters encodes and reads back");
}

void checkControlCharacters(const QList<char32_t> &all, const QList<char32_t> &controls)
{
    const QSet<char32_t> controlSet(controls.begin(), controls.end());
    fuzz::require(controlSet.size() == controls.size(), "each control character is named once");
    for (const char32_t c : controls)
        fuzz::require(isControl(c) && all.contains(c), "only control characters of the text are named");
    for (const char32_t c : all)
        fuzz::require(!isControl(c) || controlSet.contains(c), "every control character is named");
}

void checkDisplay(const QList<char32_t> &all, const QString &shown)
{
    for (const char32_t c : all) {
        const QString one = displayCharacter(c);
        if (isInvisible(c)) {
            fuzz::require(one == QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper(),
                          "a character that cannot be seen is shown by its code point");
        } else {
            fuzz::require(one == textOf(c), "a character that can be seen is shown as itself");
        }
    }
    for (const char32_t c : characters(shown))
        fuzz::require(!isInvisible(c), "the characters shown hold none that cannot be seen");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const fuzz::Input input(data, size);
    checkDecoding(input.rest());

    const QString text = input.restAsText();
    const QList<char32_t> all = characters(text);
    checkEncoding(text, all);
    const QList<char32_t> controls = controlCharacters(text);
    checkControlCharacters(all, controls);
    checkDisplay(all, displayCharacters(text));
    checkDisplay(controls, displayCharacters(controls));
    return 0;
}
