// A GBK text file read line by line under a byte cap, as the tips of the day QQ.QQ are: no line
// holds a line end, a final CR LF starts no empty line, a line the cap cuts is left out and
// nothing past the cap is used.
#include "fuzzinput.h"

#include "platform/core/textfile.h"

namespace {

bool isLineEnd(char byte)
{
    return byte == '\r' || byte == '\n';
}

// Lines the bytes hold when split at CR LF, lone CR and lone LF: each line end closes one,
// and a last line without its end counts too.
qsizetype lineCount(const QByteArray &bytes)
{
    qsizetype count = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (!isLineEnd(bytes.at(i)))
            continue;
        ++count;
        if (bytes.at(i) == '\r' && i + 1 < bytes.size() && bytes.at(i + 1) == '\n')
            ++i;
    }
    return count + (!bytes.isEmpty() && !isLineEnd(bytes.back()) ? 1 : 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::isolate();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::Input input(data, size);
    const qint64 cap = input.takeWord();
    // The rest of the input repeated, to reach past the reader's 16 KiB chunks and the cap;
    // what lies further cannot matter.
    const int repeats = 1 + input.takeByte();
    const QByteArray content = input.restRepeated(repeats, cap + 16 * 1024);
    const QString file = fuzz::writeScratchFile(QStringLiteral("QQ.QQ"), content);

    const std::optional<QStringList> lines = platform::ansi::readAllLines(file, cap);
    fuzz::require(lines.has_value(), "an ordinary file can be read");

    qint64 decodedUnits = 0;
    for (const QString &line : *lines) {
        fuzz::require(!line.contains(u'\r') && !line.contains(u'\n'), "no line holds CR or LF");
        decodedUnits += line.size();
    }
    // Every line but perhaps the last was followed by at least one byte of line end, and no
    // byte decodes to more than one UTF-16 unit: more than this means bytes past the cap.
    const qint64 bytesUsed = decodedUnits + qMax<qint64>(0, lines->size() - 1);
    fuzz::require(bytesUsed <= qMin<qint64>(cap, content.size()), "nothing past the cap is read");

    // What the reader may use: all of a file within the cap, else the lines that end inside it.
    QByteArray inside = content;
    if (content.size() > cap) {
        inside.truncate(cap);
        inside.truncate(qMax(inside.lastIndexOf('\r'), inside.lastIndexOf('\n')) + 1);
    }
    fuzz::require(lines->size() == lineCount(inside),
                  "one line per line end, a final CR LF starting no empty line, a cut line left out");
    return 0;
}
